// Tests for the picture codecs: round trips through our own encoders, small
// files built byte by byte for the details each format allows, and damaged
// input that every decoder must refuse without crashing.
#include "document/imagecodec.h"

#include <gtest/gtest.h>
#include <jpeglib.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "document/testfixtures.h"

namespace tarn::document {
namespace {

using base::Bitmap;

constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kGreen = 0xFF00FF00;
constexpr std::uint32_t kBlue = 0xFF0000FF;
constexpr std::uint32_t kBlack = 0xFF000000;
constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr std::uint32_t kClear = 0x00000000;

std::string Le16(std::uint16_t v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; }
std::string Le32(std::uint32_t v) {
  return Le16(static_cast<std::uint16_t>(v & 0xFFFF)) + Le16(static_cast<std::uint16_t>(v >> 16));
}
std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out.push_back(static_cast<char>(v));
  return out;
}

Bitmap MakeBitmap(int width, int height, std::vector<std::uint32_t> pixels, bool transparent = false) {
  Bitmap bitmap;
  bitmap.width = width;
  bitmap.height = height;
  bitmap.pixels = std::move(pixels);
  bitmap.transparent = transparent;
  return bitmap;
}

// A deterministic scramble, so "noisy" fixtures are the same on every run.
std::uint32_t Noise(std::uint32_t i) {
  i ^= i >> 16;
  i *= 0x7FEB352Du;
  i ^= i >> 15;
  i *= 0x846CA68Bu;
  return i ^ (i >> 16);
}

int ChannelDistance(std::uint32_t a, std::uint32_t b) {
  int worst = 0;
  for (int shift : {0, 8, 16}) {
    worst = std::max(worst,
                     std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
  }
  return worst;
}

// ---------------------------------------------------------------------------
// GIF files built by hand.

struct GifFrame {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool interlaced = false;
  std::vector<std::uint32_t> localPalette;
  int transparentIndex = -1;
  std::vector<std::uint8_t> indices;  // In the order the file sends them.
};

struct GifFile {
  int screenWidth = 0;
  int screenHeight = 0;
  std::vector<std::uint32_t> globalPalette;
  std::vector<GifFrame> frames;
};

// Colour tables hold 2^(n+1) entries; the descriptor stores n.
int TableSizeField(std::size_t entries) {
  int n = 0;
  while ((std::size_t{2} << n) < entries) ++n;
  EXPECT_EQ(std::size_t{2} << n, entries) << "fixture palettes must have a power-of-two size";
  return n;
}

std::string ColourTable(const std::vector<std::uint32_t>& palette) {
  std::string out;
  for (std::uint32_t c : palette) {
    out += Bytes(
        {static_cast<int>((c >> 16) & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>(c & 0xFF)});
  }
  return out;
}

// LZW data in which every code is a literal: a clear code comes often enough
// that the code table never outgrows nine bits, so no compression is needed
// to write a valid stream.
std::string LiteralLzw(const std::vector<std::uint8_t>& indices) {
  constexpr int kMinCodeSize = 8;
  constexpr std::uint32_t kClearCode = 1u << kMinCodeSize;
  constexpr std::uint32_t kEndCode = kClearCode + 1;
  constexpr int kCodeWidth = kMinCodeSize + 1;
  constexpr std::size_t kLiteralsPerClear = 250;
  std::string packed;
  std::uint32_t bits = 0;
  int bitCount = 0;
  auto emit = [&](std::uint32_t code) {
    bits |= code << bitCount;
    bitCount += kCodeWidth;
    while (bitCount >= 8) {
      packed.push_back(static_cast<char>(bits & 0xFF));
      bits >>= 8;
      bitCount -= 8;
    }
  };
  for (std::size_t i = 0; i < indices.size(); ++i) {
    if (i % kLiteralsPerClear == 0) emit(kClearCode);
    emit(indices[i]);
  }
  emit(kEndCode);
  if (bitCount > 0) packed.push_back(static_cast<char>(bits & 0xFF));

  std::string out(1, static_cast<char>(kMinCodeSize));
  for (std::size_t i = 0; i < packed.size(); i += 255) {
    const std::size_t n = std::min<std::size_t>(255, packed.size() - i);
    out.push_back(static_cast<char>(n));
    out += packed.substr(i, n);
  }
  out.push_back('\0');
  return out;
}

std::string BuildGif(const GifFile& gif) {
  std::string out = "GIF89a";
  out += Le16(static_cast<std::uint16_t>(gif.screenWidth));
  out += Le16(static_cast<std::uint16_t>(gif.screenHeight));
  const bool hasGlobal = !gif.globalPalette.empty();
  out += Bytes({hasGlobal ? 0xF0 | TableSizeField(gif.globalPalette.size()) : 0x70, 0, 0});
  out += ColourTable(gif.globalPalette);
  for (const GifFrame& frame : gif.frames) {
    if (frame.transparentIndex >= 0) out += Bytes({0x21, 0xF9, 4, 1, 0, 0, frame.transparentIndex, 0});
    out += ',';
    for (int v : {frame.left, frame.top, frame.width, frame.height}) {
      out += Le16(static_cast<std::uint16_t>(v));
    }
    int packed = frame.interlaced ? 0x40 : 0;
    if (!frame.localPalette.empty()) packed |= 0x80 | TableSizeField(frame.localPalette.size());
    out.push_back(static_cast<char>(packed));
    out += ColourTable(frame.localPalette);
    out += LiteralLzw(frame.indices);
  }
  out += ';';
  return out;
}

const std::vector<std::uint32_t> kFourColours = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};

GifFile SmallGif() {
  GifFile gif{3, 2, kFourColours, {}};
  gif.frames.push_back(GifFrame{0, 0, 3, 2, false, {}, 3, {0, 1, 2, 3, 0, 1}});
  return gif;
}

TEST(DecodeGif, ReadsGlobalPaletteAndTransparentIndex) {
  const auto bitmap = DecodeGif(BuildGif(SmallGif()));
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(bitmap->width, 3);
  EXPECT_EQ(bitmap->height, 2);
  EXPECT_EQ(bitmap->pixels, (std::vector<std::uint32_t>{kBlack, kRed, kGreen, kClear, kBlack, kRed}));
  EXPECT_TRUE(bitmap->transparent);
}

TEST(DecodeGif, PlacesInterlacedRowsInDisplayOrder) {
  // Ten rows, each coloured by its display position; the file sends them in
  // interlaced pass order.
  std::vector<std::uint32_t> palette;
  for (std::uint32_t i = 0; i < 16; ++i) palette.push_back(i * 0x101010);
  GifFile gif{1, 10, palette, {}};
  gif.frames.push_back(GifFrame{0, 0, 1, 10, true, {}, -1, {0, 8, 4, 2, 6, 1, 3, 5, 7, 9}});
  const auto bitmap = DecodeGif(BuildGif(gif));
  ASSERT_TRUE(bitmap);
  ASSERT_EQ(bitmap->height, 10);
  for (int y = 0; y < 10; ++y) EXPECT_EQ(bitmap->At(0, y), 0xFF000000 | palette[y]) << "row " << y;
  EXPECT_FALSE(bitmap->transparent);
}

TEST(DecodeGif, FramePlacementAndLocalPalette) {
  struct Case {
    const char* name;
    GifFile gif;
    int width;
    int height;
    std::vector<std::uint32_t> pixels;
  };
  const std::vector<std::uint32_t> local = {0xFFFFFF, 0x0000FF};
  const GifFrame first{0, 0, 1, 1, false, {}, -1, {1}};
  const GifFrame second{0, 0, 1, 1, false, {}, -1, {2}};
  // clang-format off
  const Case cases[] = {
      // The local palette wins over the global one; canvas outside the frame
      // is transparent; an index past the palette shows black.
      {"offset frame",
       GifFile{3, 2, kFourColours, {GifFrame{1, 0, 2, 2, false, local, -1, {0, 1, 1, 7}}}},
       3, 2, {kClear, kWhite, kBlue,
              kClear, kBlue,  kBlack}},
      // A frame larger than the screen widens the picture.
      {"frame beyond screen",
       GifFile{1, 1, kFourColours, {GifFrame{0, 0, 2, 1, false, {}, -1, {1, 2}}}},
       2, 1, {kRed, kGreen}},
      // Only the first frame is read.
      {"animation", GifFile{1, 1, kFourColours, {first, second}}, 1, 1, {kRed}},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto bitmap = DecodeGif(BuildGif(c.gif));
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->width, c.width);
    EXPECT_EQ(bitmap->height, c.height);
    EXPECT_EQ(bitmap->pixels, c.pixels);
  }
}

// ---------------------------------------------------------------------------
// GIF writing.

// What a GIF gives back for a pixel: transparent pixels lose their colour,
// and alpha counts only in a bitmap marked transparent.
std::uint32_t AfterGif(const Bitmap& bitmap, std::uint32_t pixel) {
  if (bitmap.transparent && (pixel >> 24) == 0) return kClear;
  return pixel | 0xFF000000;
}

TEST(EncodeGif, RoundTripsFewColoursExactly) {
  const Bitmap cases[] = {
      MakeBitmap(
          4, 3,
          {kRed, kGreen, kBlue, kWhite, kBlack, 0xFF123456, 0x00ABCDEF, kRed, kGreen, kBlue, kWhite, kBlack},
          true),
      MakeBitmap(2, 2, {kRed, kGreen, kBlue, kWhite}),
      // Alpha is ignored when the bitmap does not claim transparency.
      MakeBitmap(2, 1, {0x00FF0000, 0x0000FF00}),
  };
  for (const Bitmap& original : cases) {
    SCOPED_TRACE(::testing::PrintToString(original.pixels));
    const auto gif = EncodeGif(original);
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->substr(0, 6), "GIF89a");
    const auto decoded = DecodeGif(*gif);
    ASSERT_TRUE(decoded);
    ASSERT_EQ(decoded->width, original.width);
    ASSERT_EQ(decoded->height, original.height);
    for (std::size_t i = 0; i < original.pixels.size(); ++i) {
      EXPECT_EQ(decoded->pixels[i], AfterGif(original, original.pixels[i])) << "pixel " << i;
    }
    const bool anyTransparent =
        original.transparent && std::any_of(original.pixels.begin(), original.pixels.end(),
                                            [](std::uint32_t p) { return (p >> 24) == 0; });
    EXPECT_EQ(decoded->transparent, anyTransparent);
  }
}

TEST(EncodeGif, PaletteLimitWithAndWithoutTransparency) {
  struct Case {
    int colours;
    bool withTransparent;
    bool exact;
  };
  // The transparent index takes a palette slot of its own.
  const Case cases[] = {{256, false, true}, {255, true, true}, {256, true, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.colours << " colours, transparent " << c.withTransparent);
    std::vector<std::uint32_t> pixels;
    for (int i = 0; i < c.colours; ++i) {
      pixels.push_back(0xFF000000 | (static_cast<std::uint32_t>(i * 0x010307) & 0xFFFFFF));
    }
    if (c.withTransparent) pixels.push_back(kClear);
    const int width = static_cast<int>(pixels.size());
    const Bitmap original = MakeBitmap(width, 1, pixels, c.withTransparent);
    const auto gif = EncodeGif(original);
    ASSERT_TRUE(gif);
    const auto decoded = DecodeGif(*gif);
    ASSERT_TRUE(decoded);
    ASSERT_EQ(decoded->pixels.size(), pixels.size());
    if (c.exact) {
      EXPECT_EQ(decoded->pixels, pixels);
    }
    if (c.withTransparent) {
      EXPECT_EQ(decoded->pixels.back(), kClear);
    }
    EXPECT_EQ(decoded->transparent, c.withTransparent);
  }
}

TEST(EncodeGif, QuantizesManyColours) {
  constexpr int kSide = 64;
  std::vector<std::uint32_t> pixels;
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      pixels.push_back(0xFF000000 | static_cast<std::uint32_t>((x * 4) << 16 | (y * 4) << 8 | (x + y) * 2));
    }
  }
  pixels[0] = kClear;
  const Bitmap original = MakeBitmap(kSide, kSide, pixels, true);
  const auto gif = EncodeGif(original);
  ASSERT_TRUE(gif);
  const auto decoded = DecodeGif(*gif);
  ASSERT_TRUE(decoded);
  ASSERT_EQ(decoded->width, kSide);
  ASSERT_EQ(decoded->height, kSide);
  EXPECT_EQ(decoded->pixels[0], kClear);
  EXPECT_TRUE(decoded->transparent);

  const std::set<std::uint32_t> distinct(decoded->pixels.begin(), decoded->pixels.end());
  EXPECT_LE(distinct.size(), 256u);
  long totalError = 0;
  for (std::size_t i = 1; i < pixels.size(); ++i) {
    EXPECT_EQ(decoded->pixels[i] >> 24, 0xFFu);
    totalError += ChannelDistance(decoded->pixels[i], pixels[i]);
  }
  // A 4096-colour gradient in 255 colours: close, not exact.
  EXPECT_LT(totalError / static_cast<long>(pixels.size()), 12);
}

// ---------------------------------------------------------------------------
// JPEG.

Bitmap Gradient(int width, int height) {
  std::vector<std::uint32_t> pixels;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      pixels.push_back(0xFF000000 |
                       static_cast<std::uint32_t>((x * 255 / width) << 16 | (y * 255 / height) << 8 | 0x80));
    }
  }
  return MakeBitmap(width, height, pixels);
}

TEST(EncodeJpeg, RoundTripsApproximately) {
  Bitmap original = Gradient(48, 32);
  original.transparent = true;
  original.pixels[0] = 0x00000000;          // Drawn on white.
  for (int quality : {0, 75, 100, 1000}) {  // Out-of-range qualities are clamped.
    SCOPED_TRACE(quality);
    const auto jpeg = EncodeJpeg(original, quality);
    ASSERT_TRUE(jpeg);
    const auto decoded = DecodeJpeg(*jpeg);
    ASSERT_TRUE(decoded);
    ASSERT_EQ(decoded->width, original.width);
    ASSERT_EQ(decoded->height, original.height);
    EXPECT_FALSE(decoded->transparent);
    if (quality < 75) continue;
    long totalError = 0;
    for (std::size_t i = 1; i < original.pixels.size(); ++i) {
      totalError += ChannelDistance(decoded->pixels[i], original.pixels[i]);
    }
    EXPECT_LT(totalError / static_cast<long>(original.pixels.size()), 4);
    EXPECT_LT(ChannelDistance(decoded->pixels[0], kWhite), 48);
  }
}

TEST(DecodeJpeg, ForgivesAMissingEndMarker) {
  // Such files are common and lack no pixels; a file cut in its rows is
  // refused (see RefuseDamagedInput).
  const std::string jpeg = *EncodeJpeg(Gradient(64, 64));
  ASSERT_EQ(jpeg.substr(jpeg.size() - 2), "\xFF\xD9");
  const auto decoded = DecodeJpeg(jpeg.substr(0, jpeg.size() - 2));
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->height, 64);
  EXPECT_LT(ChannelDistance(decoded->At(63, 63), Gradient(64, 64).At(63, 63)), 12);
}

// Compresses raw samples in a colour space our encoder never writes.
std::string CompressRaw(int width, int height, J_COLOR_SPACE space, int components,
                        const std::vector<JSAMPLE>& samples) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = components;
  info.in_color_space = space;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPLE*>(samples.data()) +
                   static_cast<std::size_t>(info.next_scanline) * width * components;
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  std::string out(reinterpret_cast<char*>(buffer), size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return out;
}

TEST(DecodeJpeg, ConvertsGreyAndAdobeCmyk) {
  struct Case {
    const char* name;
    J_COLOR_SPACE space;
    std::vector<JSAMPLE> pixel;
    std::uint32_t expected;
  };
  const Case cases[] = {
      {"grey", JCS_GRAYSCALE, {0x80}, 0xFF808080},
      // Adobe stores ink inverted: full cyan ink, nothing else.
      {"cmyk", JCS_CMYK, {0, 255, 255, 255}, 0xFF00FFFF},
  };
  constexpr int kSide = 16;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<JSAMPLE> samples;
    for (int i = 0; i < kSide * kSide; ++i) samples.insert(samples.end(), c.pixel.begin(), c.pixel.end());
    const auto bitmap =
        DecodeJpeg(CompressRaw(kSide, kSide, c.space, static_cast<int>(c.pixel.size()), samples));
    ASSERT_TRUE(bitmap);
    ASSERT_EQ(bitmap->pixels.size(), std::size_t{kSide * kSide});
    EXPECT_LE(ChannelDistance(bitmap->At(5, 5), c.expected), 3);
    EXPECT_EQ(bitmap->At(5, 5) >> 24, 0xFFu);
  }
}

// ---------------------------------------------------------------------------
// Windows bitmaps built by hand.

struct BmpFile {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint16_t bitCount = 24;
  std::uint32_t compression = 0;
  std::uint32_t headerSize = 40;
  std::vector<std::uint32_t> masks{};  // In the header from 52 bytes on, else after it.
  std::vector<std::uint32_t> palette{};
  std::string pixels{};
};

std::string BuildBmp(const BmpFile& bmp) {
  std::string info = Le32(bmp.headerSize) + Le32(static_cast<std::uint32_t>(bmp.width)) +
                     Le32(static_cast<std::uint32_t>(bmp.height)) + Le16(1) + Le16(bmp.bitCount) +
                     Le32(bmp.compression) + Le32(static_cast<std::uint32_t>(bmp.pixels.size())) +
                     Le32(3780) + Le32(3780) + Le32(static_cast<std::uint32_t>(bmp.palette.size())) + Le32(0);
  std::string masks;
  for (std::uint32_t m : bmp.masks) masks += Le32(m);
  if (bmp.headerSize > 40) {
    info += masks;
    masks.clear();
  }
  info.resize(bmp.headerSize, '\0');
  std::string palette;
  for (std::uint32_t c : bmp.palette) palette += Le32(c & 0xFFFFFF);
  const std::size_t offset = 14 + info.size() + masks.size() + palette.size();
  return "BM" + Le32(static_cast<std::uint32_t>(offset + bmp.pixels.size())) + Le32(0) +
         Le32(static_cast<std::uint32_t>(offset)) + info + masks + palette + bmp.pixels;
}

// Black, red, green, blue: the same indices as kFourColours.
const std::vector<std::uint32_t> kBmpPalette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};

TEST(DecodeBmp, PaletteDepthsAndRowOrder) {
  struct Case {
    const char* name;
    std::uint16_t bitCount;
    bool topDown;
    std::string pixels;                   // File order, rows padded to four bytes.
    std::vector<std::uint32_t> expected;  // Display order: top row first.
  };
  // clang-format off
  const Case cases[] = {
      {"8-bit bottom-up", 8, false, Bytes({0, 1, 2, 0,  1, 2, 3, 0}),
       {kRed, kGreen, kBlue, kBlack, kRed, kGreen}},
      {"8-bit top-down",  8, true,  Bytes({1, 2, 3, 0,  0, 1, 2, 0}),
       {kRed, kGreen, kBlue, kBlack, kRed, kGreen}},
      {"4-bit",           4, false, Bytes({0x30, 0x10, 0, 0,  0x12, 0x30, 0, 0}),
       {kRed, kGreen, kBlue, kBlue, kBlack, kRed}},
      {"1-bit",           1, false, Bytes({0x60, 0, 0, 0,  0xA0, 0, 0, 0}),
       {kRed, kBlack, kRed, kBlack, kRed, kRed}},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BmpFile bmp{.width = 3,
                .height = c.topDown ? -2 : 2,
                .bitCount = c.bitCount,
                .palette = kBmpPalette,
                .pixels = c.pixels};
    if (c.bitCount == 1) bmp.palette.resize(2);
    const auto bitmap = DecodeBmp(BuildBmp(bmp));
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->width, 3);
    EXPECT_EQ(bitmap->height, 2);
    EXPECT_EQ(bitmap->pixels, c.expected);
    EXPECT_FALSE(bitmap->transparent);
  }
}

TEST(DecodeBmp, DirectColourLayouts) {
  struct Case {
    const char* name;
    std::uint16_t bitCount;
    std::uint32_t compression;
    std::uint32_t headerSize;
    std::vector<std::uint32_t> masks;
    std::string pixels;  // One row of two pixels.
    std::vector<std::uint32_t> expected;
    bool transparent;
  };
  const std::vector<std::uint32_t> k565 = {0xF800, 0x07E0, 0x001F};
  const std::vector<std::uint32_t> k8888 = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
  // clang-format off
  const Case cases[] = {
      {"16-bit 555", 16, 0, 40, {},
       Bytes({0x00, 0x7C, 0x1F, 0x00}), {kRed, kBlue}, false},
      {"16-bit 565 masks after header", 16, 3, 40, k565,
       Bytes({0x00, 0xF8, 0xE0, 0x07}), {kRed, kGreen}, false},
      {"16-bit 565 masks in V4 header", 16, 3, 108, k565,
       Bytes({0x1F, 0x00, 0xE0, 0x07}), {kBlue, kGreen}, false},
      {"24-bit", 24, 0, 40, {},
       Bytes({0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0, 0}), {0xFF302010, 0xFF605040}, false},
      // The fourth byte of plain 32-bit pixels is not alpha.
      {"32-bit plain", 32, 0, 40, {},
       Bytes({0x10, 0x20, 0x30, 0x00, 0x40, 0x50, 0x60, 0x7F}), {0xFF302010, 0xFF605040}, false},
      {"32-bit V5 with alpha", 32, 3, 124, k8888,
       Bytes({0x33, 0x22, 0x11, 0x80, 0, 0, 0, 0}), {0x80112233, kClear}, true},
      // An alpha field that is zero everywhere was never meant as alpha.
      {"32-bit V5 alpha all zero", 32, 3, 124, k8888,
       Bytes({0x33, 0x22, 0x11, 0, 0xFF, 0xFF, 0xFF, 0}), {0xFF112233, kWhite}, false},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto bitmap = DecodeBmp(BuildBmp(BmpFile{.width = 2,
                                                   .height = 1,
                                                   .bitCount = c.bitCount,
                                                   .compression = c.compression,
                                                   .headerSize = c.headerSize,
                                                   .masks = c.masks,
                                                   .pixels = c.pixels}));
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->pixels, c.expected);
    EXPECT_EQ(bitmap->transparent, c.transparent);
  }
}

TEST(DecodeBmp, RunLengthStreams) {
  struct Case {
    const char* name;
    std::int32_t width;
    std::int32_t height;
    std::uint16_t bitCount;
    std::uint32_t compression;
    std::string stream;
    std::vector<std::uint32_t> expected;
  };
  // clang-format off
  const Case cases[] = {
      // Bottom row: a run of three and an end of line; middle: a literal
      // stretch of three (padded) and a run of one; top: a jump of two
      // pixels, a run of two, end of picture. Jumped-over pixels stay clear.
      {"8-bit", 4, 3, 8, 1,
       Bytes({3, 1,  0, 0,
              0, 3, 2, 3, 2, 0,  1, 3,  0, 0,
              0, 2, 2, 0,  2, 1,  0, 1}),
       {kClear, kClear, kRed,   kRed,
        kGreen, kBlue,  kGreen, kBlue,
        kRed,   kRed,   kRed,   kClear}},
      // A run alternates two indices; a literal stretch packs two per byte.
      {"4-bit", 7, 1, 4, 2,
       Bytes({4, 0x12,  0, 3, 0x23, 0x10,  0, 1}),
       {kRed, kGreen, kRed, kGreen, kGreen, kBlue, kRed}},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto bitmap = DecodeBmp(BuildBmp(BmpFile{.width = c.width,
                                                   .height = c.height,
                                                   .bitCount = c.bitCount,
                                                   .compression = c.compression,
                                                   .palette = kBmpPalette,
                                                   .pixels = c.stream}));
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->pixels, c.expected);
    EXPECT_EQ(bitmap->transparent, std::count(c.expected.begin(), c.expected.end(), kClear) > 0);
  }
}

TEST(EncodeBmp, WritesBottomUpPaddedRowsThatReadBack) {
  // Five pixels of three bytes need a byte of padding per row.
  std::vector<std::uint32_t> pixels;
  for (std::uint32_t i = 0; i < 15; ++i) pixels.push_back(0xFF000000 | (Noise(i) & 0xFFFFFF));
  pixels[7] = 0x00123456;
  const Bitmap original = MakeBitmap(5, 3, pixels, true);
  const std::string bmp = EncodeBmp(original);
  ASSERT_EQ(bmp.size(), 54u + 16u * 3u);
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  // The first stored row is the bottom one, blue first, then the padding.
  const std::uint32_t bottomLeft = original.At(0, 2);
  EXPECT_EQ(static_cast<std::uint8_t>(bmp[54]), bottomLeft & 0xFF);
  EXPECT_EQ(static_cast<std::uint8_t>(bmp[56]), (bottomLeft >> 16) & 0xFF);
  EXPECT_EQ(bmp[54 + 15], '\0');

  const auto decoded = DecodeBmp(bmp);
  ASSERT_TRUE(decoded);
  std::vector<std::uint32_t> expected = pixels;
  expected[7] = kWhite;  // Transparent pixels are drawn on white.
  EXPECT_EQ(decoded->pixels, expected);
  EXPECT_FALSE(decoded->transparent);
}

TEST(Encoders, RefuseInconsistentBitmaps) {
  const Bitmap cases[] = {
      MakeBitmap(0, 0, {}),
      MakeBitmap(2, 2, {kRed, kRed, kRed}),  // One pixel short.
      MakeBitmap(-1, 1, {kRed}),
  };
  for (const Bitmap& bitmap : cases) {
    EXPECT_FALSE(EncodeGif(bitmap));
    EXPECT_FALSE(EncodeJpeg(bitmap));
    EXPECT_TRUE(EncodeBmp(bitmap).empty());
  }
  // Wider than a GIF or JPEG header can say.
  const Bitmap wide = MakeBitmap(70000, 1, std::vector<std::uint32_t>(70000, kRed));
  EXPECT_FALSE(EncodeGif(wide));
  EXPECT_FALSE(EncodeJpeg(wide));
}

// ---------------------------------------------------------------------------
// PNG.

// A PNG chunk with its length and CRC.
std::string PngChunk(std::string_view type, const std::string& data) {
  std::string body = std::string(type) + data;
  const auto crc = static_cast<std::uint32_t>(
      crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size())));
  auto be32 = [](std::uint32_t v) {
    return std::string{static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                       static_cast<char>(v)};
  };
  return be32(static_cast<std::uint32_t>(data.size())) + body + be32(crc);
}

// The first chunks of an 8-bit RGB PNG of the size, its pixel data left out.
std::string PngHeader(std::uint32_t width, std::uint32_t height) {
  std::string ihdr;
  for (std::uint32_t v : {width, height}) {
    for (int shift : {24, 16, 8, 0}) ihdr.push_back(static_cast<char>(v >> shift));
  }
  ihdr += Bytes({8, 2, 0, 0, 0});
  return std::string("\x89PNG\r\n\x1A\n", 8) + PngChunk("IHDR", ihdr);
}

TEST(DecodePng, ColourAlphaAndGrey) {
  // Opaque colours, a clear pixel and a half-transparent one come back as
  // they were.
  const Bitmap colours = MakeBitmap(3, 2, {kRed, kGreen, kBlue, kClear, 0x80FF8000, kWhite}, true);
  const auto decoded = DecodePng(testing::PngOf(colours));
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->width, 3);
  EXPECT_EQ(decoded->height, 2);
  EXPECT_EQ(decoded->pixels, colours.pixels);
  EXPECT_TRUE(decoded->transparent);
  // A grey picture without alpha is opaque.
  const Bitmap greys = MakeBitmap(2, 1, {0xFF808080, kBlack});
  const auto grey = DecodePng(testing::PngOf(greys, true));
  ASSERT_TRUE(grey);
  EXPECT_EQ(grey->pixels, greys.pixels);
  EXPECT_FALSE(grey->transparent);
}


std::string TruncatedJpeg() {
  constexpr int kSide = 128;
  std::vector<std::uint32_t> pixels;
  for (std::uint32_t i = 0; i < kSide * kSide; ++i) pixels.push_back(0xFF000000 | Noise(i));
  const std::string whole = *EncodeJpeg(MakeBitmap(kSide, kSide, pixels), 90);
  return whole.substr(0, whole.size() * 2 / 5);
}

TEST(Decoders, RefuseDamagedInput) {
  using Decoder = std::optional<Bitmap> (*)(std::string_view);
  struct Case {
    const char* name;
    Decoder decode;
    std::string bytes;
  };
  const std::string gif = BuildGif(SmallGif());
  GifFile noColours = SmallGif();
  noColours.globalPalette.clear();
  GifFile hugeScreen = SmallGif();
  hugeScreen.screenWidth = hugeScreen.screenHeight = 0xFFFF;
  GifFile emptyFrame = SmallGif();
  emptyFrame.frames[0].width = 0;
  const std::string jpeg = *EncodeJpeg(Gradient(16, 16));
  const std::vector<std::uint32_t> palette = {0x000000, 0xFF0000};
  const BmpFile bmp8{
      .width = 2, .height = 2, .bitCount = 8, .palette = palette, .pixels = Bytes({0, 1, 0, 0, 1, 0, 0, 0})};
  auto bmpWith = [&](auto change) {
    BmpFile b = bmp8;
    change(b);
    return BuildBmp(b);
  };
  const std::string bmp = BuildBmp(bmp8);
  const std::string png = testing::PngOf(Gradient(16, 16));
  std::string pngBadCrc = png;
  pngBadCrc[29] = static_cast<char>(pngBadCrc[29] ^ 1);  // the header chunk's CRC

  const Case cases[] = {
      {"gif empty", DecodeGif, ""},
      {"gif signature only", DecodeGif, "GIF89a"},
      {"gif cut in screen descriptor", DecodeGif, gif.substr(0, 9)},
      {"gif cut in palette", DecodeGif, gif.substr(0, 16)},
      {"gif cut in pixel data", DecodeGif, gif.substr(0, gif.size() - 6)},
      {"gif without colours", DecodeGif, BuildGif(noColours)},
      {"gif screen beyond its data", DecodeGif, BuildGif(hugeScreen)},
      {"gif empty frame", DecodeGif, BuildGif(emptyFrame)},
      {"gif trailer before any image", DecodeGif, gif.substr(0, 25) + ";"},
      {"gif garbage", DecodeGif, "GIF89a" + std::string(64, '\xEE')},
      {"jpeg empty", DecodeJpeg, ""},
      {"jpeg start marker only", DecodeJpeg, "\xFF\xD8"},
      {"jpeg cut in header", DecodeJpeg, jpeg.substr(0, 100)},
      {"jpeg cut in scan", DecodeJpeg, TruncatedJpeg()},
      {"jpeg garbage", DecodeJpeg, "\xFF\xD8\xFF" + std::string(64, '\x55')},
      {"png empty", DecodePng, ""},
      {"png signature only", DecodePng, png.substr(0, 8)},
      {"png cut in header", DecodePng, png.substr(0, 20)},
      {"png cut in pixel data", DecodePng, png.substr(0, png.size() - 30)},
      {"png header checksum wrong", DecodePng, pngBadCrc},
      {"png header without pixels", DecodePng, PngHeader(16, 16) + PngChunk("IEND", "")},
      // A tiny file cannot hold a picture this size: refused before
      // anything is allocated for it.
      {"png 60000 x 60000 in a small file", DecodePng,
       PngHeader(60000, 60000) + PngChunk("IDAT", std::string(64, '\0')) + PngChunk("IEND", "")},
      {"bmp empty", DecodeBmp, ""},
      {"bmp signature only", DecodeBmp, "BM"},
      {"bmp cut in header", DecodeBmp, bmp.substr(0, 30)},
      {"bmp last row missing", DecodeBmp, bmp.substr(0, bmp.size() - 4)},
      {"bmp header size zero", DecodeBmp, bmp.substr(0, 14) + Le32(0) + bmp.substr(18)},
      {"bmp zero width", DecodeBmp, bmpWith([](BmpFile& b) { b.width = 0; })},
      {"bmp negative width", DecodeBmp, bmpWith([](BmpFile& b) { b.width = -2; })},
      {"bmp zero height", DecodeBmp, bmpWith([](BmpFile& b) { b.height = 0; })},
      {"bmp most negative height", DecodeBmp,
       bmpWith([](BmpFile& b) { b.height = std::numeric_limits<std::int32_t>::min(); })},
      {"bmp odd depth", DecodeBmp, bmpWith([](BmpFile& b) { b.bitCount = 7; })},
      {"bmp embedded jpeg", DecodeBmp, bmpWith([](BmpFile& b) { b.compression = 4; })},
      {"bmp palette missing", DecodeBmp, bmpWith([](BmpFile& b) { b.palette.clear(); })},
      {"bmp 100000 x 100000", DecodeBmp, bmpWith([](BmpFile& b) {
         b.width = b.height = 100000;
         b.bitCount = 24;
       })},
      {"bmp 8000 x 8000 without pixels", DecodeBmp, bmpWith([](BmpFile& b) {
         b.width = b.height = 8000;
         b.bitCount = 24;
       })},
      {"bmp run length without end", DecodeBmp, bmpWith([](BmpFile& b) {
         b.compression = 1;
         b.pixels = Bytes({2, 1, 0, 0});
       })},
      {"bmp run length far larger than its data", DecodeBmp, bmpWith([](BmpFile& b) {
         b.compression = 1;
         b.width = 4;
         b.height = 8388611;
         b.pixels = Bytes({0, 1});
       })},
      {"bmp run length literal cut short", DecodeBmp, bmpWith([](BmpFile& b) {
         b.compression = 1;
         b.pixels = Bytes({0, 5, 1, 1});
       })},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(c.decode(c.bytes)) << c.name;
  }
  // The intact files the damaged ones came from do decode.
  EXPECT_TRUE(DecodeGif(gif));
  EXPECT_TRUE(DecodeJpeg(jpeg));
  EXPECT_TRUE(DecodeBmp(bmp));
  EXPECT_TRUE(DecodePng(png));
}

// ---------------------------------------------------------------------------
// Metafiles and recognition.

std::string PlaceableWmf(int left, int top, int right, int bottom, int inch) {
  std::string out = Le32(0x9AC6CDD7) + Le16(0);
  for (int v : {left, top, right, bottom}) out += Le16(static_cast<std::uint16_t>(v));
  return out + Le16(static_cast<std::uint16_t>(inch)) + Le32(0) + Le16(0) +
         Bytes({1, 0, 9, 0, 0, 3});  // The start of the metafile proper.
}

std::string Emf(std::initializer_list<std::int32_t> bounds, std::initializer_list<std::int32_t> frame,
                std::uint32_t signature = 0x464D4520) {
  std::string out = Le32(1) + Le32(88);
  for (std::int32_t v : bounds) out += Le32(static_cast<std::uint32_t>(v));
  for (std::int32_t v : frame) out += Le32(static_cast<std::uint32_t>(v));
  out += Le32(signature);
  out.resize(88, '\0');
  return out;
}

TEST(MetafileSize, FromHeaders) {
  using Size = std::optional<std::pair<int, int>>;
  struct Case {
    const char* name;
    std::string bytes;
    Size expected;
  };
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  const Case cases[] = {
      {"wmf twips", PlaceableWmf(0, 0, 1440, 720, 1440), Size{{96, 48}}},
      {"wmf reversed box", PlaceableWmf(100, 200, -620, -520, 720), Size{{96, 96}}},
      {"wmf inch zero", PlaceableWmf(0, 0, 1440, 720, 0), std::nullopt},
      {"wmf empty box", PlaceableWmf(5, 5, 5, 100, 1440), std::nullopt},
      {"wmf cut header", PlaceableWmf(0, 0, 1440, 720, 1440).substr(0, 12), std::nullopt},
      {"bare wmf", Bytes({1, 0, 9, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), std::nullopt},
      {"emf frame", Emf({0, 0, 10, 10}, {0, 0, 2540, 1270}), Size{{96, 48}}},
      {"emf frame offset", Emf({0, 0, 10, 10}, {1000, 1000, 3540, 3540}), Size{{96, 96}}},
      {"emf zero frame uses bounds", Emf({10, 20, 109, 69}, {0, 0, 0, 0}), Size{{100, 50}}},
      {"emf wrong signature", Emf({0, 0, 10, 10}, {0, 0, 2540, 1270}, 0x12345678), std::nullopt},
      {"emf absurd frame", Emf({0, 0, 10, 10}, {-kMax, -kMax, kMax, kMax}), std::nullopt},
      {"emf nothing", Emf({0, 0, -1, -1}, {0, 0, 0, 0}), std::nullopt},
      {"gif", BuildGif(SmallGif()), std::nullopt},
      {"empty", "", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MetafileSize(c.bytes), c.expected) << c.name;
  }
}

TEST(SniffImageFormat, RecognisesLeadingBytes) {
  const std::pair<std::string, ImageFormat> cases[] = {
      {"GIF87a", ImageFormat::Gif},
      {"GIF89a...", ImageFormat::Gif},
      {"\xFF\xD8\xFF\xE0", ImageFormat::Jpeg},
      {"BM\x36\0\0\0", ImageFormat::Bmp},
      {std::string("\x89PNG\r\n\x1A\n\0", 9), ImageFormat::Png},
      {"\x89PNG", ImageFormat::Unknown},
      {PlaceableWmf(0, 0, 1, 1, 1440), ImageFormat::Wmf},
      {Bytes({2, 0, 9, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), ImageFormat::Wmf},
      {Emf({0, 0, 1, 1}, {0, 0, 1, 1}), ImageFormat::Emf},
      {"GIF", ImageFormat::Unknown},
      {"\xFF\xD8", ImageFormat::Unknown},
      {"", ImageFormat::Unknown},
      {"hello", ImageFormat::Unknown},
  };
  for (const auto& [bytes, format] : cases) {
    EXPECT_EQ(SniffImageFormat(bytes), format) << ::testing::PrintToString(bytes);
  }
}

TEST(DecodeImage, DispatchesOnContent) {
  const Bitmap original = MakeBitmap(2, 1, {kRed, kBlue});
  for (const std::string& bytes : {*EncodeGif(original), EncodeBmp(original), testing::PngOf(original)}) {
    const auto decoded = DecodeImage(bytes);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->pixels, original.pixels);
  }
  const auto jpeg = DecodeImage(*EncodeJpeg(original));
  ASSERT_TRUE(jpeg);
  EXPECT_EQ(jpeg->width, 2);
  EXPECT_FALSE(DecodeImage(PlaceableWmf(0, 0, 1440, 1440, 1440)));
  EXPECT_FALSE(DecodeImage("not a picture"));
}

}  // namespace
}  // namespace tarn::document
