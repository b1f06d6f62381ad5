// Shared fixtures of the document tests; see testfixtures.h.
#include "document/testfixtures.h"

#include <png.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>

#include "base/filestream.h"
#include "document/imagecodec.h"
#include "document/objectkinds.h"

namespace tarn::testing {
namespace fs = std::filesystem;
namespace {
std::atomic<int> g_counter{0};
}

TestEnv::TestEnv() {
  const std::string stem = "tarn-test-" + std::to_string(::getpid()) + "-" + std::to_string(++g_counter);
  m_dir = fs::temp_directory_path() / stem;
  m_temp = fs::temp_directory_path() / (stem + "-tmp");
  fs::remove_all(m_dir);
  fs::remove_all(m_temp);
  fs::create_directories(m_dir);
  fs::create_directories(m_temp);
  m_system = platform::testing::FixedSystemInfo(m_temp);
}

TestEnv::~TestEnv() {
  std::error_code ec;
  fs::remove_all(m_dir, ec);
  fs::remove_all(m_temp, ec);
}

platform::Services TestEnv::Services() { return {&messages, &m_system, &measurer, &clipboard}; }

std::vector<std::string> TestEnv::Files() const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(m_dir)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

AehBuilder::AehBuilder() : header(1978, '\0') {
  header.replace(0, 4, "BRIX");
  header[4] = 4;
  header.replace(5, 4, "Test");
  header[1620] = static_cast<char>(highestKind);
  SetI16(1621, 2);
  SetI32(1632, 7);
  SetI32(1724, -1);
  SetI32(1728, -1);
  SetI32(1736, 0xC0C0C0);
  SetI32(1740, -1);
  SetI16(1744, 1033);
  SetI32(1750, 0xFF0000);
  SetI32(1754, 0x0000FF);
}

void AehBuilder::SetI16(int at, std::int16_t v) {
  header[static_cast<std::size_t>(at)] = static_cast<char>(v & 0xFF);
  header[static_cast<std::size_t>(at) + 1] = static_cast<char>((v >> 8) & 0xFF);
}

void AehBuilder::SetI32(int at, std::int32_t v) { PutI32(header, at, v); }

std::string AehBuilder::BlankRecord(int size) { return std::string(static_cast<std::size_t>(size), '\xFF'); }

void AehBuilder::PutI32(std::string& record, int at, std::int32_t v) {
  for (int i = 0; i < 4; ++i) {
    record[static_cast<std::size_t>(at + i)] = static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
  }
}

void AehBuilder::PutStr(std::string& record, int at, const std::string& text) {
  record[static_cast<std::size_t>(at)] = static_cast<char>(text.size());
  record.replace(static_cast<std::size_t>(at) + 1, text.size(), text);
}

std::int32_t AehBuilder::AddData(const std::string& bytes) {
  auto at = static_cast<std::int32_t>(data.size());
  data += bytes;
  return at;
}

void AehBuilder::AddPage(const std::string& title, const std::string& markup) {
  std::string r = BlankRecord(292);
  std::string content = markup + std::string(1, '\0');
  PutI32(r, 0, AddData(content));
  r[4] = 0;
  PutStr(r, 5, title);
  PutI32(r, 185, static_cast<std::int32_t>(content.size()));
  r[195] = 2;
  PutI32(r, 239, static_cast<std::int32_t>(data.size()));
  PutI32(r, 243, 0);
  records[0].push_back(r);
}

std::string AehBuilder::Build() const {
  std::string out = header;
  out[1620] = static_cast<char>(highestKind);
  std::string table;
  std::string fixed;
  for (int k = 0; k <= highestKind; ++k) {
    auto it = sizes.find(k);
    const int size = it != sizes.end() ? it->second : document::RecordSize(k);
    auto recs = records.find(k);
    const int count = recs != records.end() ? static_cast<int>(recs->second.size()) : 0;
    std::string entry(12, '\0');
    PutI32(entry, 0, static_cast<std::int32_t>(fixed.size()));
    PutI32(entry, 4, size);
    PutI32(entry, 8, count);
    table += entry;
    if (recs != records.end()) {
      for (const auto& r : recs->second) {
        std::string sized = r;
        if (size > 0) sized.resize(static_cast<std::size_t>(size), '\xFF');
        fixed += sized;
      }
    }
  }
  out += table;
  std::string f(4, '\0');
  PutI32(f, 0, static_cast<std::int32_t>(fixed.size()));
  out += f;
  out += fixed;
  out += data;
  return out;
}

void WriteFile(const fs::path& path, const std::string& bytes) { base::WriteWholeFile(path, bytes); }

std::string ReadFile(const fs::path& path) {
  std::string out;
  base::ReadWholeFile(path, out);
  return out;
}

base::Bitmap SmallBitmap(int width, int height, bool transparent) {
  base::Bitmap b;
  b.width = width;
  b.height = height;
  b.pixels.resize(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t colours[] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu};
      b.pixels[static_cast<std::size_t>(y) * width + x] = colours[(x + y) % 4];
    }
  }
  if (transparent) {
    b.pixels[0] = 0x00000000u;
    b.transparent = true;
  }
  return b;
}

std::string SmallGif(int width, int height) {
  return document::EncodeGif(SmallBitmap(width, height, false)).value_or(std::string());
}

std::string PngOf(const base::Bitmap& bitmap, bool grey) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(bitmap.width);
  image.height = static_cast<png_uint_32>(bitmap.height);
  image.format = grey ? PNG_FORMAT_GRAY : PNG_FORMAT_RGBA;
  std::vector<std::uint8_t> samples;
  for (std::uint32_t p : bitmap.pixels) {
    const auto channel = [p](int shift) { return static_cast<std::uint8_t>(p >> shift); };
    if (grey) {
      samples.push_back(channel(8));
      continue;
    }
    samples.insert(samples.end(), {channel(16), channel(8), channel(0), bitmap.transparent ? channel(24) : std::uint8_t{255}});
  }
  png_alloc_size_t size = 0;
  if (png_image_write_to_memory(&image, nullptr, &size, 0, samples.data(), 0, nullptr) == 0) return {};
  std::string out(size, '\0');
  if (png_image_write_to_memory(&image, out.data(), &size, 0, samples.data(), 0, nullptr) == 0) return {};
  out.resize(size);
  return out;
}

base::Bitmap PhotoBitmap(int width, int height) {
  base::Bitmap b;
  b.width = width;
  b.height = height;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const auto r = static_cast<std::uint32_t>(x * 255 / std::max(1, width - 1));
      const auto g = static_cast<std::uint32_t>(y * 255 / std::max(1, height - 1));
      const auto blue = static_cast<std::uint32_t>((x * 7 + y * 13) & 0xFF);
      b.pixels.push_back(0xFF000000u | (r << 16) | (g << 8) | blue);
    }
  }
  return b;
}

}  // namespace tarn::testing
