// Shows the program-options dialog in a real window and saves a picture of
// the screen, to look at how it is laid out:
//   xvfb-run -a build/tests/tarn_showoptions OUT.png [TAB]
#include <QApplication>
#include <QPixmap>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>

#include "app/ui/fakeoptionshost.h"
#include "app/ui/fopzprog.h"
#include "platform/memorysettings.h"
#include "platform/qt/qtfonts.h"
#include "platform/qt/qtmessages.h"
#include "platform/registry.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) return 2;
  tarn::platform::qt::RegisterDocumentFonts();
  tarn::platform::MemorySettings store;
  tarn::platform::Registry registry(store);
  registry.WriteSubkeyValue("ext\\.doc", "nam", "Word documents");
  registry.WriteSubkeyValue("ext\\.doc", "comp", "3");
  registry.WriteSubkeyValue("ext\\.doc", "appPath", "/usr/bin/soffice");
  registry.WriteSubkeyValue("ext\\.pdf", "nam", "PDF files");
  registry.WriteSubkeyValue("Browser", "Num", "1");
  registry.WriteSubkeyValue("Browser\\0", "Name", "Firefox");
  registry.WriteSubkeyValue("Browser\\0", "appPath", "/usr/bin/firefox");
  tarn::app::testing::FakeOptionsHost host;
  tarn::app::testing::FakeSpellChecker checker;
  if (argc > 3) host.speller = &checker;
  tarn::platform::qt::QtMessages messages;
  tarn::app::ui::TFopzProg dialog(registry, host, messages);
  dialog.Pages()->setCurrentIndex(argc > 2 ? QString(argv[2]).toInt() : 0);
  dialog.show();
  const QString out = QString::fromLocal8Bit(argv[1]);
  QTimer::singleShot(500, [&] {
    QGuiApplication::primaryScreen()->grabWindow(0).copy(dialog.frameGeometry().adjusted(-4, -4, 4, 4)).save(out);
    app.quit();
  });
  return app.exec();
}
