// Reading and writing the picture files a hypertext embeds: GIF (giflib),
// JPEG (libjpeg), Windows bitmaps, PNG (libpng, read only: pictures in that
// form are converted before they are stored), and the size of Windows
// metafiles.
// Every decoder takes untrusted bytes and fails cleanly on anything damaged.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/bitmap.h"

namespace tarn::document {

enum class ImageFormat { Unknown, Gif, Jpeg, Bmp, Png, Wmf, Emf };

// Recognises a picture by its first bytes.
ImageFormat SniffImageFormat(std::string_view bytes);

// The first frame of a GIF; pixels of the transparent colour get alpha 0 and
// set Bitmap::transparent.
std::optional<base::Bitmap> DecodeGif(std::string_view bytes);
// The frames of a GIF, counted up to the limit without decoding them; an
// animation has more than one. A damaged file counts the frames read whole.
int CountGifFrames(std::string_view bytes, int limit = 2);
std::optional<base::Bitmap> DecodeJpeg(std::string_view bytes);
// Uncompressed and RLE Windows bitmaps of 1, 4, 8, 16, 24 and 32 bits.
std::optional<base::Bitmap> DecodeBmp(std::string_view bytes);
// Any PNG: palette, grey, 16-bit and interlaced pictures; alpha is kept.
std::optional<base::Bitmap> DecodePng(std::string_view bytes);
// Dispatches on SniffImageFormat; metafiles are not decoded (nullopt).
std::optional<base::Bitmap> DecodeImage(std::string_view bytes);

// Size in pixels (96 per inch) of a placeable WMF or an EMF, from its header.
std::optional<std::pair<int, int>> MetafileSize(std::string_view bytes);

// A GIF of the bitmap: exact when it has at most 256 colours, otherwise
// reduced with the GIF library's colour quantizer. A transparent bitmap
// keeps one transparent colour index.
std::optional<std::string> EncodeGif(const base::Bitmap& bitmap);
// Whether a GIF holds the bitmap's colours exactly (at most 256 of them, one
// taken by transparency), without reducing them.
bool FitsGifPalette(const base::Bitmap& bitmap);
std::optional<std::string> EncodeJpeg(const base::Bitmap& bitmap, int quality = 90);
// A 24-bit Windows bitmap; transparent pixels are drawn on white.
std::string EncodeBmp(const base::Bitmap& bitmap);

}  // namespace tarn::document
