// The TCP client base of the publishing protocols: one control connection,
// the host and port, the time-out every wait uses, tracing, and lines read
// with a bound so that a server cannot make the client hold endless text.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include "platform/socket.h"

namespace tarn::publish {

// A failure inside a protocol: the protocol's name, the reply code (or a
// negative number for failures below the protocol) and the reply text.
class ProtocolError : public std::runtime_error {
 public:
  ProtocolError(std::string protocol, int code, std::string text);
  const std::string& Protocol() const { return m_protocol; }
  int Code() const { return m_code; }
  const std::string& Text() const { return m_text; }

 private:
  std::string m_protocol;
  int m_code;
  std::string m_text;
};

// Bounds on what a server may send.
inline constexpr std::size_t kMaxLineLength = 8192;
// Blocks of transfers, as the program always moved them.
inline constexpr std::size_t kBlockSize = 32512;

class T_TcpIp {
 public:
  explicit T_TcpIp(platform::SocketFactory& sockets) : m_sockets(sockets) {}
  virtual ~T_TcpIp() = default;
  T_TcpIp(const T_TcpIp&) = delete;
  T_TcpIp& operator=(const T_TcpIp&) = delete;

  std::string Host;
  int Port = 0;
  // Every connect, send and receive waits at most this long.
  int TimeoutMs = 30000;

  // Level 0: each command sent; 2: byte counts; 3: socket events.
  std::function<void(const std::string& text, int level)> OnTrace;

  // May be called from another thread: the waiting call fails at once.
  void Cancel();
  bool Cancelled() const { return m_cancelled.load(); }

 protected:
  // A new socket connected to host and port, registered for Cancel.
  std::unique_ptr<platform::Socket> Open(const std::string& host, int port);
  void Forget(platform::Socket* socket);
  void ClearCancel() { m_cancelled = false; }
  void Trace(const std::string& text, int level) const {
    if (OnTrace) OnTrace(text, level);
  }
  // One line up to a line feed, carriage returns dropped; throws at the
  // end of the connection or past kMaxLineLength.
  std::string ReadLine(platform::Socket& socket, std::string_view protocol);
  // Bytes already received past the last line read (the start of a body).
  std::string TakePending() { return std::exchange(m_pending, {}); }

 private:
  platform::SocketFactory& m_sockets;
  std::atomic<bool> m_cancelled{false};
  std::mutex m_lock;
  // The sockets a cancel must reach (control and data).
  platform::Socket* m_live[2] = {nullptr, nullptr};
  // Bytes received past the last line, kept for the next ReadLine.
  std::string m_pending;
};

}  // namespace tarn::publish
