// One network request at a time on a worker thread, while the calling
// thread keeps processing the window system's events (or, without an event
// loop, simply waits). A stop wakes the worker through the protocol's
// cancel and returns at once; nothing of the stopped work is reported.
#pragma once

#include <atomic>
#include <exception>
#include <functional>
#include <thread>

namespace tarn::platform {
class EventLoop;
}

namespace tarn::publish {

class PublishWorker {
 public:
  enum class Outcome { Done, Failed, Stopped };

  explicit PublishWorker(platform::EventLoop* loop) : m_loop(loop) {}
  ~PublishWorker();
  PublishWorker(const PublishWorker&) = delete;
  PublishWorker& operator=(const PublishWorker&) = delete;

  bool Busy() const { return m_running.load(); }
  // Runs work on the worker thread and waits for it. Failed: the exception
  // it threw is in Error().
  Outcome Run(std::function<void()> work);
  // Calls cancel (which must make the worker's waiting call fail soon),
  // waits for the worker to end and makes the waiting Run answer Stopped.
  void Stop(const std::function<void()>& cancel);
  std::exception_ptr Error() const { return m_error; }
  // The text of the error, "Errore sconosciuto" when it has none.
  std::string ErrorText() const;

 private:
  platform::EventLoop* m_loop;
  std::thread m_thread;
  std::atomic<bool> m_running{false};
  std::atomic<bool> m_failed{false};
  std::atomic<bool> m_stopped{false};
  std::exception_ptr m_error;
};

}  // namespace tarn::publish
