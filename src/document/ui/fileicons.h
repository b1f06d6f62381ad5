// Icons by file type, as the desktop shows them: the MIME type that the
// extension names, its themed icon, and a stock icon of the style when the
// theme has none (headless runs, bare window managers).
#pragma once

#include <QIcon>
#include <QString>

namespace tarn::document::ui {

// The icon for files with the extension (".txt", ".aeh" ...); an empty
// extension gives the generic file icon.
QIcon IconForExtension(const QString& extension);

}  // namespace tarn::document::ui
