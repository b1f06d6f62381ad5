// Message boxes over QMessageBox.
#include "platform/qt/qtmessages.h"

#include <QApplication>
#include <QMessageBox>

#include "platform/qt/qtstrings.h"

namespace tarn::platform::qt {

QString ApplicationTitle() {
  const QString name = QGuiApplication::applicationDisplayName();
  return name.isEmpty() ? QStringLiteral("Tarn") : name;
}

void QtMessages::Information(std::string_view text) {
  QMessageBox::information(m_parent, QStringLiteral("Information"), ToQString(text));
}

void QtMessages::Warning(std::string_view text) {
  QMessageBox::warning(m_parent, QStringLiteral("Warning!"), ToQString(text));
}

void QtMessages::Error(std::string_view text) {
  QMessageBox::critical(m_parent, QStringLiteral("Error!"), ToQString(text));
}

Answer QtMessages::Ask(std::string_view question, bool withCancel) {
  QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
  if (withCancel) buttons |= QMessageBox::Cancel;
  const auto answer = QMessageBox::question(m_parent, ApplicationTitle(), ToQString(question), buttons,
                                            QMessageBox::Yes);
  if (answer == QMessageBox::Yes) return Answer::Yes;
  if (answer == QMessageBox::No) return Answer::No;
  return withCancel ? Answer::Cancel : Answer::No;
}

}  // namespace tarn::platform::qt
