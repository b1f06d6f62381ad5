// The "Pages" panel beside the editor: the page order tree of the open
// hypertext. A click shows a page; the tree follows the page shown; pages
// and chapters are added, renamed, moved between chapters and deleted here
// (pages through the main window's delete command, which reports the
// references first).
#pragma once

#include <QWidget>

#include <functional>
#include <vector>

#include "document/objectkinds.h"
#include "document/ui/editorlink.h"

class QAction;
class QToolBar;

namespace tarn::document {
class TAEHset;
class TreeNode;
}  // namespace tarn::document

namespace tarn::document::ui {

class TAEHorderedTreeView;

struct PagesPanelHost {
  EditorLink editor;
  // The main window's delete command: reports the references, and on OK
  // deletes the objects and every reference to them.
  std::function<void(const std::vector<ObjectId>& ids)> deleteObjects;
  // The hypertext changed through the panel (a page or chapter added,
  // renamed or moved).
  std::function<void()> changed;
};

class TPagesPanel : public QWidget {
  Q_OBJECT
 public:
  explicit TPagesPanel(PagesPanelHost host, QWidget* parent = nullptr);

  // The hypertext shown; nothing for none. Call again after another
  // hypertext was opened into the same container.
  void SetHypertext(TAEHset* set);
  // Reads the tree again (pages added or retitled elsewhere).
  void Reload();
  // The editor shows another page: the tree selects it, quietly.
  void ShowPage(long page);
  // Editing off (preview mode, a protected hypertext): the tree still
  // shows pages on a click.
  void SetEditable(bool editable);

  TAEHorderedTreeView& Tree() const { return *m_tree; }
  QAction* Action(const char* name) const;

  // The panel's commands.
  void AddPage();
  void AddChapter();
  void RenameSelected();
  void MoveUp();
  void MoveDown();
  void DeleteSelected();

 private:
  void UpdateActions();
  // The chapter (or root) new nodes go into: the selected one, or the one
  // around the selected node.
  TreeNode* TargetContainer() const;
  bool RenamePage(TreeNode& node, const std::string& title);
  void ShowNodePage(const QModelIndex& index);
  void DeletePage(ObjectId page);
  QAction* AddAction(const char* name, const QString& caption, const QString& hint,
                     void (TPagesPanel::*slot)());

  PagesPanelHost m_host;
  TAEHset* m_set = nullptr;
  QToolBar* m_bar = nullptr;
  TAEHorderedTreeView* m_tree = nullptr;
  bool m_editable = true;
};

}  // namespace tarn::document::ui
