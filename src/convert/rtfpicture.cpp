// Metafiles and bitmaps in RTF; see rtfpicture.h.
#include "convert/rtfpicture.h"

#include <algorithm>
#include <cstdlib>
#include <cstdint>
#include <limits>
#include <vector>

#include "document/imagecodec.h"

namespace tarn::convert {
namespace {

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::uint16_t kInch = 96;
constexpr std::size_t kWmfHeaderSize = 18;
constexpr std::size_t kRecordHeaderSize = 6;
constexpr std::uint16_t kMetaEof = 0x0000;
constexpr std::uint16_t kMetaSetWindowOrg = 0x020B;
constexpr std::uint16_t kMetaSetWindowExt = 0x020C;
constexpr std::uint16_t kMetaStretchDib = 0x0F43;
constexpr std::uint16_t kMetaDibStretchBlt = 0x0B41;
constexpr std::uint16_t kMetaDibBitBlt = 0x0940;
constexpr std::uint16_t kMetaSetDibToDev = 0x0D33;
constexpr std::uint32_t kSrcCopy = 0x00CC0020;
constexpr std::size_t kBmpFileHeaderSize = 14;
// A picture's pixels in proportion to its data: compressed data may stand
// for many pixels (a plain background), but a few bytes that claim a huge
// picture are not decoded.
constexpr std::int64_t kPixelsPerByte = 1000;
constexpr std::int64_t kFewestPixels = std::int64_t{1} << 20;
constexpr std::int64_t kMostPixels = std::int64_t{16} << 20;

std::uint16_t U16(std::string_view b, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8));
}
std::uint32_t U32(std::string_view b, std::size_t at) {
  return static_cast<std::uint32_t>(U16(b, at)) | (static_cast<std::uint32_t>(U16(b, at + 2)) << 16);
}
void Put16(std::string& out, std::uint32_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::string& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
std::uint16_t Clamp16(int v) { return static_cast<std::uint16_t>(std::clamp(v, 0, 0x7FFF)); }

std::int64_t PixelBound(std::size_t dataBytes) {
  return std::clamp(static_cast<std::int64_t>(dataBytes) * kPixelsPerByte, kFewestPixels, kMostPixels);
}

}  // namespace

std::string PlaceableWmfHeader(int widthPixels, int heightPixels) {
  std::string out;
  Put32(out, kPlaceableKey);
  Put16(out, 0);  // handle
  Put16(out, 0);  // left
  Put16(out, 0);  // top
  Put16(out, Clamp16(widthPixels));
  Put16(out, Clamp16(heightPixels));
  Put16(out, kInch);
  Put32(out, 0);  // reserved
  // The checksum is the exclusive or of the ten words before it.
  std::uint16_t sum = 0;
  for (std::size_t i = 0; i < 20; i += 2) sum ^= U16(out, i);
  Put16(out, sum);
  return out;
}

std::optional<base::Bitmap> DecodeDib(std::string_view dib) {
  if (dib.size() < 12) return std::nullopt;
  const std::uint32_t headerSize = U32(dib, 0);
  if (headerSize < 12 || headerSize > dib.size()) return std::nullopt;
  std::uint64_t paletteBytes = 0;
  // The size the header claims, before anything is made of that size.
  const std::int64_t width = headerSize == 12 ? U16(dib, 4) : static_cast<std::int32_t>(U32(dib, 4));
  const std::int64_t height = headerSize == 12 ? U16(dib, 6) : static_cast<std::int32_t>(U32(dib, 8));
  if (std::abs(width) * std::abs(height) > PixelBound(dib.size())) return std::nullopt;
  if (headerSize == 12) {
    const std::uint16_t bits = U16(dib, 10);
    if (bits <= 8) paletteBytes = (std::uint64_t{1} << bits) * 3;
  } else if (headerSize >= 40 && dib.size() >= 40) {
    const std::uint16_t bits = U16(dib, 14);
    const std::uint32_t compression = U32(dib, 16);
    const std::uint32_t used = U32(dib, 32);
    if (used != 0) paletteBytes = std::uint64_t{used} * 4;
    else if (bits <= 8) paletteBytes = (std::uint64_t{1} << bits) * 4;
    // Three colour masks follow a 40-byte header of a bit-field bitmap.
    if (headerSize == 40 && compression == 3) paletteBytes += 12;
  } else {
    return std::nullopt;
  }
  const std::uint64_t offset = kBmpFileHeaderSize + headerSize + paletteBytes;
  if (offset > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
  std::string file = "BM";
  Put32(file, static_cast<std::uint32_t>(std::min<std::uint64_t>(kBmpFileHeaderSize + dib.size(), 0xFFFFFFFFu)));
  Put32(file, 0);
  Put32(file, static_cast<std::uint32_t>(offset));
  file += dib;
  return document::DecodeBmp(file);
}

std::optional<base::Bitmap> BitmapInMetafile(std::string_view wmf) {
  if (wmf.size() >= 4 && U32(wmf, 0) == kPlaceableKey) {
    if (wmf.size() < static_cast<std::size_t>(kPlaceableHeaderSize)) return std::nullopt;
    wmf.remove_prefix(kPlaceableHeaderSize);
  }
  if (wmf.size() < kWmfHeaderSize) return std::nullopt;
  std::size_t pos = static_cast<std::size_t>(U16(wmf, 2)) * 2;  // the header's size in words
  if (pos < kWmfHeaderSize) pos = kWmfHeaderSize;
  while (pos + kRecordHeaderSize <= wmf.size()) {
    const std::uint64_t words = U32(wmf, pos);
    const std::uint16_t function = U16(wmf, pos + 4);
    if (words < 3 || function == kMetaEof) break;
    const std::uint64_t bytes = words * 2;
    if (bytes > wmf.size() - pos) break;
    const std::string_view record = wmf.substr(pos, static_cast<std::size_t>(bytes));
    std::size_t dibAt = 0;
    switch (function) {
      case kMetaStretchDib: dibAt = kRecordHeaderSize + 22; break;
      case kMetaDibStretchBlt: dibAt = kRecordHeaderSize + 20; break;
      case kMetaDibBitBlt: dibAt = kRecordHeaderSize + 16; break;
      case kMetaSetDibToDev: dibAt = kRecordHeaderSize + 18; break;
      default: break;
    }
    if (dibAt != 0 && record.size() > dibAt) {
      if (auto bitmap = DecodeDib(record.substr(dibAt))) return bitmap;
    }
    pos += static_cast<std::size_t>(bytes);
  }
  return std::nullopt;
}

std::string MetafileOfBitmap(const base::Bitmap& bitmap) {
  std::string dib = document::EncodeBmp(bitmap);
  if (dib.size() <= kBmpFileHeaderSize) return {};
  dib.erase(0, kBmpFileHeaderSize);
  if (dib.size() % 2 != 0) dib.push_back('\0');
  const auto w = Clamp16(bitmap.width);
  const auto h = Clamp16(bitmap.height);

  std::string records;
  auto record = [&records](std::uint16_t function, std::initializer_list<std::uint16_t> params) {
    Put32(records, static_cast<std::uint32_t>(3 + params.size()));
    Put16(records, function);
    for (std::uint16_t p : params) Put16(records, p);
  };
  record(kMetaSetWindowOrg, {0, 0});
  record(kMetaSetWindowExt, {h, w});
  const std::uint32_t stretchWords = static_cast<std::uint32_t>((kRecordHeaderSize + 22 + dib.size()) / 2);
  Put32(records, stretchWords);
  Put16(records, kMetaStretchDib);
  Put32(records, kSrcCopy);
  for (std::uint16_t p : {std::uint16_t{0}, h, w, std::uint16_t{0}, std::uint16_t{0}, h, w, std::uint16_t{0},
                          std::uint16_t{0}}) {
    Put16(records, p);  // colour use, source size and origin, target size and origin
  }
  records += dib;
  record(kMetaEof, {});

  std::string out;
  Put16(out, 1);       // in memory
  Put16(out, 9);       // header words
  Put16(out, 0x0300);  // version
  Put32(out, static_cast<std::uint32_t>((kWmfHeaderSize + records.size()) / 2));
  Put16(out, 0);       // objects
  Put32(out, stretchWords);
  Put16(out, 0);
  return out + records;
}

std::optional<std::pair<int, int>> JpegSize(std::string_view bytes) {
  auto byte = [&bytes](std::size_t at) { return static_cast<unsigned char>(bytes[at]); };
  if (bytes.size() < 4 || byte(0) != 0xFF || byte(1) != 0xD8) return std::nullopt;
  std::size_t pos = 2;
  while (pos + 4 <= bytes.size()) {
    if (byte(pos) != 0xFF) return std::nullopt;
    const unsigned char marker = byte(pos + 1);
    if (marker == 0xFF) {  // fill bytes
      ++pos;
      continue;
    }
    const std::size_t length = (static_cast<std::size_t>(byte(pos + 2)) << 8) | byte(pos + 3);
    const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame) {
      if (pos + 9 > bytes.size()) return std::nullopt;
      const int height = (byte(pos + 5) << 8) | byte(pos + 6);
      const int width = (byte(pos + 7) << 8) | byte(pos + 8);
      if (width <= 0 || height <= 0) return std::nullopt;
      return std::pair<int, int>{width, height};
    }
    if (length < 2) return std::nullopt;
    pos += 2 + length;
  }
  return std::nullopt;
}

bool PlausiblePicture(int width, int height, std::size_t dataBytes) {
  return width > 0 && height > 0 && static_cast<std::int64_t>(width) * height <= PixelBound(dataBytes);
}

}  // namespace tarn::convert
