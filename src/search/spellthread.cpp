// The background spell check's worker; see spellthread.h.
#include "search/spellthread.h"

#include <algorithm>
#include <chrono>

namespace tarn::search {
namespace {

constexpr int kStartsSentence = 2;
constexpr int kContinues = 1;

// A call handed to the user-interface thread. The worker may give up
// waiting (when asked to stop); the call then does nothing when it runs
// later, because what it refers to lives on the worker's stack.
struct Handover {
  std::mutex mutex;
  std::condition_variable_any done;
  bool running = false;
  bool finished = false;
  bool abandoned = false;
};

}  // namespace

TKrSpellThread::TKrSpellThread(SpellEngine& engine, platform::EventLoop& ui, SpellCallbacks callbacks, Pacing pacing)
    : m_engine(engine), m_ui(ui), m_callbacks(std::move(callbacks)), m_pacing(pacing),
      m_worker([this](std::stop_token stop) { Run(std::move(stop)); }) {}

TKrSpellThread::~TKrSpellThread() {
  m_worker.request_stop();
  if (m_worker.joinable()) m_worker.join();
}

bool TKrSpellThread::Sleep(const std::stop_token& stop, int milliseconds) {
  std::unique_lock lock(m_sleepMutex);
  m_sleep.wait_for(lock, stop, std::chrono::milliseconds(milliseconds), [] { return false; });
  return !stop.stop_requested();
}

bool TKrSpellThread::Synchronize(const std::stop_token& stop, const std::function<void()>& call) {
  if (stop.stop_requested()) return false;
  auto handover = std::make_shared<Handover>();
  m_ui.Post([handover, &call] {
    {
      std::lock_guard lock(handover->mutex);
      if (handover->abandoned) return;
      handover->running = true;
    }
    call();
    std::lock_guard lock(handover->mutex);
    handover->finished = true;
    handover->done.notify_all();
  });
  std::unique_lock lock(handover->mutex);
  if (handover->done.wait(lock, stop, [&] { return handover->finished; })) return true;
  // Asked to stop: a call already running on the other thread is let finish
  // (it does not wait for this thread), one not yet started never runs.
  if (handover->running) {
    handover->done.wait(lock, [&] { return handover->finished; });
    return false;
  }
  handover->abandoned = true;
  return false;
}

void TKrSpellThread::Run(std::stop_token stop) {
  bool open = false;
  if (Synchronize(stop, [&] { open = m_engine.IsOpen(); }) && open && Sleep(stop, m_pacing.startDelay)) {
    while (Sleep(stop, m_pacing.textDelay)) {
      std::string text;
      if (!Synchronize(stop, [&] { text = m_callbacks.nextText(); }) || text.empty()) break;
      std::size_t offset = 0;
      int state = kStartsSentence;
      SpellResult result;
      bool going = Synchronize(stop, [&] { result = m_engine.Check(text, offset, state); });
      while (going && result.status != 0) {
        offset += static_cast<std::size_t>(std::max(0, result.offset));
        const int at = static_cast<int>(offset);
        going = Synchronize(stop, [&] { m_callbacks.error(result.status, at, result.length); });
        offset += static_cast<std::size_t>(std::max(0, result.length));
        state = kContinues;
        // An engine that reports an empty error at the end would repeat it
        // for ever; the text is done then.
        if (!going || offset >= text.size() || result.length <= 0) break;
        going = Synchronize(stop, [&] { result = m_engine.Check(text, offset, state); });
      }
      if (!going || !Synchronize(stop, [&] { m_callbacks.paragraphDone(); })) break;
    }
  }
  // The finished callback is posted without waiting: the user-interface
  // thread may be waiting for this thread while it processes its events.
  m_ui.Post(m_callbacks.finished);
  m_ended = true;
}

}  // namespace tarn::search
