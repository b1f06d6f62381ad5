// Icons by file type; see fileicons.h.
#include "document/ui/fileicons.h"

#include <QApplication>
#include <QHash>
#include <QMimeDatabase>
#include <QStyle>

namespace tarn::document::ui {
namespace {

// Stock icons that keep the kinds the trees and lists show apart when the
// desktop offers no themed icon.
QIcon StockIcon(const QString& extension) {
  QStyle* style = QApplication::style();
  if (extension == QLatin1String(".aeh")) return style->standardIcon(QStyle::SP_DriveHDIcon);
  if (extension == QLatin1String(".hlp")) return style->standardIcon(QStyle::SP_DirClosedIcon);
  if (extension == QLatin1String(".htm") || extension == QLatin1String(".html")) {
    return style->standardIcon(QStyle::SP_DriveNetIcon);
  }
  if (extension == QLatin1String(".msg")) return style->standardIcon(QStyle::SP_MessageBoxInformation);
  if (extension == QLatin1String(".ini") || extension == QLatin1String(".dsn")) {
    return style->standardIcon(QStyle::SP_FileDialogDetailedView);
  }
  return style->standardIcon(QStyle::SP_FileIcon);
}

}  // namespace

QIcon IconForExtension(const QString& extension) {
  static QHash<QString, QIcon> cache;
  const QString key = extension.toLower();
  if (auto it = cache.constFind(key); it != cache.constEnd()) return *it;
  QIcon icon;
  if (!key.isEmpty()) {
    const QMimeType type = QMimeDatabase().mimeTypeForFile(QStringLiteral("x") + key, QMimeDatabase::MatchExtension);
    icon = QIcon::fromTheme(type.iconName());
    if (icon.isNull()) icon = QIcon::fromTheme(type.genericIconName());
  }
  if (icon.isNull()) icon = StockIcon(key);
  cache.insert(key, icon);
  return icon;
}

}  // namespace tarn::document::ui
