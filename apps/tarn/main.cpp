// The editor: start-up (the tip or splash window while the main window is
// made), the main window, the command line, and the event loop.
//
// Setting TARN_SCREENSHOT=FILE.png makes the program save a picture of its
// main window a second after start and quit: how the run script shows the
// program on a machine without a display.
#include <QApplication>
#include <QFileInfo>
#include <QTimer>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/commandline.h"
#include "app/desktopinstall.h"
#include "app/ui/mainform.h"
#include "app/ui/tipform.h"
#include "platform/filesettings.h"
#include "platform/qt/qtfonts.h"
#include "platform/qt/qtmessages.h"
#include "platform/registry.h"

namespace {

using namespace tarn;

// The folders "beside the program": the program's own folder when it can
// be written (a build or a personal installation), otherwise the user's
// data folder.
app::ProgramFolders Folders() {
  const std::filesystem::path program = QCoreApplication::applicationDirPath().toStdString();
  std::filesystem::path data = program;
  if (!QFileInfo(QString::fromStdString(program.string())).isWritable()) data = app::UserDataHome() / "Tarn";
  return {program, data, app::FindExamplesFolder(program)};
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tarn"));
  QApplication::setApplicationDisplayName(QStringLiteral("Tarn"));
  platform::qt::RegisterDocumentFonts();

  platform::qt::QtMessages startMessages;
  platform::FileSettings settings(platform::FileSettings::DefaultFile(), &startMessages);
  platform::Registry registry(settings, &startMessages);

  // The tip window opens unless the author turned it off; then the about
  // window serves as the splash window.
  std::unique_ptr<QDialog> splash;
  app::ui::TTipForm* tip = nullptr;
  const std::string tipOption = registry.ReadOption("TipOfTheDay");
  if (tipOption != "1" && !tipOption.empty()) {
    splash = std::make_unique<app::ui::TFabout>();
  } else {
    auto tipWindow = std::make_unique<app::ui::TTipForm>(registry);
    tipWindow->setWindowTitle(QStringLiteral("Loading in progress"));
    tip = tipWindow.get();
    splash = std::move(tipWindow);
  }
  const bool screenshot = qEnvironmentVariableIsSet("TARN_SCREENSHOT");
  if (!screenshot) {
    splash->show();
    splash->repaint();
    QCoreApplication::processEvents();
  }

  app::ui::TMainForm window(settings, Folders());
  window.show();
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
  const app::CommandLine command = app::ParseCommandLine(arguments);
  window.FormShow(command);

  // After start-up the tip window stays as the tip of the day, unless the
  // program was started for a job or the author wants it closed.
  if (tip != nullptr && command.next == app::NextAction::ProbeWordProcessor &&
      registry.ReadOption("AutoHideTip") != "1" && !screenshot) {
    tip->setWindowTitle(QStringLiteral("Tips"));
    tip->setAttribute(Qt::WA_DeleteOnClose);
    tip->setParent(&window, tip->windowFlags());
    tip->show();
    tip->raise();
    splash.release();
  } else {
    splash.reset();
  }

  if (screenshot) {
    QTimer::singleShot(1000, &window, [&window] {
      window.grab().save(qEnvironmentVariable("TARN_SCREENSHOT"));
      QCoreApplication::exit(0);
    });
  }
  return QApplication::exec();
}
