// The page order tree and the link explorer in the main window; see
// pagetreecommands.h.
#include "app/ui/pagetreecommands.h"

#include <QDockWidget>
#include <QMainWindow>

#include "app/ui/commandset.h"
#include "app/ui/editorcontrol.h"
#include "document/ui/pagespanel.h"
#include "search/ui/fcancella.h"

namespace tarn::app::ui {

PageTreeCommands::PageTreeCommands(CommandSet& commands, Host host, QObject* parent)
    : QObject(parent), m_host(std::move(host)) {
  document::ui::PagesPanelHost panelHost;
  EditorControl& editor = m_host.editor;
  panelHost.editor.mainPage = [&editor] { return editor.MainPageNumber(); };
  panelHost.editor.showPage = [&editor](long page) { editor.SetMainPageNumber(page); };
  panelHost.deleteObjects = [this](const std::vector<document::ObjectId>& ids) { DeleteObjects(ids); };
  panelHost.changed = [this] {
    if (m_host.changed) m_host.changed();
  };
  m_panel = new document::ui::TPagesPanel(panelHost);
  m_dock = new QDockWidget(tr("Pages"), &m_host.window);
  // The name keeps the panel's place and visibility in the window's saved
  // state, beside the toolbars'.
  m_dock->setObjectName(QStringLiteral("PagesDock"));
  m_dock->setWidget(m_panel);
  m_host.window.addDockWidget(Qt::LeftDockWidgetArea, m_dock);
  m_panel->SetHypertext(&m_host.set);

  commands.Bind("HypertextSearchClick", [this](const CommandCall&) { ShowExplorer(search::ui::TFricerca::kSearchTab); });
  commands.Bind("Diagrammadeicollegamenti1Click",
                [this](const CommandCall&) { ShowExplorer(search::ui::TFricerca::kExploreTab); });
}

PageTreeCommands::~PageTreeCommands() { delete m_explorer.data(); }

void PageTreeCommands::HypertextChanged() {
  m_panel->SetHypertext(&m_host.set);
  if (m_explorer) m_explorer->MarkStale();
}

void PageTreeCommands::PageChanged() {
  m_panel->ShowPage(m_host.editor.MainPageNumber());
}

void PageTreeCommands::SetEditMode(bool edit) { m_panel->SetEditable(edit); }

void PageTreeCommands::ShowExplorer(search::ui::TFricerca::Tab tab) {
  if (m_host.commitPage) m_host.commitPage();
  if (m_explorer.isNull()) {
    search::ui::ExplorerHost host;
    host.editor = {[this] { return m_host.editor.MainPageNumber(); },
                   [this](long page) { m_host.editor.SetMainPageNumber(page); }};
    host.navigateToUrl = m_host.navigateToUrl;
    host.openUrl = m_host.openUrl;
    host.openFile = m_host.openFile;
    host.deleteObjects = [this](const std::vector<document::ObjectId>& ids) { DeleteObjects(ids); };
    m_explorer = new search::ui::TFricerca(m_host.set, host, &m_host.window);
  }
  const bool onTop = m_host.explorerOnTop && m_host.explorerOnTop();
  m_explorer->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
  // Beside a window that is not always on top, both must be seen.
  if (!onTop && (m_host.window.isMaximized() || m_host.window.isMinimized())) m_host.window.showNormal();
  m_explorer->show();
  m_explorer->SelectTab(tab);
  m_explorer->raise();
  m_explorer->activateWindow();
}

bool PageTreeCommands::DeleteObjects(const std::vector<document::ObjectId>& ids) {
  const document::ui::EditorLink editor{[this] { return m_host.editor.MainPageNumber(); },
                                        [this](long page) { m_host.editor.SetMainPageNumber(page); }};
  const bool deleted = search::ui::AskAndDeleteObjects(&m_host.window, m_host.set, ids, editor);
  if (deleted) {
    m_panel->Reload();
    if (m_host.changed) m_host.changed();
  }
  return deleted;
}

}  // namespace tarn::app::ui
