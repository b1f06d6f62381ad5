// The event loop over Qt: posted calls and private messages are posted
// events to this object (the messages keep their numbers as event types),
// timers are QTimers. Whatever is still pending when the object goes is
// dropped with it, so a handler never runs after its owner is gone.
#pragma once

#include <QObject>

#include <map>

#include "platform/eventloop.h"

class QTimer;

namespace tarn::platform::qt {

class QtEventLoop : public QObject, public EventLoop {
 public:
  explicit QtEventLoop(QObject* parent = nullptr);
  ~QtEventLoop() override;

  void Post(std::function<void()> call) override;
  void PostMessage(int message, std::function<void()> handler) override;
  TimerId StartTimer(int milliseconds, bool repeating, std::function<void()> call) override;
  void StopTimer(TimerId timer) override;
  bool TimerActive(TimerId timer) const override;
  void ProcessEvents() override;

  // Runs around every posted call, message and timer call: the owner's
  // guard (a widget that must bring itself up to date afterwards, or defer
  // a message while it is busy). Unset, calls run as they are.
  std::function<void(const std::function<void()>& call)> Around;
  // Asked before a private message runs: true defers it to a later turn.
  std::function<bool()> Busy;

 protected:
  bool event(QEvent* event) override;

 private:
  void RunGuarded(const std::function<void()>& call);

  std::map<TimerId, QTimer*> m_timers;
  TimerId m_nextId = 1;
};

}  // namespace tarn::platform::qt
