// Shared fixtures of the document tests: a scratch folder with deterministic
// platform services, and a builder for .AEH files laid out byte by byte the
// way the old program wrote them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "base/bitmap.h"
#include "platform/system.h"
#include "platform/testing/testplatform.h"

namespace tarn::testing {

class TestEnv {
 public:
  TestEnv();
  ~TestEnv();
  TestEnv(const TestEnv&) = delete;
  TestEnv& operator=(const TestEnv&) = delete;

  platform::Services Services();
  const std::filesystem::path& Dir() const { return m_dir; }
  std::filesystem::path Path(const std::string& name) const { return m_dir / name; }
  // Files in the scratch folder, sorted (the folder of temporary files is a
  // separate one and not listed).
  std::vector<std::string> Files() const;

  platform::testing::RecordingMessages messages;
  platform::testing::FixedTextMeasurer measurer;
  platform::testing::MemoryClipboard clipboard;

 private:
  std::filesystem::path m_dir;
  std::filesystem::path m_temp;
  platform::testing::FixedSystemInfo m_system;
};

// Builds the bytes of a hypertext file: header, type table, fixed records,
// variable data. Records are given as raw bytes; data blocks are appended
// in the order they are added and their offsets returned.
class AehBuilder {
 public:
  AehBuilder();
  std::string header;  // 1978 bytes, defaults of a saved hypertext
  int highestKind = 25;
  // Record size per kind in the type table; defaults to the kind's size.
  std::map<int, int> sizes;
  std::map<int, std::vector<std::string>> records;
  std::string data;

  void SetI16(int at, std::int16_t v);
  void SetI32(int at, std::int32_t v);
  // A record of the kind's size filled with 0xFF.
  static std::string BlankRecord(int size);
  static void PutI32(std::string& record, int at, std::int32_t v);
  static void PutStr(std::string& record, int at, const std::string& text);
  // Appends a data block and answers its offset in the data area.
  std::int32_t AddData(const std::string& bytes);
  // A live page with the given title and markup.
  void AddPage(const std::string& title, const std::string& markup);
  std::string Build() const;
};

void WriteFile(const std::filesystem::path& path, const std::string& bytes);
std::string ReadFile(const std::filesystem::path& path);
// A small picture with a few colours and one transparent pixel.
base::Bitmap SmallBitmap(int width, int height, bool transparent);
std::string SmallGif(int width = 4, int height = 3);
// A PNG of the bitmap written by libpng: 8-bit RGBA (alpha from the bitmap),
// or with `grey` 8-bit grey from the green channel.
std::string PngOf(const base::Bitmap& bitmap, bool grey = false);
// A picture of many colours and no transparency, as photographs are.
base::Bitmap PhotoBitmap(int width, int height);

}  // namespace tarn::testing
