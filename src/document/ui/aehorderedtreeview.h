// The page order tree on screen: a tree view over the core model, with the
// file-type icons, renaming in place, moving by buttons and by dragging
// onto a chapter, and the Delete key.
#pragma once

#include <QAbstractItemModel>
#include <QTreeView>

#include <functional>
#include <string>
#include <vector>

#include "document/aehorderedtree.h"

namespace tarn::document::ui {

inline constexpr char kObjectIdsMime[] = "application/x-tarn-object-ids";

// The tree model as Qt's views read it: one column, a node per index.
class OrderedTreeItemModel : public QAbstractItemModel {
  Q_OBJECT
 public:
  OrderedTreeItemModel(TAEHorderedTree& tree, QObject* parent = nullptr);

  TreeNode* Node(const QModelIndex& index) const;
  QModelIndex IndexOf(const TreeNode* node) const;
  // Structural changes go through here so that the views hear of them.
  void Rebuild(const std::function<void()>& change);
  // Renames a page node (the view's host writes the editor's page back
  // around it); unset: pages are not renamed in place.
  std::function<bool(TreeNode& node, const std::string& title)> renamePage;

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& index) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QStringList mimeTypes() const override;
  QMimeData* mimeData(const QModelIndexList& indexes) const override;
  Qt::DropActions supportedDropActions() const override { return Qt::MoveAction | Qt::CopyAction; }

 private:
  TAEHorderedTree& m_tree;
};

class TAEHorderedTreeView : public QTreeView {
  Q_OBJECT
 public:
  explicit TAEHorderedTreeView(QWidget* parent = nullptr);

  int Objects() const { return m_tree.Objects(); }
  void SetObjects(int kind);
  bool Editable() const { return m_tree.Editable; }
  void SetEditable(bool editable);
  TAEHset* LinkedAEHset() const { return m_tree.LinkedAEHset(); }
  void SetLinkedAEHset(TAEHset* set);
  // A left click selects the node under the mouse (on by default).
  bool LeftMouseSelect = true;
  // The Delete key on a node that holds an object: the host decides (and
  // deletes the object, reloading the tree afterwards); nothing without it.
  std::function<void(TreeNode& node)> OnDel;
  // After the author gave an object node a new name.
  std::function<void(TreeNode& node)> OnRenameItem;

  TAEHorderedTree& Model() { return m_tree; }
  OrderedTreeItemModel& ItemModel() { return m_items; }

  void Reload();
  void Store() { m_tree.Store(); }
  // Selects the node of the object without telling anyone; its node, or nothing.
  TreeNode* SelectObject(ObjectId id);
  void OrderedObjects(std::vector<ObjectId>& list) const { m_tree.OrderedObjects(list); }
  bool MoveUp();
  bool MoveDown();
  TreeNode* SelectedNode() const;
  // The selected chapter's name, or the name of the chapter around the
  // selected node; empty when there is none.
  std::string SelectedChapterName() const;
  ObjectId SelectedObject() const;
  // Adds under the selected chapter (or the root), selects the new node and
  // opens it for renaming.
  TreeNode* AddChapter(const std::string& name);
  TreeNode* AddObject(ObjectId id);
  bool DeleteNode(TreeNode& node);
  // Moves the selected node to be the last child of target.
  bool MoveSelectedInto(TreeNode& target);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // Where a drop onto the position would go, or nothing.
  TreeNode* DropTarget(const QPoint& pos, const QMimeData* mime) const;
  bool FromThisTree(const QMimeData* mime) const;
  void Select(TreeNode* node);
  void ExpandContainers();
  // Runs a structural change and keeps what was open and selected.
  void Change(const std::function<void()>& change);
  TreeNode* ChapterOf(TreeNode* node) const;

  TAEHorderedTree m_tree;
  OrderedTreeItemModel m_items;
};

// The object ids a drag from a tree or a list carries, and the drag data
// that carries them.
std::vector<ObjectId> DraggedIds(const QMimeData* data);
QMimeData* ObjectIdsMime(const std::vector<ObjectId>& ids);

}  // namespace tarn::document::ui
