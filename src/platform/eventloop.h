// The user-interface thread's event loop as the program's models see it:
// calls posted to run after the current event (from any thread), the
// private messages that must not run inside the event that asks for them,
// single-shot and repeating timers, and running what is pending while a
// long operation waits. The window system's loop implements it; tests use a
// deterministic one whose clock only moves when told.
#pragma once

#include <functional>

namespace tarn::platform {

// The private messages keep their numbers: they are what distinguishes one
// deferred operation from another in a trace or a debugger.
inline constexpr int kFirstPrivateMessage = 44646;
inline constexpr int kLastPrivateMessage = 44655;

class EventLoop {
 public:
  using TimerId = int;
  static constexpr TimerId kNoTimer = 0;

  virtual ~EventLoop() = default;

  // Runs call on the user-interface thread after the current event. May be
  // called from any thread.
  virtual void Post(std::function<void()> call) = 0;
  // A private message (kFirstPrivateMessage..kLastPrivateMessage): the
  // handler runs after the current event, on the user-interface thread.
  virtual void PostMessage(int message, std::function<void()> handler) = 0;
  // Starts a timer on the user-interface thread: call runs once after the
  // interval, or every interval when repeating, until stopped.
  virtual TimerId StartTimer(int milliseconds, bool repeating, std::function<void()> call) = 0;
  // Stopping a timer that has ended or was never started does nothing.
  virtual void StopTimer(TimerId timer) = 0;
  virtual bool TimerActive(TimerId timer) const = 0;
  // Runs what is pending now (posted calls, messages, paint), on the
  // user-interface thread only.
  virtual void ProcessEvents() = 0;
};

// A timer owned by one object: restarting replaces the running one, and it
// stops when its owner goes.
class Timer {
 public:
  Timer() = default;
  explicit Timer(EventLoop* loop) : m_loop(loop) {}
  ~Timer() { Stop(); }
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  void SetLoop(EventLoop* loop) {
    Stop();
    m_loop = loop;
  }
  void Start(int milliseconds, bool repeating, std::function<void()> call) {
    Stop();
    m_interval = milliseconds;
    if (m_loop != nullptr) m_id = m_loop->StartTimer(milliseconds, repeating, std::move(call));
  }
  void Stop() {
    if (m_loop != nullptr && m_id != EventLoop::kNoTimer) m_loop->StopTimer(m_id);
    m_id = EventLoop::kNoTimer;
  }
  bool Active() const { return m_loop != nullptr && m_id != EventLoop::kNoTimer && m_loop->TimerActive(m_id); }
  // The interval it was last started with.
  int Interval() const { return m_interval; }

 private:
  EventLoop* m_loop = nullptr;
  EventLoop::TimerId m_id = EventLoop::kNoTimer;
  int m_interval = 0;
};

}  // namespace tarn::platform
