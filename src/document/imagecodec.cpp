// Picture files in and out: GIF through giflib, JPEG through libjpeg, PNG
// through libpng (read only), Windows bitmaps by hand, and the picture size a metafile header announces. Every
// decoder treats its input as hostile: sizes are checked against what the
// bytes could hold before anything is allocated, and library errors come back
// as nullopt instead of ending the program.
#include "document/imagecodec.h"

#include <gif_lib.h>
#include <jerror.h>
#include <jpeglib.h>
#include <png.h>

#include <algorithm>
#include <array>
#include <bit>
#include <csetjmp>
#include <cstddef>
#include <cstdio>  // jpeglib.h uses FILE and size_t without including them.
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tarn::document {
namespace {

// No picture a hypertext embeds comes near this; anything larger is a damaged
// or hostile header, refused before we allocate for it (64 Mpx is 256 MB).
constexpr std::int64_t kMaxPixels = std::int64_t{64} * 1024 * 1024;

constexpr std::uint32_t kOpaque = 0xFF000000u;
constexpr std::uint32_t kOpaqueBlack = 0xFF000000u;
constexpr std::uint32_t kTransparentPixel = 0x00000000u;
constexpr std::uint8_t kWhite = 0xFF;

// ---------------------------------------------------------------------------
// Checked little-endian reads: a field partly or wholly past the end reads as
// zero, so no parser can step outside its input even if a check is missed.

std::uint8_t ByteAt(std::string_view bytes, std::size_t at) {
  return at < bytes.size() ? static_cast<std::uint8_t>(bytes[at]) : 0;
}
std::uint16_t U16At(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint16_t>(ByteAt(bytes, at) | (ByteAt(bytes, at + 1) << 8));
}
std::int16_t I16At(std::string_view bytes, std::size_t at) {
  return static_cast<std::int16_t>(U16At(bytes, at));
}
std::uint32_t U32At(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint32_t>(U16At(bytes, at)) |
         (static_cast<std::uint32_t>(U16At(bytes, at + 2)) << 16);
}
std::int32_t I32At(std::string_view bytes, std::size_t at) {
  return static_cast<std::int32_t>(U32At(bytes, at));
}
bool Holds(std::string_view bytes, std::size_t at, std::size_t count) {
  return at <= bytes.size() && count <= bytes.size() - at;
}

void AppendLe16(std::string& out, std::uint16_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>(value >> 8));
}
void AppendLe32(std::string& out, std::uint32_t value) {
  AppendLe16(out, static_cast<std::uint16_t>(value & 0xFFFF));
  AppendLe16(out, static_cast<std::uint16_t>(value >> 16));
}

// ---------------------------------------------------------------------------
// Pixels.

constexpr std::uint32_t Argb(std::uint32_t r, std::uint32_t g, std::uint32_t b, std::uint32_t a = 0xFF) {
  return (a << 24) | (r << 16) | (g << 8) | b;
}
constexpr std::uint8_t Alpha(std::uint32_t argb) { return static_cast<std::uint8_t>(argb >> 24); }
constexpr std::uint8_t Red(std::uint32_t argb) { return static_cast<std::uint8_t>(argb >> 16); }
constexpr std::uint8_t Green(std::uint32_t argb) { return static_cast<std::uint8_t>(argb >> 8); }
constexpr std::uint8_t Blue(std::uint32_t argb) { return static_cast<std::uint8_t>(argb); }

bool HasConsistentPixels(const base::Bitmap& bitmap) {
  return !bitmap.Empty() && bitmap.pixels.size() == static_cast<std::size_t>(bitmap.width) *
                                                        static_cast<std::size_t>(bitmap.height);
}

// Alpha only means something when the bitmap says it is transparent; a bitmap
// built without thinking about alpha (0x00RRGGBB) must not come out blank.
bool IsTransparentPixel(const base::Bitmap& bitmap, std::uint32_t argb) {
  return bitmap.transparent && Alpha(argb) == 0;
}

// The colour a pixel shows on a white page: formats without transparency get
// what the reader would have seen behind the picture.
std::uint32_t OnWhite(const base::Bitmap& bitmap, std::uint32_t argb) {
  if (!bitmap.transparent || Alpha(argb) == 0xFF) return argb | kOpaque;
  const std::uint32_t a = Alpha(argb);
  auto blend = [a](std::uint32_t c) { return (c * a + kWhite * (255 - a) + 127) / 255; };
  return Argb(blend(Red(argb)), blend(Green(argb)), blend(Blue(argb)));
}

void MarkTransparency(base::Bitmap& bitmap) {
  bitmap.transparent = std::any_of(bitmap.pixels.begin(), bitmap.pixels.end(),
                                   [](std::uint32_t p) { return Alpha(p) != 0xFF; });
}

// ---------------------------------------------------------------------------
// PNG reading.

constexpr std::string_view kPngSignature("\x89PNG\r\n\x1A\n", 8);
// Deflate makes at most 1032 bytes of one, and a pixel takes at least one
// bit: a file cannot describe more pixels than this per byte of itself.
constexpr std::int64_t kPngPixelsPerByte = std::int64_t{1032} * 8;

// ---------------------------------------------------------------------------
// GIF reading.

// An LZW code is at most 12 bits and expands to at most 4096 pixels, so a
// file cannot describe more than this many pixels per byte of itself.
constexpr std::int64_t kGifPixelsPerByte = 4096 * 8 / 12 + 1;
constexpr int kGifMaxSide = 0xFFFF;

struct GifMemoryReader {
  std::string_view bytes;
  std::size_t position = 0;
};

int ReadGifBytes(GifFileType* gif, GifByteType* out, int count) {
  auto* reader = static_cast<GifMemoryReader*>(gif->UserData);
  if (count <= 0) return 0;
  const std::size_t n = std::min(static_cast<std::size_t>(count), reader->bytes.size() - reader->position);
  std::memcpy(out, reader->bytes.data() + reader->position, n);
  reader->position += n;
  return static_cast<int>(n);
}

struct GifDecoderCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};
using GifDecoder = std::unique_ptr<GifFileType, GifDecoderCloser>;

// Walks the records up to the first image descriptor, remembering the
// transparent index of the graphics control block that precedes it.
bool ReadUpToFirstImage(GifFileType* gif, int& transparentIndex) {
  for (;;) {
    GifRecordType type = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif, &type) == GIF_ERROR) return false;
    if (type == IMAGE_DESC_RECORD_TYPE) return DGifGetImageDesc(gif) != GIF_ERROR;
    if (type != EXTENSION_RECORD_TYPE) return false;  // Trailer before any image.

    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return false;
    if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr) {
      GraphicsControlBlock control{};
      if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK) {
        transparentIndex = control.TransparentColor;
      }
    }
    while (block != nullptr) {
      if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return false;
    }
  }
}

// Reads the frame's colour indices into display order. Interlaced frames send
// every 8th row from 0, every 8th from 4, every 4th from 2, then the odd rows.
// We read line by line instead of through the library's whole-file reader,
// which would decode every frame of an animation and whose interlace
// handling has differed between releases.
bool ReadGifIndices(GifFileType* gif, int width, int height, bool interlaced,
                    std::vector<GifPixelType>& indices) {
  indices.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
  auto readRow = [&](int y) {
    return DGifGetLine(gif, indices.data() + static_cast<std::size_t>(y) * width, width) != GIF_ERROR;
  };
  if (!interlaced) {
    for (int y = 0; y < height; ++y) {
      if (!readRow(y)) return false;
    }
    return true;
  }
  constexpr std::array<int, 4> kPassStart = {0, 4, 2, 1};
  constexpr std::array<int, 4> kPassStep = {8, 8, 4, 2};
  for (std::size_t pass = 0; pass < kPassStart.size(); ++pass) {
    for (int y = kPassStart[pass]; y < height; y += kPassStep[pass]) {
      if (!readRow(y)) return false;
    }
  }
  return true;
}

// ---------------------------------------------------------------------------
// GIF writing.

struct IndexedImage {
  std::vector<GifColorType> palette;
  std::vector<GifPixelType> indices;
  int transparentIndex = NO_TRANSPARENT_COLOR;
};

constexpr int kGifMaxColours = 256;

GifColorType ToGifColour(std::uint32_t argb) { return GifColorType{Red(argb), Green(argb), Blue(argb)}; }

// Gives each distinct colour its own index; fails when the picture needs more
// than a GIF palette holds (a transparent pixel takes one slot).
bool MapColoursExactly(const base::Bitmap& bitmap, IndexedImage& image) {
  std::unordered_map<std::uint32_t, GifPixelType> indexOf;
  bool hasTransparent = false;
  for (std::uint32_t pixel : bitmap.pixels) {
    if (IsTransparentPixel(bitmap, pixel)) {
      hasTransparent = true;
      continue;
    }
    const std::uint32_t colour = OnWhite(bitmap, pixel);
    if (indexOf.contains(colour)) continue;
    if (indexOf.size() == kGifMaxColours) return false;
    indexOf.emplace(colour, static_cast<GifPixelType>(image.palette.size()));
    image.palette.push_back(ToGifColour(colour));
  }
  if (hasTransparent) {
    if (image.palette.size() == kGifMaxColours) return false;
    image.transparentIndex = static_cast<int>(image.palette.size());
    image.palette.push_back(GifColorType{kWhite, kWhite, kWhite});
  }
  image.indices.reserve(bitmap.pixels.size());
  for (std::uint32_t pixel : bitmap.pixels) {
    image.indices.push_back(IsTransparentPixel(bitmap, pixel)
                                ? static_cast<GifPixelType>(image.transparentIndex)
                                : indexOf.at(OnWhite(bitmap, pixel)));
  }
  return true;
}

// Too many colours: the library's median-cut quantizer picks the palette. The
// last index is kept back for transparency when the picture needs it.
bool QuantizeColours(const base::Bitmap& bitmap, IndexedImage& image) {
  const std::size_t count = bitmap.pixels.size();
  std::vector<GifByteType> red(count), green(count), blue(count);
  bool hasTransparent = false;
  // Transparent pixels repeat the colour before them so that they do not
  // pull the palette towards a colour nobody sees.
  std::uint32_t previous = Argb(kWhite, kWhite, kWhite);
  for (std::size_t i = 0; i < count; ++i) {
    if (IsTransparentPixel(bitmap, bitmap.pixels[i])) {
      hasTransparent = true;
    } else {
      previous = OnWhite(bitmap, bitmap.pixels[i]);
    }
    red[i] = Red(previous);
    green[i] = Green(previous);
    blue[i] = Blue(previous);
  }

  int paletteSize = hasTransparent ? kGifMaxColours - 1 : kGifMaxColours;
  std::array<GifColorType, kGifMaxColours> palette{};
  image.indices.assign(count, 0);
  if (GifQuantizeBuffer(static_cast<unsigned>(bitmap.width), static_cast<unsigned>(bitmap.height),
                        &paletteSize, red.data(), green.data(), blue.data(), image.indices.data(),
                        palette.data()) == GIF_ERROR) {
    return false;
  }
  image.palette.assign(palette.begin(), palette.end());
  if (hasTransparent) {
    image.transparentIndex = kGifMaxColours - 1;
    image.palette[kGifMaxColours - 1] = GifColorType{kWhite, kWhite, kWhite};
    for (std::size_t i = 0; i < count; ++i) {
      if (IsTransparentPixel(bitmap, bitmap.pixels[i])) {
        image.indices[i] = static_cast<GifPixelType>(image.transparentIndex);
      }
    }
  }
  return true;
}

int WriteGifBytes(GifFileType* gif, const GifByteType* data, int count) {
  auto* out = static_cast<std::string*>(gif->UserData);
  try {
    out->append(reinterpret_cast<const char*>(data), static_cast<std::size_t>(count));
  } catch (...) {
    return 0;  // The library reports a write failure; nothing may unwind through C.
  }
  return count;
}

struct GifEncoderCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    EGifCloseFile(gif, &error);
  }
};
using GifEncoder = std::unique_ptr<GifFileType, GifEncoderCloser>;

struct ColourMapFreer {
  void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};
using ColourMap = std::unique_ptr<ColorMapObject, ColourMapFreer>;

std::optional<std::string> WriteGif(int width, int height, IndexedImage& image) {
  // A GIF palette has a power-of-two size of at least two entries.
  std::size_t paletteSize = 2;
  while (paletteSize < image.palette.size()) paletteSize *= 2;
  image.palette.resize(paletteSize, GifColorType{0, 0, 0});
  ColourMap map(GifMakeMapObject(static_cast<int>(paletteSize), image.palette.data()));
  if (!map) return std::nullopt;

  std::string out;
  int error = 0;
  GifEncoder gif(EGifOpen(&out, WriteGifBytes, &error));
  if (!gif) return std::nullopt;
  EGifSetGifVersion(gif.get(), true);
  if (EGifPutScreenDesc(gif.get(), width, height, 8, 0, map.get()) == GIF_ERROR) {
    return std::nullopt;
  }
  if (image.transparentIndex != NO_TRANSPARENT_COLOR) {
    GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, image.transparentIndex};
    std::array<GifByteType, 4> extension{};
    const std::size_t length = EGifGCBToExtension(&control, extension.data());
    if (EGifPutExtension(gif.get(), GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension.data()) ==
        GIF_ERROR) {
      return std::nullopt;
    }
  }
  if (EGifPutImageDesc(gif.get(), 0, 0, width, height, false, nullptr) == GIF_ERROR) {
    return std::nullopt;
  }
  for (int y = 0; y < height; ++y) {
    GifPixelType* row = image.indices.data() + static_cast<std::size_t>(y) * width;
    if (EGifPutLine(gif.get(), row, width) == GIF_ERROR) return std::nullopt;
  }
  // Closing writes the trailer, so it has to succeed before the bytes count.
  if (EGifCloseFile(gif.release(), &error) == GIF_ERROR) return std::nullopt;
  return out;
}

// ---------------------------------------------------------------------------
// JPEG, both directions. libjpeg reports errors by calling error_exit, which
// must not return; we jump back to a setjmp in a function that owns no C++
// objects, so the jump skips no destructor.

// Enough for the coefficient buffers of the largest picture we accept, even
// progressive and unsubsampled; beyond it libjpeg fails instead of growing.
constexpr long kJpegMemoryLimit = 512L * 1024 * 1024;
// A scan costs a pass over the whole coefficient buffer; real progressive
// files use about ten, damaged ones can claim thousands.
constexpr int kJpegMaxScans = 256;
constexpr int kJpegQualityMin = 1;
constexpr int kJpegQualityMax = 100;

struct JpegErrorManager {
  jpeg_error_mgr base;  // First, so libjpeg's pointer to it leads back here.
  std::jmp_buf escape;
};

[[noreturn]] void JpegFail(j_common_ptr info) {
  std::longjmp(reinterpret_cast<JpegErrorManager*>(info->err)->escape, 1);
}

void JpegSilence(j_common_ptr) {}

// Running out of data is only a warning to libjpeg, which paints the rest
// grey; a picture that lost its rows is damaged, so we fail instead. A file
// that lacks nothing but its end marker runs dry while its last band of rows
// is decoded; those are common and complete, so they pass.
bool IsMissingRows(j_common_ptr info) {
  const int code = info->err->msg_code;
  if ((code != JWRN_JPEG_EOF && code != JWRN_HIT_MARKER) || !info->is_decompressor) return false;
  const auto* decoder = reinterpret_cast<j_decompress_ptr>(info);
  const JDIMENSION lastBand = 2 * static_cast<JDIMENSION>(decoder->max_v_samp_factor) * DCTSIZE;
  return decoder->output_scanline + lastBand < decoder->output_height;
}

void JpegWarning(j_common_ptr info, int level) {
  if (level < 0 && IsMissingRows(info)) JpegFail(info);
}

void JpegProgress(j_common_ptr info) {
  if (!info->is_decompressor) return;
  if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kJpegMaxScans) JpegFail(info);
}

jpeg_error_mgr* InstallJpegErrors(JpegErrorManager& errors) {
  jpeg_error_mgr* base = jpeg_std_error(&errors.base);
  base->error_exit = JpegFail;
  base->output_message = JpegSilence;
  base->emit_message = JpegWarning;
  return base;
}

class JpegDecompressor {
 public:
  JpegDecompressor() {
    m_info.err = InstallJpegErrors(m_errors);
    m_progress.progress_monitor = JpegProgress;
  }
  ~JpegDecompressor() { jpeg_destroy_decompress(&m_info); }
  JpegDecompressor(const JpegDecompressor&) = delete;
  JpegDecompressor& operator=(const JpegDecompressor&) = delete;

  jpeg_decompress_struct& Info() { return m_info; }
  jpeg_progress_mgr& Progress() { return m_progress; }
  std::jmp_buf& Escape() { return m_errors.escape; }

 private:
  JpegErrorManager m_errors{};
  jpeg_progress_mgr m_progress{};
  jpeg_decompress_struct m_info{};
};

void ConvertJpegRow(const jpeg_decompress_struct& info, const JSAMPLE* row,
                    std::vector<std::uint32_t>& pixels) {
  const JDIMENSION width = info.output_width;
  if (info.out_color_space == JCS_CMYK) {
    // Adobe writes CMYK inverted, and nearly every CMYK JPEG comes from Adobe.
    const bool inverted = info.saw_Adobe_marker;
    for (JDIMENSION x = 0; x < width; ++x) {
      const JSAMPLE* p = row + 4 * static_cast<std::size_t>(x);
      auto ink = [inverted](JSAMPLE v) { return inverted ? 255u - v : static_cast<unsigned>(v); };
      const unsigned k = 255u - ink(p[3]);
      auto channel = [&](JSAMPLE v) { return ((255u - ink(v)) * k + 127) / 255; };
      pixels.push_back(Argb(channel(p[0]), channel(p[1]), channel(p[2])));
    }
    return;
  }
  for (JDIMENSION x = 0; x < width; ++x) {
    const JSAMPLE* p = row + 3 * static_cast<std::size_t>(x);
    pixels.push_back(Argb(p[0], p[1], p[2]));
  }
}

bool RunJpegDecode(JpegDecompressor& jpeg, std::string_view bytes, base::Bitmap& out,
                   std::vector<JSAMPLE>& row) {
  jpeg_decompress_struct& info = jpeg.Info();
  if (setjmp(jpeg.Escape()) != 0) return false;
  jpeg_create_decompress(&info);
  info.mem->max_memory_to_use = kJpegMemoryLimit;
  info.progress = &jpeg.Progress();
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()),
               static_cast<unsigned long>(bytes.size()));
  if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) return false;
  if (static_cast<std::int64_t>(info.image_width) * info.image_height > kMaxPixels) return false;
  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  if (!jpeg_start_decompress(&info)) return false;

  row.resize(static_cast<std::size_t>(info.output_width) * info.output_components);
  // The bitmap grows row by row instead of being sized from the header, so
  // a file that claims a huge picture and then runs dry costs little.
  while (info.output_scanline < info.output_height) {
    JSAMPROW rows[1] = {row.data()};
    if (jpeg_read_scanlines(&info, rows, 1) != 1) return false;
    ConvertJpegRow(info, row.data(), out.pixels);
  }
  out.width = static_cast<int>(info.output_width);
  out.height = static_cast<int>(info.output_height);
  // jpeg_finish_decompress would only read up to the end marker; nothing
  // after the last row matters, and destroying the decoder frees it all.
  return true;
}

// libjpeg's own memory destination leaves a dangling buffer behind when an
// error interrupts it, so compressed bytes go straight into a string.
class JpegStringDestination {
 public:
  explicit JpegStringDestination(std::string& out) : m_out(out) {
    m_manager.init_destination = Init;
    m_manager.empty_output_buffer = Empty;
    m_manager.term_destination = Term;
  }
  void Attach(jpeg_compress_struct& info) {
    info.dest = &m_manager;
    info.client_data = this;
  }

 private:
  static JpegStringDestination& Self(j_compress_ptr info) {
    return *static_cast<JpegStringDestination*>(info->client_data);
  }
  static void Init(j_compress_ptr info) {
    JpegStringDestination& self = Self(info);
    self.m_manager.next_output_byte = self.m_buffer.data();
    self.m_manager.free_in_buffer = self.m_buffer.size();
  }
  static boolean Empty(j_compress_ptr info) {
    // libjpeg expects the whole buffer flushed here, whatever free_in_buffer says.
    if (!Self(info).Flush(Self(info).m_buffer.size())) JpegFail(reinterpret_cast<j_common_ptr>(info));
    Init(info);
    return TRUE;
  }
  static void Term(j_compress_ptr info) {
    JpegStringDestination& self = Self(info);
    if (!self.Flush(self.m_buffer.size() - self.m_manager.free_in_buffer)) {
      JpegFail(reinterpret_cast<j_common_ptr>(info));
    }
  }
  bool Flush(std::size_t count) {
    try {
      m_out.append(reinterpret_cast<const char*>(m_buffer.data()), count);
    } catch (...) {
      return false;  // Out of memory; the jump must not start inside a catch block.
    }
    return true;
  }

  jpeg_destination_mgr m_manager{};
  std::string& m_out;
  std::array<JOCTET, 16384> m_buffer{};
};

class JpegCompressor {
 public:
  explicit JpegCompressor(std::string& out) : m_destination(out) { m_info.err = InstallJpegErrors(m_errors); }
  ~JpegCompressor() { jpeg_destroy_compress(&m_info); }
  JpegCompressor(const JpegCompressor&) = delete;
  JpegCompressor& operator=(const JpegCompressor&) = delete;

  jpeg_compress_struct& Info() { return m_info; }
  JpegStringDestination& Destination() { return m_destination; }
  std::jmp_buf& Escape() { return m_errors.escape; }

 private:
  JpegErrorManager m_errors{};
  JpegStringDestination m_destination;
  jpeg_compress_struct m_info{};
};

bool RunJpegEncode(JpegCompressor& jpeg, const base::Bitmap& bitmap, int quality, std::vector<JSAMPLE>& row) {
  jpeg_compress_struct& info = jpeg.Info();
  if (setjmp(jpeg.Escape()) != 0) return false;
  jpeg_create_compress(&info);
  jpeg.Destination().Attach(info);
  info.image_width = static_cast<JDIMENSION>(bitmap.width);
  info.image_height = static_cast<JDIMENSION>(bitmap.height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    const std::size_t y = info.next_scanline;
    for (std::size_t x = 0; x < static_cast<std::size_t>(bitmap.width); ++x) {
      const std::uint32_t colour = OnWhite(bitmap, bitmap.pixels[y * bitmap.width + x]);
      row[3 * x] = Red(colour);
      row[3 * x + 1] = Green(colour);
      row[3 * x + 2] = Blue(colour);
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  return true;
}

// ---------------------------------------------------------------------------
// Windows bitmaps.

constexpr std::size_t kBmpFileHeaderSize = 14;
constexpr std::size_t kBmpPixelOffsetField = 10;
constexpr std::uint32_t kBmpCoreHeaderSize = 12;
constexpr std::uint32_t kBmpInfoHeaderSize = 40;
constexpr std::uint32_t kBmpHeaderWithMasksSize = 52;
constexpr std::uint32_t kBmpHeaderWithAlphaMaskSize = 56;

// Offsets inside the info header (and its V4/V5 extensions).
constexpr std::size_t kBiWidth = 4;
constexpr std::size_t kBiHeight = 8;
constexpr std::size_t kBiBitCount = 14;
constexpr std::size_t kBiCompression = 16;
constexpr std::size_t kBiClrUsed = 32;
constexpr std::size_t kBiMasks = 40;
// Offsets inside the old OS/2-style core header.
constexpr std::size_t kBcWidth = 4;
constexpr std::size_t kBcHeight = 6;
constexpr std::size_t kBcBitCount = 10;

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiAlphaBitfields = 6;

// A run covers at most 255 pixels per two bytes. Jumps and an early end
// cover more, but a picture that is almost all skipped is far more likely a
// damaged header than a real picture, so anything past eight times the
// densest runs is refused before the bitmap is allocated.
constexpr std::int64_t kBmpRlePixelsPerByte = 1024;

// 96 dots per inch, in the pixels per metre the header wants.
constexpr std::int32_t kBmpPixelsPerMetre = 3780;

struct BmpChannel {
  std::uint32_t mask = 0;
  int shift = 0;
  int bits = 0;

  explicit BmpChannel(std::uint32_t m) : mask(m) {
    if (mask == 0) return;
    shift = std::countr_zero(mask);
    bits = std::bit_width(mask >> shift);
  }
  // Scales the field to 0..255; wide fields keep their top eight bits.
  std::uint32_t Extract(std::uint32_t value, std::uint32_t ifAbsent = 0) const {
    if (mask == 0) return ifAbsent;
    const std::uint32_t field = (value & mask) >> shift;
    if (bits > 8) return field >> (bits - 8);
    const std::uint32_t max = (1u << bits) - 1;
    return (field * 255 + max / 2) / max;
  }
};

struct BmpLayout {
  std::int64_t width = 0;
  std::int64_t height = 0;
  bool topDown = false;
  int bitCount = 0;
  std::uint32_t compression = kBiRgb;
  std::array<std::uint32_t, 4> masks{};  // Red, green, blue, alpha.
  std::vector<std::uint32_t> palette;
  std::size_t pixelOffset = 0;

  bool IsRunLength() const { return compression == kBiRle8 || compression == kBiRle4; }
  std::int64_t Stride() const { return (width * bitCount + 31) / 32 * 4; }
  // Bytes of uncompressed pixels; the last row may lack the padding that
  // some writers drop.
  std::int64_t PixelBytes() const { return Stride() * (height - 1) + (width * bitCount + 7) / 8; }
  std::uint32_t PaletteColour(std::uint32_t index) const {
    return index < palette.size() ? palette[index] : kOpaqueBlack;
  }
};

bool IsSupportedBmpDepth(int bitCount, std::uint32_t compression) {
  switch (compression) {
    case kBiRgb:
      return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 ||
             bitCount == 32;
    case kBiRle8:
      return bitCount == 8;
    case kBiRle4:
      return bitCount == 4;
    case kBiBitfields:
    case kBiAlphaBitfields:
      return bitCount == 16 || bitCount == 24 || bitCount == 32;
    default:
      return false;  // Embedded JPEG/PNG and OS/2 Huffman are not ours to read.
  }
}

void SetDefaultMasks(BmpLayout& layout) {
  if (layout.bitCount == 16) {
    layout.masks = {0x7C00, 0x03E0, 0x001F, 0};
  } else {
    layout.masks = {0xFF0000, 0x00FF00, 0x0000FF, 0};
  }
}

// Reads the palette entries that are actually present, up to what the depth
// can index; a short palette leaves the missing colours black.
bool ReadBmpPalette(std::string_view bytes, std::size_t start, std::size_t entrySize,
                    std::uint32_t colourCount, BmpLayout& layout) {
  const std::size_t depthLimit = std::size_t{1} << layout.bitCount;
  std::size_t wanted = colourCount == 0 ? depthLimit : std::min<std::size_t>(colourCount, depthLimit);
  std::size_t end = bytes.size();
  const std::size_t declaredOffset = U32At(bytes, kBmpPixelOffsetField);
  if (declaredOffset >= start && declaredOffset < end) end = declaredOffset;
  if (start > end) return false;
  wanted = std::min(wanted, (end - start) / entrySize);
  if (wanted == 0) return false;
  for (std::size_t i = 0; i < wanted; ++i) {
    const std::size_t at = start + i * entrySize;
    layout.palette.push_back(Argb(ByteAt(bytes, at + 2), ByteAt(bytes, at + 1), ByteAt(bytes, at)));
  }
  return true;
}

std::optional<BmpLayout> ReadBmpLayout(std::string_view bytes) {
  if (!Holds(bytes, 0, kBmpFileHeaderSize + 4) || bytes[0] != 'B' || bytes[1] != 'M') {
    return std::nullopt;
  }
  const std::size_t header = kBmpFileHeaderSize;
  const std::uint32_t headerSize = U32At(bytes, header);
  if (!Holds(bytes, header, headerSize)) return std::nullopt;

  BmpLayout layout;
  std::size_t paletteEntrySize = 4;
  std::uint32_t colourCount = 0;
  std::size_t afterHeader = header + headerSize;
  if (headerSize == kBmpCoreHeaderSize) {
    layout.width = U16At(bytes, header + kBcWidth);
    layout.height = U16At(bytes, header + kBcHeight);
    layout.bitCount = U16At(bytes, header + kBcBitCount);
    paletteEntrySize = 3;
  } else if (headerSize >= kBmpInfoHeaderSize) {
    layout.width = I32At(bytes, header + kBiWidth);
    const std::int32_t height = I32At(bytes, header + kBiHeight);
    layout.topDown = height < 0;
    layout.height = std::abs(static_cast<std::int64_t>(height));
    layout.bitCount = U16At(bytes, header + kBiBitCount);
    layout.compression = U32At(bytes, header + kBiCompression);
    colourCount = U32At(bytes, header + kBiClrUsed);
  } else {
    return std::nullopt;
  }
  if (layout.width <= 0 || layout.height <= 0 || layout.width * layout.height > kMaxPixels ||
      !IsSupportedBmpDepth(layout.bitCount, layout.compression)) {
    return std::nullopt;
  }

  SetDefaultMasks(layout);
  if (layout.compression == kBiBitfields || layout.compression == kBiAlphaBitfields) {
    const std::size_t maskCount = layout.compression == kBiAlphaBitfields ? 4 : 3;
    // Version 2 and later headers carry the masks; the plain info header is
    // followed by them instead.
    const std::size_t masksAt = headerSize >= kBmpHeaderWithMasksSize ? header + kBiMasks : afterHeader;
    if (!Holds(bytes, masksAt, 4 * maskCount)) return std::nullopt;
    for (std::size_t i = 0; i < maskCount; ++i) layout.masks[i] = U32At(bytes, masksAt + 4 * i);
    if (headerSize >= kBmpHeaderWithAlphaMaskSize) layout.masks[3] = U32At(bytes, header + kBiMasks + 12);
    if (headerSize < kBmpHeaderWithMasksSize) afterHeader += 4 * maskCount;
  }

  if (layout.bitCount <= 8 && !ReadBmpPalette(bytes, afterHeader, paletteEntrySize, colourCount, layout)) {
    return std::nullopt;
  }
  const std::size_t paletteEnd = afterHeader + layout.palette.size() * paletteEntrySize;
  // Some writers leave the offset zero; the pixels then follow the palette.
  const std::size_t declaredOffset = U32At(bytes, kBmpPixelOffsetField);
  layout.pixelOffset = declaredOffset >= header + headerSize ? declaredOffset : paletteEnd;
  if (layout.pixelOffset > bytes.size()) return std::nullopt;
  // The data must be able to describe the picture before anything is
  // allocated: every pixel when uncompressed, a plausible share when not.
  const auto dataSize = static_cast<std::int64_t>(bytes.size() - layout.pixelOffset);
  if (layout.IsRunLength() ? layout.width * layout.height > dataSize * kBmpRlePixelsPerByte
                           : layout.PixelBytes() > dataSize) {
    return std::nullopt;
  }
  return layout;
}

std::uint32_t ReadBmpDirectColour(const BmpLayout& layout, const unsigned char* p,
                                  const std::array<BmpChannel, 4>& channels) {
  std::uint32_t value = 0;
  for (int i = 0; i < layout.bitCount / 8; ++i) value |= static_cast<std::uint32_t>(p[i]) << (8 * i);
  return Argb(channels[0].Extract(value), channels[1].Extract(value), channels[2].Extract(value),
              channels[3].Extract(value, 0xFF));
}

// ReadBmpLayout has checked that the input holds every row.
void DecodeBmpUncompressed(std::string_view bytes, const BmpLayout& layout, base::Bitmap& out) {
  const std::int64_t stride = layout.Stride();
  const std::array<BmpChannel, 4> channels = {BmpChannel(layout.masks[0]), BmpChannel(layout.masks[1]),
                                              BmpChannel(layout.masks[2]), BmpChannel(layout.masks[3])};
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data()) + layout.pixelOffset;
  for (std::int64_t row = 0; row < layout.height; ++row) {
    const unsigned char* src = data + row * stride;
    const std::int64_t y = layout.topDown ? row : layout.height - 1 - row;
    std::uint32_t* dst = out.pixels.data() + y * layout.width;
    for (std::int64_t x = 0; x < layout.width; ++x) {
      switch (layout.bitCount) {
        case 1:
          dst[x] = layout.PaletteColour((src[x / 8] >> (7 - x % 8)) & 1);
          break;
        case 4:
          dst[x] = layout.PaletteColour((src[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0xF);
          break;
        case 8:
          dst[x] = layout.PaletteColour(src[x]);
          break;
        default:
          dst[x] = ReadBmpDirectColour(layout, src + x * (layout.bitCount / 8), channels);
      }
    }
  }
  // Many writers leave the alpha field zero throughout; such a picture was
  // never meant to be invisible.
  if (layout.masks[3] != 0 &&
      std::all_of(out.pixels.begin(), out.pixels.end(), [](std::uint32_t p) { return Alpha(p) == 0; })) {
    for (std::uint32_t& p : out.pixels) p |= kOpaque;
  }
}

// Run-length bitmaps: pairs of (count, index) runs, with escapes for end of
// line, end of picture, a jump, and a stretch of literal indices. Pixels the
// stream jumps over stay transparent, as they show the page behind them.
bool DecodeBmpRle(std::string_view bytes, const BmpLayout& layout, base::Bitmap& out) {
  constexpr std::uint8_t kEscape = 0;
  constexpr std::uint8_t kEndOfLine = 0;
  constexpr std::uint8_t kEndOfBitmap = 1;
  constexpr std::uint8_t kDelta = 2;
  const bool fourBit = layout.compression == kBiRle4;
  std::int64_t x = 0;
  std::int64_t row = 0;
  auto put = [&](std::int64_t px, std::uint32_t index) {
    if (px >= layout.width || row >= layout.height) return;
    const std::int64_t y = layout.topDown ? row : layout.height - 1 - row;
    out.pixels[static_cast<std::size_t>(y * layout.width + px)] = layout.PaletteColour(index);
  };
  auto nibble = [fourBit](std::uint8_t value, std::int64_t i) -> std::uint32_t {
    if (!fourBit) return value;
    return i % 2 == 0 ? value >> 4 : value & 0xF;
  };

  std::size_t pos = layout.pixelOffset;
  while (row < layout.height) {
    if (!Holds(bytes, pos, 2)) return false;  // Ended before the picture did.
    const std::uint8_t count = ByteAt(bytes, pos);
    const std::uint8_t value = ByteAt(bytes, pos + 1);
    pos += 2;
    if (count != kEscape) {
      const std::int64_t visible = std::min<std::int64_t>(count, std::max<std::int64_t>(0, layout.width - x));
      for (std::int64_t i = 0; i < visible; ++i) put(x + i, nibble(value, i));
      x += count;
      continue;
    }
    if (value == kEndOfLine) {
      x = 0;
      ++row;
    } else if (value == kEndOfBitmap) {
      return true;
    } else if (value == kDelta) {
      if (!Holds(bytes, pos, 2)) return false;
      x += ByteAt(bytes, pos);
      row += ByteAt(bytes, pos + 1);
      pos += 2;
    } else {
      // A literal stretch of `value` indices, padded to a 16-bit boundary.
      const std::size_t length = fourBit ? (value + 1u) / 2 : value;
      if (!Holds(bytes, pos, length)) return false;
      for (std::int64_t i = 0; i < value; ++i) {
        const std::uint8_t byte = ByteAt(bytes, pos + static_cast<std::size_t>(fourBit ? i / 2 : i));
        put(x + i, nibble(byte, i));
      }
      x += value;
      pos += length + (length % 2);
    }
  }
  return true;
}

// ---------------------------------------------------------------------------
// Metafiles.

constexpr std::uint32_t kPlaceableWmfKey = 0x9AC6CDD7;
constexpr std::size_t kPlaceableWmfHeaderSize = 22;
constexpr std::size_t kWmfLeft = 6;
constexpr std::size_t kWmfTop = 8;
constexpr std::size_t kWmfRight = 10;
constexpr std::size_t kWmfBottom = 12;
constexpr std::size_t kWmfInch = 14;

constexpr std::uint32_t kEmrHeader = 1;
constexpr std::uint32_t kEmfSignature = 0x464D4520;  // " EMF"
constexpr std::size_t kEmfBounds = 8;
constexpr std::size_t kEmfFrame = 24;
constexpr std::size_t kEmfSignatureAt = 40;
// The frame is in hundredths of a millimetre.
constexpr std::int64_t kEmfFrameUnitsPerInch = 2540;

constexpr std::int64_t kScreenDpi = 96;

bool IsPlaceableWmf(std::string_view bytes) {
  return Holds(bytes, 0, 4) && U32At(bytes, 0) == kPlaceableWmfKey;
}

// A bare WMF starts with its type (memory or disk), header size in words and
// format version.
bool IsBareWmf(std::string_view bytes) {
  constexpr std::uint16_t kHeaderWords = 9;
  const std::uint16_t type = U16At(bytes, 0);
  const std::uint16_t version = U16At(bytes, 4);
  return Holds(bytes, 0, 18) && (type == 1 || type == 2) && U16At(bytes, 2) == kHeaderWords &&
         (version == 0x0100 || version == 0x0300);
}

bool IsEmf(std::string_view bytes) {
  return Holds(bytes, 0, kEmfSignatureAt + 4) && U32At(bytes, 0) == kEmrHeader &&
         U32At(bytes, kEmfSignatureAt) == kEmfSignature;
}

// Rounds units * 96 / perInch to the nearest pixel.
std::int64_t ToScreenPixels(std::int64_t units, std::int64_t perInch) {
  return (units * kScreenDpi + perInch / 2) / perInch;
}

std::optional<std::pair<int, int>> CheckedSize(std::int64_t width, std::int64_t height) {
  if (width <= 0 || height <= 0 || width * height > kMaxPixels) return std::nullopt;
  return std::pair<int, int>{static_cast<int>(width), static_cast<int>(height)};
}

std::optional<std::pair<int, int>> PlaceableWmfSize(std::string_view bytes) {
  if (!Holds(bytes, 0, kPlaceableWmfHeaderSize)) return std::nullopt;
  const std::int64_t inch = U16At(bytes, kWmfInch);
  if (inch == 0) return std::nullopt;
  const std::int64_t width = std::abs(std::int64_t{I16At(bytes, kWmfRight)} - I16At(bytes, kWmfLeft));
  const std::int64_t height = std::abs(std::int64_t{I16At(bytes, kWmfBottom)} - I16At(bytes, kWmfTop));
  return CheckedSize(ToScreenPixels(width, inch), ToScreenPixels(height, inch));
}

std::optional<std::pair<int, int>> EmfSize(std::string_view bytes) {
  auto extent = [&](std::size_t rect, std::size_t from, std::size_t to) {
    return std::int64_t{I32At(bytes, rect + to)} - I32At(bytes, rect + from);
  };
  const std::int64_t frameWidth = extent(kEmfFrame, 0, 8);
  const std::int64_t frameHeight = extent(kEmfFrame, 4, 12);
  if (frameWidth > 0 && frameHeight > 0) {
    return CheckedSize(ToScreenPixels(frameWidth, kEmfFrameUnitsPerInch),
                       ToScreenPixels(frameHeight, kEmfFrameUnitsPerInch));
  }
  // The bounds are in device pixels and include both edges.
  return CheckedSize(extent(kEmfBounds, 0, 8) + 1, extent(kEmfBounds, 4, 12) + 1);
}

}  // namespace

// ---------------------------------------------------------------------------

ImageFormat SniffImageFormat(std::string_view bytes) {
  if (bytes.starts_with("GIF87a") || bytes.starts_with("GIF89a")) return ImageFormat::Gif;
  if (bytes.starts_with("\xFF\xD8\xFF")) return ImageFormat::Jpeg;
  if (bytes.starts_with("BM")) return ImageFormat::Bmp;
  if (bytes.starts_with(kPngSignature)) return ImageFormat::Png;
  if (IsPlaceableWmf(bytes) || IsBareWmf(bytes)) return ImageFormat::Wmf;
  if (IsEmf(bytes)) return ImageFormat::Emf;
  return ImageFormat::Unknown;
}

std::optional<base::Bitmap> DecodeGif(std::string_view bytes) {
  GifMemoryReader reader{bytes};
  int error = 0;
  GifDecoder gif(DGifOpen(&reader, ReadGifBytes, &error));
  if (!gif) return std::nullopt;
  int transparentIndex = NO_TRANSPARENT_COLOR;
  if (!ReadUpToFirstImage(gif.get(), transparentIndex)) return std::nullopt;

  const GifImageDesc& frame = gif->Image;
  if (frame.Width <= 0 || frame.Height <= 0 || frame.Left < 0 || frame.Top < 0) return std::nullopt;
  // A frame that spills over the logical screen widens it rather than being
  // cut; damaged files are more often wrong about the screen than the frame.
  const std::int64_t width = std::max<std::int64_t>(gif->SWidth, std::int64_t{frame.Left} + frame.Width);
  const std::int64_t height = std::max<std::int64_t>(gif->SHeight, std::int64_t{frame.Top} + frame.Height);
  const std::int64_t limit =
      std::min(kMaxPixels, static_cast<std::int64_t>(bytes.size()) * kGifPixelsPerByte);
  if (width * height > limit) return std::nullopt;
  const ColorMapObject* colours = frame.ColorMap != nullptr ? frame.ColorMap : gif->SColorMap;
  if (colours == nullptr || colours->Colors == nullptr) return std::nullopt;

  std::vector<GifPixelType> indices;
  if (!ReadGifIndices(gif.get(), frame.Width, frame.Height, frame.Interlace, indices)) {
    return std::nullopt;
  }

  base::Bitmap bitmap;
  bitmap.width = static_cast<int>(width);
  bitmap.height = static_cast<int>(height);
  // Canvas the frame does not cover shows what is behind the picture.
  bitmap.pixels.assign(static_cast<std::size_t>(width * height), kTransparentPixel);
  for (int y = 0; y < frame.Height; ++y) {
    const GifPixelType* src = indices.data() + static_cast<std::size_t>(y) * frame.Width;
    std::uint32_t* dst = bitmap.pixels.data() + static_cast<std::size_t>(frame.Top + y) * width + frame.Left;
    for (int x = 0; x < frame.Width; ++x) {
      const int index = src[x];
      if (index == transparentIndex) {
        dst[x] = kTransparentPixel;
      } else if (index < colours->ColorCount) {
        const GifColorType& c = colours->Colors[index];
        dst[x] = Argb(c.Red, c.Green, c.Blue);
      } else {
        dst[x] = kOpaqueBlack;  // An index past the palette; show something.
      }
    }
  }
  MarkTransparency(bitmap);
  return bitmap;
}

int CountGifFrames(std::string_view bytes, int limit) {
  GifMemoryReader reader{bytes};
  int error = 0;
  GifDecoder gif(DGifOpen(&reader, ReadGifBytes, &error));
  if (!gif) return 0;
  int frames = 0;
  while (frames < limit) {
    GifRecordType type = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR) break;
    if (type == IMAGE_DESC_RECORD_TYPE) {
      if (DGifGetImageDesc(gif.get()) == GIF_ERROR) break;
      // The frame's data is skipped as compressed blocks, not decoded.
      int codeSize = 0;
      GifByteType* block = nullptr;
      if (DGifGetCode(gif.get(), &codeSize, &block) == GIF_ERROR) break;
      while (block != nullptr) {
        if (DGifGetCodeNext(gif.get(), &block) == GIF_ERROR) return frames;
      }
      ++frames;
    } else if (type == EXTENSION_RECORD_TYPE) {
      int code = 0;
      GifByteType* block = nullptr;
      if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR) break;
      while (block != nullptr) {
        if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR) return frames;
      }
    } else {
      break;
    }
  }
  return frames;
}

std::optional<base::Bitmap> DecodeJpeg(std::string_view bytes) {
  base::Bitmap bitmap;
  std::vector<JSAMPLE> row;
  JpegDecompressor jpeg;
  if (!RunJpegDecode(jpeg, bytes, bitmap, row)) return std::nullopt;
  if (bitmap.Empty()) return std::nullopt;
  return bitmap;
}

std::optional<base::Bitmap> DecodeBmp(std::string_view bytes) {
  const std::optional<BmpLayout> layout = ReadBmpLayout(bytes);
  if (!layout) return std::nullopt;
  base::Bitmap bitmap;
  bitmap.width = static_cast<int>(layout->width);
  bitmap.height = static_cast<int>(layout->height);
  bitmap.pixels.assign(static_cast<std::size_t>(layout->width * layout->height), kTransparentPixel);
  if (!layout->IsRunLength()) {
    DecodeBmpUncompressed(bytes, *layout, bitmap);
  } else if (!DecodeBmpRle(bytes, *layout, bitmap)) {
    return std::nullopt;
  }
  MarkTransparency(bitmap);
  return bitmap;
}

std::optional<base::Bitmap> DecodePng(std::string_view bytes) {
  // The simplified interface reports errors by its answers and frees its
  // state when it fails; the guard frees it on every other way out.
  struct PngImage {
    png_image image{};
    ~PngImage() { png_image_free(&image); }
  } png;
  png.image.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_memory(&png.image, bytes.data(), bytes.size()) == 0) return std::nullopt;
  const std::int64_t width = png.image.width;
  const std::int64_t height = png.image.height;
  const std::int64_t limit = std::min(kMaxPixels, static_cast<std::int64_t>(bytes.size()) * kPngPixelsPerByte);
  if (width <= 0 || height <= 0 || width * height > limit) return std::nullopt;
  // Bytes in the order that makes each pixel a native 0xAARRGGBB.
  png.image.format = std::endian::native == std::endian::little ? PNG_FORMAT_BGRA : PNG_FORMAT_ARGB;
  base::Bitmap bitmap;
  bitmap.width = static_cast<int>(width);
  bitmap.height = static_cast<int>(height);
  bitmap.pixels.assign(static_cast<std::size_t>(width * height), kTransparentPixel);
  if (png_image_finish_read(&png.image, nullptr, bitmap.pixels.data(), 0, nullptr) == 0) return std::nullopt;
  MarkTransparency(bitmap);
  return bitmap;
}

std::optional<base::Bitmap> DecodeImage(std::string_view bytes) {
  switch (SniffImageFormat(bytes)) {
    case ImageFormat::Gif:
      return DecodeGif(bytes);
    case ImageFormat::Jpeg:
      return DecodeJpeg(bytes);
    case ImageFormat::Bmp:
      return DecodeBmp(bytes);
    case ImageFormat::Png:
      return DecodePng(bytes);
    case ImageFormat::Wmf:
    case ImageFormat::Emf:
    case ImageFormat::Unknown:
      return std::nullopt;
  }
  return std::nullopt;
}

std::optional<std::pair<int, int>> MetafileSize(std::string_view bytes) {
  if (IsPlaceableWmf(bytes)) return PlaceableWmfSize(bytes);
  if (IsEmf(bytes)) return EmfSize(bytes);
  // A bare WMF states its size only in drawing records, in its own units.
  return std::nullopt;
}

std::optional<std::string> EncodeGif(const base::Bitmap& bitmap) {
  if (!HasConsistentPixels(bitmap) || bitmap.width > kGifMaxSide || bitmap.height > kGifMaxSide) {
    return std::nullopt;
  }
  IndexedImage image;
  if (!MapColoursExactly(bitmap, image)) {
    image = IndexedImage{};
    if (!QuantizeColours(bitmap, image)) return std::nullopt;
  }
  return WriteGif(bitmap.width, bitmap.height, image);
}

bool FitsGifPalette(const base::Bitmap& bitmap) {
  IndexedImage image;
  return HasConsistentPixels(bitmap) && MapColoursExactly(bitmap, image);
}

std::optional<std::string> EncodeJpeg(const base::Bitmap& bitmap, int quality) {
  if (!HasConsistentPixels(bitmap) || bitmap.width > JPEG_MAX_DIMENSION ||
      bitmap.height > JPEG_MAX_DIMENSION) {
    return std::nullopt;
  }
  std::string out;
  std::vector<JSAMPLE> row(3 * static_cast<std::size_t>(bitmap.width));
  {
    JpegCompressor jpeg(out);
    if (!RunJpegEncode(jpeg, bitmap, std::clamp(quality, kJpegQualityMin, kJpegQualityMax), row)) {
      return std::nullopt;
    }
  }
  return out;
}

std::string EncodeBmp(const base::Bitmap& bitmap) {
  if (!HasConsistentPixels(bitmap)) return {};
  constexpr std::uint32_t kHeadersSize = kBmpFileHeaderSize + kBmpInfoHeaderSize;
  constexpr std::uint16_t kBitCount = 24;
  const std::uint64_t stride = (static_cast<std::uint64_t>(bitmap.width) * 3 + 3) & ~std::uint64_t{3};
  const std::uint64_t imageSize = stride * static_cast<std::uint64_t>(bitmap.height);
  if (kHeadersSize + imageSize > std::numeric_limits<std::uint32_t>::max()) return {};

  std::string out;
  out.reserve(kHeadersSize + imageSize);
  out += "BM";
  AppendLe32(out, static_cast<std::uint32_t>(kHeadersSize + imageSize));
  AppendLe32(out, 0);  // Two reserved words.
  AppendLe32(out, kHeadersSize);
  AppendLe32(out, kBmpInfoHeaderSize);
  AppendLe32(out, static_cast<std::uint32_t>(bitmap.width));
  AppendLe32(out, static_cast<std::uint32_t>(bitmap.height));  // Positive: bottom row first.
  AppendLe16(out, 1);                                          // Planes.
  AppendLe16(out, kBitCount);
  AppendLe32(out, kBiRgb);
  AppendLe32(out, static_cast<std::uint32_t>(imageSize));
  AppendLe32(out, static_cast<std::uint32_t>(kBmpPixelsPerMetre));
  AppendLe32(out, static_cast<std::uint32_t>(kBmpPixelsPerMetre));
  AppendLe32(out, 0);  // Colours used: no palette.
  AppendLe32(out, 0);  // Important colours: all.

  const std::size_t padding = stride - static_cast<std::size_t>(bitmap.width) * 3;
  for (int y = bitmap.height - 1; y >= 0; --y) {
    for (int x = 0; x < bitmap.width; ++x) {
      const std::uint32_t colour = OnWhite(bitmap, bitmap.At(x, y));
      out.push_back(static_cast<char>(Blue(colour)));
      out.push_back(static_cast<char>(Green(colour)));
      out.push_back(static_cast<char>(Red(colour)));
    }
    out.append(padding, '\0');
  }
  return out;
}

}  // namespace tarn::document
