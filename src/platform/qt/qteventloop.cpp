// The event loop over Qt.
#include "platform/qt/qteventloop.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

namespace tarn::platform::qt {
namespace {

// Plain posted calls travel as an event type outside the private range.
const QEvent::Type kCallEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

class CallEvent : public QEvent {
 public:
  CallEvent(QEvent::Type type, std::function<void()> function) : QEvent(type), call(std::move(function)) {}
  std::function<void()> call;
};

}  // namespace

QtEventLoop::QtEventLoop(QObject* parent) : QObject(parent) {}

QtEventLoop::~QtEventLoop() {
  Around = nullptr;
  Busy = nullptr;
}

void QtEventLoop::Post(std::function<void()> call) {
  QCoreApplication::postEvent(this, new CallEvent(kCallEvent, std::move(call)));
}

void QtEventLoop::PostMessage(int message, std::function<void()> handler) {
  Q_ASSERT(message >= kFirstPrivateMessage && message <= kLastPrivateMessage);
  QCoreApplication::postEvent(this, new CallEvent(static_cast<QEvent::Type>(message), std::move(handler)));
}

EventLoop::TimerId QtEventLoop::StartTimer(int milliseconds, bool repeating, std::function<void()> call) {
  const TimerId id = m_nextId++;
  auto* timer = new QTimer(this);
  timer->setSingleShot(!repeating);
  timer->setInterval(milliseconds);
  m_timers[id] = timer;
  connect(timer, &QTimer::timeout, this, [this, id, repeating, call = std::move(call)] {
    if (!repeating) {
      // A single shot has ended before its call runs, so that the call may
      // start it again.
      const auto it = m_timers.find(id);
      if (it != m_timers.end()) {
        it->second->deleteLater();
        m_timers.erase(it);
      }
    }
    RunGuarded(call);
  });
  timer->start();
  return id;
}

void QtEventLoop::StopTimer(TimerId timer) {
  const auto it = m_timers.find(timer);
  if (it == m_timers.end()) return;
  it->second->stop();
  it->second->deleteLater();
  m_timers.erase(it);
}

bool QtEventLoop::TimerActive(TimerId timer) const { return m_timers.count(timer) != 0; }

void QtEventLoop::ProcessEvents() { QCoreApplication::processEvents(); }

void QtEventLoop::RunGuarded(const std::function<void()>& call) {
  if (!call) return;
  if (Around) {
    Around(call);
  } else {
    call();
  }
}

bool QtEventLoop::event(QEvent* event) {
  const int type = static_cast<int>(event->type());
  auto* posted = dynamic_cast<CallEvent*>(event);
  if (posted == nullptr) return QObject::event(event);
  if (type >= kFirstPrivateMessage && type <= kLastPrivateMessage && Busy && Busy()) {
    // A message that arrives while the owner is busy (the events processed
    // while a worker stops) waits for it to finish.
    QCoreApplication::postEvent(this, new CallEvent(event->type(), std::move(posted->call)));
    return true;
  }
  RunGuarded(posted->call);
  return true;
}

}  // namespace tarn::platform::qt
