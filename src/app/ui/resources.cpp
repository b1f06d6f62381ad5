// Resources of the widget library.
#include "app/ui/resources.h"

#include <QFile>

// The generated initialiser lives in the global namespace, so the call that
// names it must too.
static void InitTarnResources() { Q_INIT_RESOURCE(resources); }

namespace tarn::app::ui {

void InitResources() {
  static const bool done = (InitTarnResources(), true);
  (void)done;
}

QByteArray WindowTable(const QString& window) {
  InitResources();
  QFile file(QStringLiteral(":/tables/eng/") + window.toLower() + QStringLiteral(".txt"));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

}  // namespace tarn::app::ui
