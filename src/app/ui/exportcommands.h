// The commands that export the open hypertext as it is today: the web site
// of every page into a folder the author picks ("Export pages..." until the
// export dialog comes), the browser preview of the page or of the whole
// hypertext, and opening addresses and files that preview links lead to.
#pragma once

#include <QObject>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

class QProgressBar;
class QStatusBar;

namespace tarn::document {
class TAEHoggetto;
class TAEHset;
}  // namespace tarn::document
namespace tarn::platform {
class Messages;
class Process;
class Registry;
}  // namespace tarn::platform

namespace tarn::app::ui {

class CommandSet;
class EditorControl;

class ExportCommands : public QObject {
 public:
  struct Host {
    document::TAEHset& set;
    EditorControl& editor;
    platform::Messages& messages;
    platform::Registry& registry;
    platform::Process& process;
    QStatusBar* statusBar;
    // Writes the page being edited back into the hypertext.
    std::function<void()> commitPage;
    // The folder to export into; empty when the author cancelled.
    std::function<std::string(const std::string& proposed)> askFolder;
  };

  ExportCommands(CommandSet& commands, Host host, QObject* parent);

  // The whole hypertext as a web site in folder; the author is told the
  // outcome. Answers whether every file was written.
  bool ExportSite(const std::filesystem::path& folder);
  // Exports the main page (or every page) into the hypertext's temporary
  // folder and shows the main page's file: with the desktop's program for
  // it (browser -1) or with configured browser n.
  bool Preview(bool wholeHypertext, int browser);
  // Hands an address ("http:", "mailto:", a file) to the desktop.
  bool OpenWithDesktop(const std::string& target);
  // A file kept in the hypertext, written out to the preview folder and
  // handed to the desktop.
  bool OpenFileObject(document::TAEHoggetto& file);
  // The file written out to the preview folder; empty (the author told)
  // when it could not be written.
  std::filesystem::path WriteFileObject(document::TAEHoggetto& file);
  // Where the preview writes (the hypertext's temporary folder).
  std::filesystem::path PreviewFolder() const;

 private:
  bool RunExport(const std::filesystem::path& folder, const std::vector<int>& pages);

  Host m_host;
  QProgressBar* m_progress = nullptr;
};

}  // namespace tarn::app::ui
