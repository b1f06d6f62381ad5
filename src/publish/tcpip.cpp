// The TCP client base.
#include "publish/tcpip.h"

namespace tarn::publish {

ProtocolError::ProtocolError(std::string protocol, int code, std::string text)
    : std::runtime_error(code >= 100 ? std::to_string(code) + " " + text : text),
      m_protocol(std::move(protocol)),
      m_code(code),
      m_text(std::move(text)) {}

void T_TcpIp::Cancel() {
  m_cancelled = true;
  std::lock_guard guard(m_lock);
  for (platform::Socket* s : m_live) {
    if (s != nullptr) s->Cancel();
  }
}

std::unique_ptr<platform::Socket> T_TcpIp::Open(const std::string& host, int port) {
  if (m_cancelled) throw platform::SocketError(platform::SocketError::Kind::Cancelled, "Aborted by user");
  std::unique_ptr<platform::Socket> socket = m_sockets.Create();
  {
    std::lock_guard guard(m_lock);
    for (platform::Socket*& s : m_live) {
      if (s == nullptr) {
        s = socket.get();
        break;
      }
    }
  }
  try {
    Trace("Connecting to " + host + ":" + std::to_string(port), 3);
    socket->Connect(host, port, TimeoutMs);
  } catch (...) {
    Forget(socket.get());
    throw;
  }
  // A cancel that came while connecting did not reach the new socket.
  if (m_cancelled) socket->Cancel();
  return socket;
}

void T_TcpIp::Forget(platform::Socket* socket) {
  std::lock_guard guard(m_lock);
  for (platform::Socket*& s : m_live) {
    if (s == socket) s = nullptr;
  }
  if (socket != nullptr) socket->Close();
}

std::string T_TcpIp::ReadLine(platform::Socket& socket, std::string_view protocol) {
  std::string line;
  for (;;) {
    const std::size_t feed = m_pending.find('\n');
    const std::size_t take = feed == std::string::npos ? m_pending.size() : feed;
    for (std::size_t i = 0; i < take; ++i) {
      if (m_pending[i] != '\r') line += m_pending[i];
    }
    if (feed != std::string::npos) {
      m_pending.erase(0, feed + 1);
      return line;
    }
    m_pending.clear();
    if (line.size() > kMaxLineLength) {
      throw ProtocolError(std::string(protocol), -1, "Reply line too long");
    }
    char buffer[1024];
    const std::size_t n = socket.Receive(buffer, sizeof buffer, TimeoutMs);
    if (n == 0) throw ProtocolError(std::string(protocol), -1, "Connection closed by the server");
    m_pending.assign(buffer, n);
  }
}

}  // namespace tarn::publish
