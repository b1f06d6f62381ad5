// The background spell check of a page: a worker thread that paces the
// check while every engine call and every callback runs on the user-interface
// thread, handed over through the event loop. The worker touches no page data,
// so no lock guards the page.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <stop_token>
#include <string>
#include <string_view>
#include <thread>

#include "platform/eventloop.h"

namespace tarn::search {

// What the engine answers for a text: status 0 when the rest is correct,
// otherwise the error's offset from the start given and its length.
struct SpellResult {
  int status = 0;
  int offset = 0;
  int length = 0;
};

// The spelling engine as the background check uses it.
class SpellEngine {
 public:
  virtual ~SpellEngine() = default;
  virtual bool IsOpen() const = 0;
  // Checks text from start on. spellState 2 starts a sentence, 1 continues
  // after an error.
  virtual SpellResult Check(std::string_view text, std::size_t start, int spellState) = 0;
};

// The four callbacks of the page, all run on the user-interface thread.
struct SpellCallbacks {
  // The next text to check; an empty text ends the check.
  std::function<std::string()> nextText;
  std::function<void(int status, int offset, int length)> error;
  std::function<void()> paragraphDone;
  std::function<void()> finished;
};

class TKrSpellThread {
 public:
  // Waits before the first text and between texts, in milliseconds.
  struct Pacing {
    int startDelay = 300;
    int textDelay = 100;
  };
  TKrSpellThread(SpellEngine& engine, platform::EventLoop& ui, SpellCallbacks callbacks, Pacing pacing);
  TKrSpellThread(SpellEngine& engine, platform::EventLoop& ui, SpellCallbacks callbacks)
      : TKrSpellThread(engine, ui, std::move(callbacks), Pacing{}) {}
  // Asks the worker to stop and joins it.
  ~TKrSpellThread();
  TKrSpellThread(const TKrSpellThread&) = delete;
  TKrSpellThread& operator=(const TKrSpellThread&) = delete;

  void Terminate() { m_worker.request_stop(); }
  // The worker has left its loop.
  bool Ended() const { return m_ended.load(); }

 private:
  void Run(std::stop_token stop);
  // Runs the call on the user-interface thread and waits for it; false when
  // the worker was asked to stop before the call ran.
  bool Synchronize(const std::stop_token& stop, const std::function<void()>& call);
  bool Sleep(const std::stop_token& stop, int milliseconds);

  SpellEngine& m_engine;
  platform::EventLoop& m_ui;
  SpellCallbacks m_callbacks;
  Pacing m_pacing;
  std::atomic<bool> m_ended{false};
  std::mutex m_sleepMutex;
  std::condition_variable_any m_sleep;
  std::jthread m_worker;
};

}  // namespace tarn::search
