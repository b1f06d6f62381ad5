// Following links from the main window: what the editor (or a separate
// page window) reports when the author activates a link, by the link's
// kind: pages and anchors, internal URLs of this or another hypertext,
// programs, addresses for the desktop, embedded files, special links with
// their window actions, and the follow-link commands of the menus. Also
// showing the page that an internal URL names (NavigateToUrl).
#pragma once

#include <QObject>
#include <QPointer>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "objects/frameset.h"

namespace tarn::document {
class TAEHoggetto;
class TAEHset;
}  // namespace tarn::document
namespace tarn::platform {
class Clipboard;
class Messages;
class Process;
class Registry;
}  // namespace tarn::platform
namespace tarn::objects::ui {
class TInsiemeCornici;
}
namespace tarn::app {
class LinkedApplications;
}

namespace tarn::app::ui {

class CommandSet;
class ExportCommands;
class TFseparato;
class TMainForm;

class LinkFollower : public QObject {
 public:
  struct Services {
    document::TAEHset& set;
    objects::ui::TInsiemeCornici& editor;
    platform::Messages& messages;
    platform::Process& process;
    platform::Registry& registry;
    platform::Clipboard* clipboard;
    LinkedApplications& applications;
    ExportCommands& exports;
  };
  // What the author chooses in the "Link to file" dialog.
  enum class FileLinkChoice { Open, SaveAs, Cancel };

  LinkFollower(CommandSet& commands, TMainForm& window, Services services, QObject* parent);
  ~LinkFollower() override;

  // A link object was activated on the frame set `from` (the editor or a
  // separate window's) by the page view in source.
  void EditorDoLink(objects::ui::TInsiemeCornici& from, const objects::LinkSource& source,
                    document::TAEHoggetto* link);
  // Shows the page an internal URL names; another hypertext is opened
  // first, after the save question.
  void NavigateToUrl(const std::string& url);

  // The separate page windows open now.
  std::vector<TFseparato*> SeparateWindows() const;
  TFseparato* FindSeparateWindow(const std::string& name) const;
  // Every separate window closes (before the hypertext changes or goes).
  void CloseSeparateWindows();

  // Dialogs, replaced by tests: the "Link to file" dialog for an embedded
  // file; where a file is saved (empty: cancelled); a file to import when
  // an automatic import's file is missing (empty: cancelled).
  std::function<FileLinkChoice(const document::TAEHoggetto& file)> askFileLink;
  std::function<std::string(const std::string& proposed)> askSaveFile;
  std::function<std::string(const std::filesystem::path& folder)> askImportFile;

 private:
  void FollowByKind(objects::ui::TInsiemeCornici& from, const objects::LinkSource& source,
                    document::TAEHoggetto& link, int depth);
  void FollowAddress(objects::ui::TInsiemeCornici& from, const std::string& address, document::TAEHoggetto& link);
  void FollowSpecial(objects::ui::TInsiemeCornici& from, const objects::LinkSource& source,
                     document::TAEHoggetto& link);
  void FollowToObject(objects::ui::TInsiemeCornici& from, const objects::LinkSource& source,
                      document::TAEHoggetto& link);
  void FollowFileLink(document::TAEHoggetto& file);
  void FollowAutoImport(document::TAEHoggetto& link);
  void RunProgramLink(const std::string& address, const document::TAEHoggetto& link);
  // Shows the page in the frame set as its main page, scrolled to the anchor.
  void ShowPageIn(objects::ui::TInsiemeCornici& frameSet, int page, int anchor);
  // The page in the separate window of that name, made when there is none.
  void ShowInWindow(const std::string& name, int page, int anchor, bool near);
  bool ShowInNamedFrame(objects::ui::TInsiemeCornici& frameSet, const std::string& name,
                        const document::TAEHoggetto& target, int anchor, int mode);
  void ScrollToAnchor(objects::ui::TInsiemeCornici& frameSet, page::TAEHpage* view, int anchor);
  void FollowAtCaret();
  void NotAvailable(std::string_view what);

  TMainForm& m_window;
  Services m_services;
  std::vector<QPointer<TFseparato>> m_windows;
};

}  // namespace tarn::app::ui
