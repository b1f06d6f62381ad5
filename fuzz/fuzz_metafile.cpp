// Feeds arbitrary bytes to the picture loader as an image record's data
// reaches it: the metafile converters (libwmf, libemf2svg) behind the
// format sniffing, and the GIF frame count of animations. None may crash,
// hang, leak or read outside the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "document/aehpicture.h"
#include "document/imagecodec.h"
#include "document/metafile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (const auto svg = tarn::document::MetafileToSvg(bytes); svg && svg->empty()) std::abort();
  tarn::document::TAEHpicture picture;
  if (picture.LoadFromBytes(bytes) && picture.FrameCount() < 1) std::abort();
  (void)tarn::document::CountGifFrames(bytes, 1000);
  return 0;
}
