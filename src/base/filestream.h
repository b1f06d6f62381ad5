// Small RAII wrappers over POSIX file descriptors. The document file is read
// with positioned reads so that many objects can share one open descriptor,
// and new documents are written, flushed and renamed into place.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace tarn::base {

class ReadFile {
 public:
  ReadFile() = default;
  ~ReadFile();
  ReadFile(const ReadFile&) = delete;
  ReadFile& operator=(const ReadFile&) = delete;
  ReadFile(ReadFile&& other) noexcept;
  ReadFile& operator=(ReadFile&& other) noexcept;

  bool Open(const std::filesystem::path& path);
  void Close();
  bool IsOpen() const { return m_fd >= 0; }
  std::int64_t Size() const { return m_size; }
  // Reads exactly count bytes at offset; false when the range is not inside
  // the file or the read fails.
  bool ReadAt(std::int64_t offset, std::int64_t count, std::string& out) const;
  bool ReadAt(std::int64_t offset, void* out, std::int64_t count) const;

 private:
  int m_fd = -1;
  std::int64_t m_size = 0;
};

class WriteFile {
 public:
  WriteFile() = default;
  ~WriteFile();
  WriteFile(const WriteFile&) = delete;
  WriteFile& operator=(const WriteFile&) = delete;

  // Creates (or truncates) the file.
  bool Create(const std::filesystem::path& path);
  bool Write(std::string_view bytes);
  bool WriteAt(std::int64_t offset, std::string_view bytes);
  // Flushes the file's data to the disk.
  bool Sync();
  bool Close();
  bool IsOpen() const { return m_fd >= 0; }
  int Descriptor() const { return m_fd; }

 private:
  int m_fd = -1;
};

// Reads a whole file; false when it cannot be read.
bool ReadWholeFile(const std::filesystem::path& path, std::string& out);
// Writes a whole file; false on any error.
bool WriteWholeFile(const std::filesystem::path& path, std::string_view bytes);

}  // namespace tarn::base
