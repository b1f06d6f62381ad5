// The network seam over POSIX sockets: getaddrinfo for IPv4 and IPv6,
// non-blocking connect and poll for every time-out, and a cancel that wakes
// a waiting call within a few milliseconds.
#pragma once

#include <atomic>

#include "platform/socket.h"

namespace tarn::platform {

class PosixSocket : public Socket {
 public:
  PosixSocket() = default;
  ~PosixSocket() override;
  PosixSocket(const PosixSocket&) = delete;
  PosixSocket& operator=(const PosixSocket&) = delete;

  void Connect(const std::string& host, int port, int timeoutMs) override;
  void Send(std::string_view bytes, int timeoutMs) override;
  std::size_t Receive(char* buffer, std::size_t max, int timeoutMs) override;
  void ShutdownSend() override;
  void Close() override;
  bool IsOpen() const override { return m_fd.load() >= 0; }
  void Cancel() override;

 private:
  // Waits until the descriptor is ready for events or the time-out passes,
  // looking at the cancel flag in short slices.
  void Wait(short events, int timeoutMs, const char* what);
  void ThrowIfCancelled() const;

  std::atomic<int> m_fd{-1};
  std::atomic<bool> m_cancelled{false};
};

class PosixSocketFactory : public SocketFactory {
 public:
  std::unique_ptr<Socket> Create() override { return std::make_unique<PosixSocket>(); }
};

}  // namespace tarn::platform
