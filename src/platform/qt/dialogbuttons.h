#pragma once

// The buttons every dialog of the program makes alike: named for the
// translation tables, never taking Enter from the dialog's default button.

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QString>

namespace tarn::platform::qt {

inline QPushButton* NamedButton(QWidget* parent, const char* name, const QString& caption,
                                const QString& hint = {}) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  if (!hint.isEmpty()) button->setToolTip(hint);
  return button;
}

// "&Ok" (the default, accepts) and "&Cancel" (rejects) at the right of a row.
inline QHBoxLayout* OkCancelRow(QDialog* dialog) {
  auto* ok = NamedButton(dialog, "bOk", QStringLiteral("&Ok"));
  auto* cancel = NamedButton(dialog, "bCancel", QStringLiteral("&Cancel"));
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
  QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  return buttons;
}

}  // namespace tarn::platform::qt
