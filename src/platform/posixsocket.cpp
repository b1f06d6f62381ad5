// POSIX sockets for the publishing clients.
#include "platform/posixsocket.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace tarn::platform {
namespace {

// How often a waiting call looks at the cancel flag.
constexpr int kCancelSliceMs = 20;

std::string ErrorText(int error) { return std::strerror(error); }

struct AddressList {
  addrinfo* head = nullptr;
  ~AddressList() {
    if (head != nullptr) ::freeaddrinfo(head);
  }
};

}  // namespace

PosixSocket::~PosixSocket() { Close(); }

void PosixSocket::ThrowIfCancelled() const {
  if (m_cancelled.load()) throw SocketError(SocketError::Kind::Cancelled, "Aborted by user");
}

void PosixSocket::Wait(short events, int timeoutMs, const char* what) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
  for (;;) {
    ThrowIfCancelled();
    const int fd = m_fd.load();
    if (fd < 0) throw SocketError(SocketError::Kind::Io, "Socket closed");
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
    if (left <= 0) throw SocketError(SocketError::Kind::Timeout, std::string("Timed out ") + what);
    pollfd p{fd, events, 0};
    const int n = ::poll(&p, 1, static_cast<int>(std::min<long long>(left, kCancelSliceMs)));
    if (n < 0 && errno != EINTR) throw SocketError(SocketError::Kind::Io, ErrorText(errno));
    if (n > 0) return;
  }
}

void PosixSocket::Connect(const std::string& host, int port, int timeoutMs) {
  Close();
  m_cancelled = false;
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  AddressList list;
  const std::string service = std::to_string(port);
  if (host.empty() || ::getaddrinfo(host.c_str(), service.c_str(), &hints, &list.head) != 0) {
    throw SocketError(SocketError::Kind::Resolve, "Couldn't resolve hostname " + host);
  }
  std::string lastError = "Connection refused";
  for (addrinfo* a = list.head; a != nullptr; a = a->ai_next) {
    const int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, a->ai_protocol);
    if (fd < 0) {
      throw SocketError(SocketError::Kind::Connect, "Error creating socket: " + ErrorText(errno));
    }
    m_fd = fd;
    if (::connect(fd, a->ai_addr, a->ai_addrlen) == 0) return;
    if (errno != EINPROGRESS) {
      lastError = ErrorText(errno);
      Close();
      continue;
    }
    try {
      Wait(POLLOUT, timeoutMs, "connecting");
    } catch (const SocketError& e) {
      Close();
      if (e.GetKind() != SocketError::Kind::Timeout) throw;
      lastError = e.what();
      continue;
    }
    int error = 0;
    socklen_t size = sizeof error;
    ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size);
    if (error == 0) return;
    lastError = ErrorText(error);
    Close();
  }
  throw SocketError(SocketError::Kind::Connect, lastError);
}

void PosixSocket::Send(std::string_view bytes, int timeoutMs) {
  while (!bytes.empty()) {
    Wait(POLLOUT, timeoutMs, "sending");
    const ssize_t n = ::send(m_fd.load(), bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (n < 0) {
      if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) continue;
      throw SocketError(SocketError::Kind::Io, ErrorText(errno));
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
}

std::size_t PosixSocket::Receive(char* buffer, std::size_t max, int timeoutMs) {
  for (;;) {
    Wait(POLLIN, timeoutMs, "receiving");
    const ssize_t n = ::recv(m_fd.load(), buffer, max, 0);
    if (n >= 0) return static_cast<std::size_t>(n);
    if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) continue;
    throw SocketError(SocketError::Kind::Io, ErrorText(errno));
  }
}

void PosixSocket::ShutdownSend() {
  const int fd = m_fd.load();
  if (fd >= 0) ::shutdown(fd, SHUT_WR);
}

void PosixSocket::Close() {
  const int fd = m_fd.exchange(-1);
  if (fd >= 0) ::close(fd);
}

void PosixSocket::Cancel() { m_cancelled = true; }

}  // namespace tarn::platform
