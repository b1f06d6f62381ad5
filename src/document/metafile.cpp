// Metafiles to SVG; see metafile.h.
#include "document/metafile.h"

#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/svg.h>

#include <cstdint>
#include <cstdlib>
#include <memory>

#include "document/imagecodec.h"

namespace tarn::document {
namespace {

// The converters scribble into their input (libwmf wants a writable
// buffer); they get a copy.
std::string WritableCopy(std::string_view bytes) { return std::string(bytes); }

struct WmfApiDeleter {
  void operator()(wmfAPI* api) const { wmf_api_destroy(api); }
};
using WmfApi = std::unique_ptr<wmfAPI, WmfApiDeleter>;

constexpr std::size_t kPlaceableHeaderBytes = 22;
constexpr std::size_t kWmfHeaderBytes = 18;
constexpr std::size_t kWmfHeaderWordsAt = 2;
constexpr std::size_t kWmfLargestRecordAt = 12;
constexpr std::uint16_t kWmfHeaderWords = 9;
constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7u;

std::uint32_t Le(std::string_view bytes, std::size_t at, std::size_t size) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < size; ++i) {
    value |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at + i])) << (8 * i);
  }
  return value;
}

// The library sizes its record buffer by the largest record the header
// claims, without looking at the file: a header claiming more than the file
// holds would have it allocate gigabytes for a few bytes.
bool PlausibleWmf(std::string_view bytes) {
  std::size_t header = 0;
  if (bytes.size() >= 4 && Le(bytes, 0, 4) == kPlaceableKey) header = kPlaceableHeaderBytes;
  if (bytes.size() < header + kWmfHeaderBytes) return false;
  if (Le(bytes, header + kWmfHeaderWordsAt, 2) != kWmfHeaderWords) return false;
  const std::uint64_t largest = Le(bytes, header + kWmfLargestRecordAt, 4);
  return largest >= 3 && largest * 2 <= bytes.size() - header;
}

struct MallocDeleter {
  void operator()(char* p) const { std::free(p); }
};

}  // namespace

std::optional<std::string> WmfToSvg(std::string_view bytes) {
  if (bytes.empty() || bytes.size() > kMaxMetafileBytes || !PlausibleWmf(bytes)) return std::nullopt;
  wmfAPI_Options options{};
  options.function = wmf_svg_function;
  const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
  wmfAPI* raw = nullptr;
  if (wmf_api_create(&raw, flags, &options) != wmf_E_None) {
    if (raw != nullptr) wmf_api_destroy(raw);
    return std::nullopt;
  }
  WmfApi api(raw);
  std::string input = WritableCopy(bytes);
  if (wmf_mem_open(api.get(), reinterpret_cast<unsigned char*>(input.data()), static_cast<long>(input.size())) !=
      wmf_E_None) {
    return std::nullopt;
  }
  wmfD_Rect bounds{};
  if (wmf_scan(api.get(), 0, &bounds) != wmf_E_None) return std::nullopt;
  // A drawing with no extent has nothing to show.
  if (!(bounds.BR.x > bounds.TL.x) || !(bounds.BR.y > bounds.TL.y)) return std::nullopt;
  unsigned int width = 0;
  unsigned int height = 0;
  if (wmf_display_size(api.get(), &width, &height, 96, 96) != wmf_E_None || width == 0 || height == 0) {
    return std::nullopt;
  }
  wmf_svg_t* device = WMF_SVG_GetData(api.get());
  device->out = wmf_stream_create(api.get(), nullptr);
  if (device->out == nullptr) return std::nullopt;
  device->Description = const_cast<char*>("Tarn");
  device->bbox = bounds;
  device->width = width;
  device->height = height;
  const bool played = wmf_play(api.get(), 0, &bounds) == wmf_E_None;
  char* memory = nullptr;
  unsigned long length = 0;
  wmf_stream_destroy(api.get(), device->out, &memory, &length);
  device->out = nullptr;
  // The memory belongs to the library's allocator and goes with the API.
  std::string svg = memory != nullptr && length > 0 ? std::string(memory, length) : std::string();
  if (!played || svg.empty()) return std::nullopt;
  return svg;
}

std::optional<std::string> EmfToSvg(std::string_view bytes) {
  if (bytes.empty() || bytes.size() > kMaxMetafileBytes) return std::nullopt;
  std::string input = WritableCopy(bytes);
  generatorOptions options{};
  options.nameSpace = const_cast<char*>("");
  options.verbose = false;
  options.emfplus = true;
  options.svgDelimiter = true;
  options.imgWidth = 0;
  options.imgHeight = 0;
  char* out = nullptr;
  std::size_t length = 0;
  const int ok = emf2svg(input.data(), input.size(), &out, &length, &options);
  std::unique_ptr<char, MallocDeleter> owned(out);
  if (ok == 0 || out == nullptr || length == 0) return std::nullopt;
  return std::string(out, length);
}

std::optional<std::string> MetafileToSvg(std::string_view bytes) {
  switch (SniffImageFormat(bytes)) {
    case ImageFormat::Wmf: return WmfToSvg(bytes);
    case ImageFormat::Emf: return EmfToSvg(bytes);
    default: return std::nullopt;
  }
}

}  // namespace tarn::document
