// A background search over a hypertext: a worker thread that reads a copy
// of the hypertext taken when the search starts, and hands its results to
// the user-interface thread through the event loop's Post. The worker
// never touches the live hypertext or a widget, and it never waits for the
// user-interface thread, so stopping it is quick and cannot deadlock.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <stop_token>
#include <thread>

#include "platform/eventloop.h"

namespace tarn::document {
class TAEHset;
}

namespace tarn::search {

// Runs a call on the user-interface thread later; callable from any thread.
using PostToUi = std::function<void(std::function<void()>)>;
// The usual one: the event loop's Post. The loop must outlive the jobs that
// post through it; calls still pending when it goes are dropped with it.
inline PostToUi PostThrough(platform::EventLoop& loop) {
  return [&loop](std::function<void()> call) { loop.Post(std::move(call)); };
}

class SearchJob {
 public:
  // The work runs on the worker thread with the copy; it hands results over
  // with Deliver and returns when done or when stop is requested.
  using Work = std::function<void(document::TAEHset& copy, const std::stop_token& stop, SearchJob& job)>;

  // Takes the copy of set here, on the calling (user-interface) thread,
  // then starts the worker. finished runs on the user-interface thread
  // after every delivery, unless the job was terminated.
  SearchJob(const document::TAEHset& set, PostToUi post, Work work, std::function<void()> finished = {});
  // Terminates and waits for the worker (at most one object's examination).
  ~SearchJob();
  SearchJob(const SearchJob&) = delete;
  SearchJob& operator=(const SearchJob&) = delete;

  // Asks the worker to stop; nothing it handed over and that has not run
  // yet runs any more. Call on the user-interface thread.
  void Terminate();
  // The worker has not finished its work yet.
  bool Running() const { return m_running.load(); }
  // Hands a call to the user-interface thread (worker side).
  void Deliver(std::function<void()> call);

 private:
  std::unique_ptr<document::TAEHset> m_copy;
  PostToUi m_post;
  Work m_work;
  std::function<void()> m_finished;
  std::shared_ptr<std::atomic<bool>> m_cancelled;
  std::atomic<bool> m_running{true};
  // Last: started after everything above exists, joined before it goes.
  std::jthread m_thread;
};

}  // namespace tarn::search
