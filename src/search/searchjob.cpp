// Background searches; see searchjob.h.
#include "search/searchjob.h"

#include "document/aehset.h"

namespace tarn::search {

SearchJob::SearchJob(const document::TAEHset& set, PostToUi post, Work work, std::function<void()> finished)
    : m_copy(set.ReadingCopy()),
      m_post(std::move(post)),
      m_work(std::move(work)),
      m_finished(std::move(finished)),
      m_cancelled(std::make_shared<std::atomic<bool>>(false)) {
  m_thread = std::jthread([this](std::stop_token stop) {
    try {
      if (!stop.stop_requested()) m_work(*m_copy, stop, *this);
    } catch (...) {
      // A search that fails ends quietly; the lists keep what was found.
    }
    m_copy.reset();
    m_running = false;
    if (m_finished) Deliver(m_finished);
  });
}

SearchJob::~SearchJob() {
  Terminate();
  if (m_thread.joinable()) m_thread.join();
}

void SearchJob::Terminate() {
  m_cancelled->store(true);
  m_thread.request_stop();
}

void SearchJob::Deliver(std::function<void()> call) {
  if (!m_post) return;
  m_post([cancelled = m_cancelled, call = std::move(call)] {
    if (!cancelled->load()) call();
  });
}

}  // namespace tarn::search
