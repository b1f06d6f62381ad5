// The worker thread of the publishing components.
#include "publish/worker.h"

#include <chrono>
#include <stdexcept>
#include <string>

#include "platform/eventloop.h"

namespace tarn::publish {

PublishWorker::~PublishWorker() {
  if (m_thread.joinable()) m_thread.join();
}

PublishWorker::Outcome PublishWorker::Run(std::function<void()> work) {
  if (m_thread.joinable()) m_thread.join();
  m_error = nullptr;
  m_failed = false;
  m_stopped = false;
  m_running = true;
  m_thread = std::thread([this, work = std::move(work)] {
    try {
      work();
    } catch (...) {
      m_error = std::current_exception();
      m_failed = true;
    }
    m_running = false;
  });
  if (m_loop == nullptr) {
    m_thread.join();
  } else {
    while (m_running && !m_failed && !m_stopped) {
      m_loop->ProcessEvents();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    // A failure is the worker's last act; a stop has joined already.
    if (m_thread.joinable()) m_thread.join();
  }
  m_running = false;
  if (m_stopped) return Outcome::Stopped;
  return m_failed ? Outcome::Failed : Outcome::Done;
}

void PublishWorker::Stop(const std::function<void()>& cancel) {
  if (!m_running) return;
  m_stopped = true;
  if (cancel) cancel();
  if (m_thread.joinable()) m_thread.join();
  m_running = false;
}

std::string PublishWorker::ErrorText() const {
  if (!m_error) return {};
  try {
    std::rethrow_exception(m_error);
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "Error unknown! Errore sconosciuto!";
  }
}

}  // namespace tarn::publish
