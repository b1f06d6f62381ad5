// The page order tree and the link explorer in the main window: the "Pages"
// panel docked beside the editor (its place and visibility kept with the
// toolbars' state), the "Hypertext search..." and "Link diagram..."
// commands, and the delete command that the panel, the explorer and the
// archives share. The window creates it once and tells it when the
// hypertext or the page shown changes.
#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <string>
#include <vector>

#include "document/objectkinds.h"
#include "search/ui/fricerca.h"

class QDockWidget;
class QMainWindow;

namespace tarn::document {
class TAEHset;
}
namespace tarn::document::ui {
class TPagesPanel;
}

namespace tarn::app::ui {

class CommandSet;
class EditorControl;

class PageTreeCommands : public QObject {
 public:
  struct Host {
    document::TAEHset& set;
    EditorControl& editor;
    QMainWindow& window;
    // Writes the page being edited back into the hypertext (before the
    // explorer reads it).
    std::function<void()> commitPage;
    // Shows the page an internal URL names (the window's NavigateToUrl).
    std::function<void(const std::string& url)> navigateToUrl;
    // Any other address; unset: the desktop's handler.
    std::function<void(const std::string& url)> openUrl;
    // The file-link dialog for an embedded file.
    std::function<void(document::ObjectId file)> openFile;
    // The option "CercaTop": the explorer stays on top of the window.
    std::function<bool()> explorerOnTop;
    // The hypertext changed through the panel or a deletion (the window
    // refreshes its modified state).
    std::function<void()> changed;
  };

  PageTreeCommands(CommandSet& commands, Host host, QObject* parent);
  ~PageTreeCommands() override;

  QDockWidget* Dock() const { return m_dock; }
  document::ui::TPagesPanel& Panel() const { return *m_panel; }
  search::ui::TFricerca* Explorer() const { return m_explorer.data(); }

  // Another hypertext was opened or made, or the open one saved (and so
  // read again): the panel reads its tree, the explorer is out of date.
  void HypertextChanged();
  // The editor shows another page.
  void PageChanged();
  // Edit mode or preview: the panel edits only in edit mode.
  void SetEditMode(bool edit);
  // Shows the explorer, made when it does not exist, on one of its tabs.
  void ShowExplorer(search::ui::TFricerca::Tab tab);
  // The window's delete command: the report of the references, and on OK
  // the deletion. True when the objects were deleted.
  bool DeleteObjects(const std::vector<document::ObjectId>& ids);

 private:
  Host m_host;
  QDockWidget* m_dock = nullptr;
  document::ui::TPagesPanel* m_panel = nullptr;
  QPointer<search::ui::TFricerca> m_explorer;
};

}  // namespace tarn::app::ui
