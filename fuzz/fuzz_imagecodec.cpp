// Feeds arbitrary bytes to every picture decoder. None may crash, hang, leak
// or read outside the input whatever the bytes claim; and whatever decodes
// must survive being written back out and read again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "document/imagecodec.h"

namespace {

using tarn::base::Bitmap;
namespace doc = tarn::document;

// Re-encoding is the slow part; small pictures find the same faults.
constexpr std::size_t kMaxReencodedPixels = 128 * 128;

void CheckReencoding(const Bitmap& bitmap) {
  if (bitmap.Empty() || bitmap.pixels.size() != static_cast<std::size_t>(bitmap.width) * bitmap.height) {
    std::abort();  // A decoder handed out an inconsistent bitmap.
  }
  if (bitmap.pixels.size() > kMaxReencodedPixels) return;

  const auto bmp = doc::DecodeBmp(doc::EncodeBmp(bitmap));
  if (!bmp || bmp->width != bitmap.width || bmp->height != bitmap.height) std::abort();
  const auto gif = doc::EncodeGif(bitmap);
  if (!gif) std::abort();
  const auto again = doc::DecodeGif(*gif);
  if (!again || again->width != bitmap.width || again->height != bitmap.height) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  doc::SniffImageFormat(bytes);
  doc::MetafileSize(bytes);
  for (auto decode : {doc::DecodeGif, doc::DecodeJpeg, doc::DecodeBmp, doc::DecodePng}) {
    if (const auto bitmap = decode(bytes)) CheckReencoding(*bitmap);
  }
  return 0;
}
