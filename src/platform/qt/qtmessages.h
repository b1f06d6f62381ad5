// Message boxes for the author: information, warning and error boxes with
// their fixed captions, questions captioned with the application title.
#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/messages.h"

namespace tarn::platform::qt {

class QtMessages : public Messages {
 public:
  // Boxes are modal for the parent's window (for the application when none).
  explicit QtMessages(QWidget* parent = nullptr) : m_parent(parent) {}
  void SetParent(QWidget* parent) { m_parent = parent; }

  void Information(std::string_view text) override;
  void Warning(std::string_view text) override;
  void Error(std::string_view text) override;
  Answer Ask(std::string_view question, bool withCancel) override;

 private:
  QPointer<QWidget> m_parent;
};

// The title question boxes carry: the application's display name.
QString ApplicationTitle();

}  // namespace tarn::platform::qt
