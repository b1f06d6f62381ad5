// POSIX file wrappers; see filestream.h.
#include "base/filestream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

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
  if (fd < 0) {
    m_error = errno;
    return false;
  }
  struct stat st {};
  const bool stated = ::fstat(fd, &st) == 0;
  if (!stated || !S_ISREG(st.st_mode)) {
    m_error = stated ? EISDIR : errno;
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
    if (got <= 0) {
      // A file that ends before its size said has lost data like one that
      // cannot be read.
      m_error = got < 0 ? errno : EIO;
      return false;
    }
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

bool WriteFile::Fail() {
  m_error = errno;
  return false;
}

bool WriteFile::Create(const std::filesystem::path& path) {
  Close();
  m_fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  return m_fd >= 0 || Fail();
}

bool WriteFile::CreateNew(const std::filesystem::path& path, unsigned mode) {
  Close();
  m_fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, static_cast<mode_t>(mode));
  return m_fd >= 0 || Fail();
}

bool WriteFile::CreateReplacingLinks(const std::filesystem::path& path) {
  Close();
  // O_NONBLOCK keeps a named pipe at the name from blocking the open; it is
  // refused below like any other file that is not a regular one.
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0 && errno != ELOOP) return Fail();
  if (fd >= 0) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
      m_error = errno;
      ::close(fd);
      return false;
    }
    if (!S_ISREG(st.st_mode)) {
      ::close(fd);
      m_error = EEXIST;
      return false;
    }
    if (st.st_nlink <= 1) {
      if (::ftruncate(fd, 0) != 0 || ::fcntl(fd, F_SETFL, 0) != 0) {
        m_error = errno;
        ::close(fd);
        return false;
      }
      m_fd = fd;
      return true;
    }
    ::close(fd);
  }
  // A link stands at the name: the link goes, never what it points at.
  if (::unlink(path.c_str()) != 0) return Fail();
  m_fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  return m_fd >= 0 || Fail();
}

bool WriteFile::Write(std::string_view bytes) {
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    ssize_t n = ::write(m_fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return Fail();
    if (n == 0) {
      m_error = ENOSPC;
      return false;
    }
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
    if (n < 0) return Fail();
    if (n == 0) {
      m_error = ENOSPC;
      return false;
    }
    p += n;
    offset += n;
    left -= static_cast<std::size_t>(n);
  }
  return true;
}

bool WriteFile::Sync() {
  if (m_fd < 0) {
    m_error = EBADF;
    return false;
  }
  return ::fsync(m_fd) == 0 || Fail();
}

bool WriteFile::Close() {
  if (m_fd < 0) return true;
  int rc = ::close(m_fd);
  m_fd = -1;
  return rc == 0 || Fail();
}

bool ReadWholeFile(const std::filesystem::path& path, std::string& out) {
  ReadFile f;
  if (f.Open(path) && f.ReadAt(0, f.Size(), out)) return true;
  errno = f.Error();
  return false;
}

bool WriteWholeFile(const std::filesystem::path& path, std::string_view bytes) {
  WriteFile f;
  if (!f.Create(path)) return false;
  bool ok = f.Write(bytes);
  return f.Close() && ok;
}

int SyncFolder(const std::filesystem::path& folder) {
  int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno;
  int error = ::fsync(fd) == 0 ? 0 : errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  return error;
}

std::string ErrorText(int error) { return std::strerror(error); }

}  // namespace tarn::base
