// A stand-in for the network: each connection the factory hands out plays
// back what the test wrote for it (bytes, a close, a time-out, a reset) and
// records what the client sent, so protocol tests run without a server.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/socket.h"

namespace tarn::platform::testing {

struct ScriptedConnection {
  enum class Step { Data, Close, Timeout, Reset };
  struct Event {
    Step step;
    std::string bytes;
  };
  // Answers to Receive, in order; after the last one the peer closes.
  std::deque<Event> incoming;
  // Connect fails (refused) when set.
  bool refuse = false;
  // Filled by the client.
  std::string host;
  int port = 0;
  std::string sent;
  bool sendShutdown = false;
  bool closed = false;

  ScriptedConnection& Data(std::string bytes) {
    incoming.push_back({Step::Data, std::move(bytes)});
    return *this;
  }
  ScriptedConnection& Close() {
    incoming.push_back({Step::Close, {}});
    return *this;
  }
  ScriptedConnection& Timeout() {
    incoming.push_back({Step::Timeout, {}});
    return *this;
  }
  ScriptedConnection& Reset() {
    incoming.push_back({Step::Reset, {}});
    return *this;
  }
};

class ScriptedSocketFactory : public SocketFactory {
 public:
  // Adds the script of the next connection made.
  ScriptedConnection& Next();
  std::unique_ptr<Socket> Create() override;
  // Every connection, in the order they were scripted.
  const std::vector<std::shared_ptr<ScriptedConnection>>& Connections() const { return m_all; }
  std::size_t Used() const { return m_used; }

 private:
  std::vector<std::shared_ptr<ScriptedConnection>> m_all;
  std::size_t m_used = 0;
};

}  // namespace tarn::platform::testing
