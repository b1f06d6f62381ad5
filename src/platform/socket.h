// The network seam: one blocking TCP connection as the publishing clients
// need it. Every call that waits takes a time-out, a receive never returns
// more than asked for, and Cancel, called from another thread, makes a
// waiting call fail at once so that a stop button never hangs on a server.
#pragma once

#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tarn::platform {

// A failure of the connection: the host not found, refused, reset, closed
// early, a time-out, or a cancel from another thread.
class SocketError : public std::runtime_error {
 public:
  enum class Kind { Resolve, Connect, Io, Timeout, Cancelled };
  SocketError(Kind kind, const std::string& text) : std::runtime_error(text), m_kind(kind) {}
  Kind GetKind() const { return m_kind; }

 private:
  Kind m_kind;
};

class Socket {
 public:
  virtual ~Socket() = default;
  // Resolves host (names, IPv4 and IPv6 literals) and connects to the first
  // address that answers within the time-out.
  virtual void Connect(const std::string& host, int port, int timeoutMs) = 0;
  // Sends every byte or throws.
  virtual void Send(std::string_view bytes, int timeoutMs) = 0;
  // Waits for at most timeoutMs, then copies up to max bytes into buffer;
  // 0 when the peer closed the connection. Throws on a time-out.
  virtual std::size_t Receive(char* buffer, std::size_t max, int timeoutMs) = 0;
  // Tells the peer that nothing more is sent (the end of an upload).
  virtual void ShutdownSend() = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
  // May be called from any thread: the call waiting now and every later
  // call fail with SocketError::Kind::Cancelled until the socket is closed.
  virtual void Cancel() = 0;
};

class SocketFactory {
 public:
  virtual ~SocketFactory() = default;
  virtual std::unique_ptr<Socket> Create() = 0;
};

}  // namespace tarn::platform
