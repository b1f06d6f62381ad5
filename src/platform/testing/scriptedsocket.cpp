// The scripted network of the protocol tests.
#include "platform/testing/scriptedsocket.h"

#include <algorithm>
#include <cstring>

namespace tarn::platform::testing {
namespace {

class ScriptedSocket : public Socket {
 public:
  explicit ScriptedSocket(std::shared_ptr<ScriptedConnection> script) : m_script(std::move(script)) {}

  void Connect(const std::string& host, int port, int /*timeoutMs*/) override {
    if (!m_script) throw SocketError(SocketError::Kind::Connect, "Connection refused");
    m_script->host = host;
    m_script->port = port;
    if (m_script->refuse) throw SocketError(SocketError::Kind::Connect, "Connection refused");
    m_open = true;
  }
  void Send(std::string_view bytes, int /*timeoutMs*/) override {
    Check();
    m_script->sent.append(bytes);
  }
  std::size_t Receive(char* buffer, std::size_t max, int /*timeoutMs*/) override {
    Check();
    auto& in = m_script->incoming;
    if (in.empty()) return 0;
    ScriptedConnection::Event& e = in.front();
    switch (e.step) {
      case ScriptedConnection::Step::Close: return 0;
      case ScriptedConnection::Step::Timeout:
        in.pop_front();
        throw SocketError(SocketError::Kind::Timeout, "Timed out receiving");
      case ScriptedConnection::Step::Reset:
        in.pop_front();
        throw SocketError(SocketError::Kind::Io, "Connection reset by peer");
      case ScriptedConnection::Step::Data: break;
    }
    const std::size_t n = std::min(max, e.bytes.size());
    std::memcpy(buffer, e.bytes.data(), n);
    e.bytes.erase(0, n);
    if (e.bytes.empty()) in.pop_front();
    return n;
  }
  void ShutdownSend() override {
    if (m_script) m_script->sendShutdown = true;
  }
  void Close() override {
    if (m_open && m_script) m_script->closed = true;
    m_open = false;
  }
  bool IsOpen() const override { return m_open; }
  void Cancel() override { m_cancelled = true; }

 private:
  void Check() const {
    if (m_cancelled) throw SocketError(SocketError::Kind::Cancelled, "Aborted by user");
    if (!m_open) throw SocketError(SocketError::Kind::Io, "Socket closed");
  }
  std::shared_ptr<ScriptedConnection> m_script;
  bool m_open = false;
  bool m_cancelled = false;
};

}  // namespace

ScriptedConnection& ScriptedSocketFactory::Next() {
  m_all.push_back(std::make_shared<ScriptedConnection>());
  return *m_all.back();
}

std::unique_ptr<Socket> ScriptedSocketFactory::Create() {
  std::shared_ptr<ScriptedConnection> script;
  if (m_used < m_all.size()) script = m_all[m_used];
  ++m_used;
  return std::make_unique<ScriptedSocket>(std::move(script));
}

}  // namespace tarn::platform::testing
