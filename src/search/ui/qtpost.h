// Hands calls from worker threads to the user-interface thread through Qt's
// event queue. The context must own the jobs that post: it destroys them,
// which waits for their threads, before it goes itself; calls still queued
// when it goes are dropped with it.
// FIXME: goes through the platform's event-loop seam once it exists.
#pragma once

#include <QMetaObject>
#include <QObject>

#include "search/searchjob.h"

namespace tarn::search::ui {

inline PostToUi QtPost(QObject* context) {
  return [context](std::function<void()> call) {
    QMetaObject::invokeMethod(context, std::move(call), Qt::QueuedConnection);
  };
}

}  // namespace tarn::search::ui
