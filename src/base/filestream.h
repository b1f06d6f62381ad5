// Small RAII wrappers over POSIX file descriptors. The document file is read
// with positioned reads so that many objects can share one open descriptor,
// and new documents are written, flushed and renamed into place. Each
// wrapper keeps the system's error number of its last failure, so that a
// message can give the reason ("No space left on device").
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
  // The error number of the last failure (EIO for a file that ended early).
  int Error() const { return m_error; }

 private:
  int m_fd = -1;
  std::int64_t m_size = 0;
  mutable int m_error = 0;
};

class WriteFile {
 public:
  WriteFile() = default;
  ~WriteFile();
  WriteFile(const WriteFile&) = delete;
  WriteFile& operator=(const WriteFile&) = delete;

  // Creates (or truncates) the file.
  bool Create(const std::filesystem::path& path);
  // Creates a file that must not exist yet, with the given permissions
  // (before the umask).
  bool CreateNew(const std::filesystem::path& path, unsigned mode);
  // Creates (or truncates) a regular file without ever writing through a
  // link: a symbolic link at the name, or a file with other hard links, is
  // replaced by a new file; anything else that is not a regular file is
  // refused.
  bool CreateReplacingLinks(const std::filesystem::path& path);
  bool Write(std::string_view bytes);
  bool WriteAt(std::int64_t offset, std::string_view bytes);
  // Flushes the file's data to the disk.
  bool Sync();
  bool Close();
  bool IsOpen() const { return m_fd >= 0; }
  int Descriptor() const { return m_fd; }
  // The error number of the last failure.
  int Error() const { return m_error; }

 private:
  bool Fail();
  int m_fd = -1;
  int m_error = 0;
};

// Reads a whole file; false when it cannot be read (errno tells why).
bool ReadWholeFile(const std::filesystem::path& path, std::string& out);
// Writes a whole file; false on any error.
bool WriteWholeFile(const std::filesystem::path& path, std::string_view bytes);
// Flushes a folder's entries (names made, renamed or removed) to the disk;
// on failure answers the error number, else 0.
int SyncFolder(const std::filesystem::path& folder);
// The system's description of an error number ("Permission denied").
std::string ErrorText(int error);

}  // namespace tarn::base
