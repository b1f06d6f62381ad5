// POSIX file wrappers; see filestream.h.
#include "base/filestream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tarn::base {

ReadFile::~ReadFile() { Close(); }

ReadFile::ReadFile(ReadFile&& other) noexcept : m_fd(other.m_fd), m_size(other.m_size) {
  other.m_fd = -1;
  other.m_size = 0;
}

ReadFile& ReadFile::operator=(ReadFile&& other) noexcept {
  if (this != &other) {
    Close();
    m_fd = other.m_fd;
    m_size = other.m_size;
    other.m_fd = -1;
    other.m_size = 0;
  }
  return *this;
}

bool ReadFile::Open(const std::filesystem::path& path) {
  Close();
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return false;
  }
  m_fd = fd;
  m_size = st.st_size;
  return true;
}

void ReadFile::Close() {
  if (m_fd >= 0) ::close(m_fd);
  m_fd = -1;
  m_size = 0;
}

bool ReadFile::ReadAt(std::int64_t offset, void* out, std::int64_t count) const {
  if (m_fd < 0 || offset < 0 || count < 0 || offset > m_size || count > m_size - offset) return false;
  auto* dst = static_cast<char*>(out);
  while (count > 0) {
    ssize_t got = ::pread(m_fd, dst, static_cast<std::size_t>(count), offset);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    dst += got;
    offset += got;
    count -= got;
  }
  return true;
}

bool ReadFile::ReadAt(std::int64_t offset, std::int64_t count, std::string& out) const {
  if (m_fd < 0 || offset < 0 || count < 0 || offset > m_size || count > m_size - offset) return false;
  out.resize(static_cast<std::size_t>(count));
  if (!ReadAt(offset, out.data(), count)) {
    out.clear();
    return false;
  }
  return true;
}

WriteFile::~WriteFile() { Close(); }

bool WriteFile::Create(const std::filesystem::path& path) {
  Close();
  m_fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  return m_fd >= 0;
}

bool WriteFile::Write(std::string_view bytes) {
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    ssize_t n = ::write(m_fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  return true;
}

bool WriteFile::WriteAt(std::int64_t offset, std::string_view bytes) {
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    ssize_t n = ::pwrite(m_fd, p, left, offset);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    offset += n;
    left -= static_cast<std::size_t>(n);
  }
  return true;
}

bool WriteFile::Sync() { return m_fd >= 0 && ::fsync(m_fd) == 0; }

bool WriteFile::Close() {
  if (m_fd < 0) return true;
  int rc = ::close(m_fd);
  m_fd = -1;
  return rc == 0;
}

bool ReadWholeFile(const std::filesystem::path& path, std::string& out) {
  ReadFile f;
  if (!f.Open(path)) return false;
  return f.ReadAt(0, f.Size(), out);
}

bool WriteWholeFile(const std::filesystem::path& path, std::string_view bytes) {
  WriteFile f;
  if (!f.Create(path)) return false;
  bool ok = f.Write(bytes);
  return f.Close() && ok;
}

}  // namespace tarn::base
