// Pictures as RTF carries them: Windows metafiles (the placeable header the
// RTF data lacks, the bitmap a metafile draws, a metafile that draws a
// bitmap) and device-independent bitmaps.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "base/bitmap.h"

namespace tarn::convert {

inline constexpr int kPlaceableHeaderSize = 22;

// The placeable header of a metafile of the size in pixels (96 units per
// inch), checksum included.
std::string PlaceableWmfHeader(int widthPixels, int heightPixels);
// The first bitmap the metafile draws (the placeable header is optional);
// nothing when it draws none or the data is damaged.
std::optional<base::Bitmap> BitmapInMetafile(std::string_view wmf);
// A metafile (without placeable header) that draws the bitmap at its size.
std::string MetafileOfBitmap(const base::Bitmap& bitmap);
// A device-independent bitmap: its header, colours and pixels.
std::optional<base::Bitmap> DecodeDib(std::string_view dib);
// The size a JPEG's frame header gives, without decoding it.
std::optional<std::pair<int, int>> JpegSize(std::string_view bytes);
// Whether a picture of the size may come from that much data: a few bytes
// that claim a huge picture are not decoded.
bool PlausiblePicture(int width, int height, std::size_t dataBytes);

}  // namespace tarn::convert
