// An event loop for tests: posted calls and messages wait until
// ProcessEvents, and timers fire only when the test moves the clock on.
#pragma once

#include <deque>
#include <map>
#include <mutex>
#include <vector>

#include "platform/eventloop.h"

namespace tarn::platform::testing {

class ManualEventLoop : public EventLoop {
 public:
  void Post(std::function<void()> call) override;
  void PostMessage(int message, std::function<void()> handler) override;
  TimerId StartTimer(int milliseconds, bool repeating, std::function<void()> call) override;
  void StopTimer(TimerId timer) override;
  bool TimerActive(TimerId timer) const override;
  // Runs posted calls until none is left (those posted meanwhile too).
  void ProcessEvents() override;

  // Moves the clock on, firing every timer that falls due on the way in
  // time order, and the posted calls after each.
  void Advance(int milliseconds);
  long long Now() const { return m_now; }
  std::size_t Pending() const;
  // The private messages posted so far, in order.
  std::vector<int> messages;
  // The interval of a running timer; 0 when it does not run.
  int Interval(TimerId timer) const;

 private:
  struct Queued {
    int message;  // 0 for a plain call
    std::function<void()> call;
  };
  struct TimerState {
    long long due;
    int interval;
    bool repeating;
    std::function<void()> call;
  };
  mutable std::mutex m_mutex;
  std::deque<Queued> m_posted;
  std::map<TimerId, TimerState> m_timers;
  TimerId m_nextId = 1;
  long long m_now = 0;
};

}  // namespace tarn::platform::testing
