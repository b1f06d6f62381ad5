// The deterministic event loop of the tests.
#include "platform/testing/manualeventloop.h"

#include <stdexcept>

namespace tarn::platform::testing {
namespace {
// A call that posts itself again for ever would hang a test: it fails it.
constexpr int kMostCallsPerRun = 100000;
}

void ManualEventLoop::Post(std::function<void()> call) {
  std::lock_guard lock(m_mutex);
  m_posted.push_back({0, std::move(call)});
}

void ManualEventLoop::PostMessage(int message, std::function<void()> handler) {
  if (message < kFirstPrivateMessage || message > kLastPrivateMessage) {
    throw std::invalid_argument("not a private message: " + std::to_string(message));
  }
  std::lock_guard lock(m_mutex);
  messages.push_back(message);
  m_posted.push_back({message, std::move(handler)});
}

EventLoop::TimerId ManualEventLoop::StartTimer(int milliseconds, bool repeating, std::function<void()> call) {
  const TimerId id = m_nextId++;
  m_timers[id] = {m_now + milliseconds, milliseconds, repeating, std::move(call)};
  return id;
}

void ManualEventLoop::StopTimer(TimerId timer) { m_timers.erase(timer); }

bool ManualEventLoop::TimerActive(TimerId timer) const { return m_timers.count(timer) != 0; }

int ManualEventLoop::Interval(TimerId timer) const {
  const auto it = m_timers.find(timer);
  return it == m_timers.end() ? 0 : it->second.interval;
}

std::size_t ManualEventLoop::Pending() const {
  std::lock_guard lock(m_mutex);
  return m_posted.size();
}

void ManualEventLoop::ProcessEvents() {
  for (int runs = 0;; ++runs) {
    Queued next;
    {
      std::lock_guard lock(m_mutex);
      if (m_posted.empty()) return;
      next = std::move(m_posted.front());
      m_posted.pop_front();
    }
    if (runs == kMostCallsPerRun) throw std::runtime_error("posted calls do not come to an end");
    if (next.call) next.call();
  }
}

void ManualEventLoop::Advance(int milliseconds) {
  const long long end = m_now + milliseconds;
  while (true) {
    auto due = m_timers.end();
    for (auto it = m_timers.begin(); it != m_timers.end(); ++it) {
      if (it->second.due <= end && (due == m_timers.end() || it->second.due < due->second.due)) due = it;
    }
    if (due == m_timers.end()) break;
    m_now = due->second.due;
    // The call may stop or restart its own timer: it runs on a copy.
    std::function<void()> call = due->second.call;
    if (due->second.repeating) {
      due->second.due += std::max(1, due->second.interval);
    } else {
      m_timers.erase(due);
    }
    call();
    ProcessEvents();
  }
  m_now = end;
  ProcessEvents();
}

}  // namespace tarn::platform::testing
