// The widget library's resources (pointer shapes, translation tables). A
// static library's resources are linked in only when something asks for
// them; everything that reads them calls this first.
#pragma once

#include <QByteArray>
#include <QString>

namespace tarn::app::ui {

void InitResources();
// The English translation table of a window, by the window's component
// name ("fopzprog"); empty when the window has none.
QByteArray WindowTable(const QString& window);

}  // namespace tarn::app::ui
