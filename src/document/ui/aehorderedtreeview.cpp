// The page order tree on screen; see aehorderedtreeview.h.
#include "document/ui/aehorderedtreeview.h"

#include <QApplication>
#include <QDataStream>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QSet>

#include "document/aehoggetto.h"
#include "document/aehset.h"
#include "document/ui/fileicons.h"
#include "platform/qt/qtstrings.h"

namespace tarn::document::ui {
namespace {

using platform::qt::FromQString;
using platform::qt::ToQString;

// A tree marks its drags with its own address, so that a drop back into
// it moves the dragged node itself (chapters carry no object id).
constexpr char kTreeOriginMime[] = "application/x-tarn-tree-origin";

QByteArray Origin(const void* tree) { return QByteArray::number(reinterpret_cast<quintptr>(tree)); }

}  // namespace

std::vector<ObjectId> DraggedIds(const QMimeData* data) {
  std::vector<ObjectId> ids;
  if (data == nullptr || !data->hasFormat(QLatin1String(kObjectIdsMime))) return ids;
  QByteArray bytes = data->data(QLatin1String(kObjectIdsMime));
  QDataStream in(&bytes, QIODevice::ReadOnly);
  while (!in.atEnd()) {
    qint32 id = 0;
    in >> id;
    if (in.status() != QDataStream::Ok) break;
    ids.push_back(id);
  }
  return ids;
}

QMimeData* ObjectIdsMime(const std::vector<ObjectId>& ids) {
  QByteArray bytes;
  QDataStream out(&bytes, QIODevice::WriteOnly);
  for (ObjectId id : ids) out << qint32(id);
  auto* data = new QMimeData;
  data->setData(QLatin1String(kObjectIdsMime), bytes);
  return data;
}

// ---- The item model ----

OrderedTreeItemModel::OrderedTreeItemModel(TAEHorderedTree& tree, QObject* parent)
    : QAbstractItemModel(parent), m_tree(tree) {}

TreeNode* OrderedTreeItemModel::Node(const QModelIndex& index) const {
  return index.isValid() ? static_cast<TreeNode*>(index.internalPointer()) : nullptr;
}

QModelIndex OrderedTreeItemModel::IndexOf(const TreeNode* node) const {
  if (node == nullptr || node == &m_tree.Top()) return {};
  return createIndex(node->Row(), 0, const_cast<TreeNode*>(node));
}

void OrderedTreeItemModel::Rebuild(const std::function<void()>& change) {
  beginResetModel();
  change();
  endResetModel();
}

QModelIndex OrderedTreeItemModel::index(int row, int column, const QModelIndex& parent) const {
  if (row < 0 || column != 0) return {};
  const TreeNode* holder = parent.isValid() ? Node(parent) : &m_tree.Top();
  TreeNode* child = holder->Child(static_cast<std::size_t>(row));
  return child != nullptr ? createIndex(row, 0, child) : QModelIndex();
}

QModelIndex OrderedTreeItemModel::parent(const QModelIndex& index) const {
  const TreeNode* node = Node(index);
  return node != nullptr ? IndexOf(node->Parent()) : QModelIndex();
}

int OrderedTreeItemModel::rowCount(const QModelIndex& parent) const {
  if (parent.column() > 0) return 0;
  const TreeNode* node = parent.isValid() ? Node(parent) : &m_tree.Top();
  return static_cast<int>(node->ChildCount());
}

int OrderedTreeItemModel::columnCount(const QModelIndex&) const { return 1; }

QVariant OrderedTreeItemModel::data(const QModelIndex& index, int role) const {
  const TreeNode* node = Node(index);
  if (node == nullptr) return {};
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: return ToQString(node->Text());
    case Qt::DecorationRole:
      if (node->IsRoot()) return IconForExtension(QStringLiteral(".aeh"));
      if (node->IsChapter()) return IconForExtension(QStringLiteral(".hlp"));
      if (node->HoldsObject()) {
        return IconForExtension(m_tree.Objects() == custom ? QStringLiteral(".ini") : QStringLiteral(".txt"));
      }
      return {};
    case Qt::ToolTipRole:
      if (node->HoldsObject() && m_tree.Objects() == testoHtml) {
        return tr("Page %1").arg(document::IndexOf(node->Object()));
      }
      return {};
    default: return {};
  }
}

bool OrderedTreeItemModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  TreeNode* node = Node(index);
  if (node == nullptr || role != Qt::EditRole) return false;
  // A name with characters the document cannot hold is refused: the old
  // name stays in view.
  const std::optional<std::string> text = FromQString(value.toString());
  if (!text) {
    QApplication::beep();
    return false;
  }
  bool renamed = false;
  if (node->HoldsObject() && m_tree.Objects() == testoHtml) {
    renamed = renamePage && renamePage(*node, *text);
  } else {
    renamed = m_tree.Rename(*node, *text);
  }
  if (renamed) emit dataChanged(index, index);
  return renamed;
}

Qt::ItemFlags OrderedTreeItemModel::flags(const QModelIndex& index) const {
  const TreeNode* node = Node(index);
  if (node == nullptr) return m_tree.Editable ? Qt::ItemIsDropEnabled : Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
  if (!m_tree.Editable) return f;
  const bool pageRename = node->HoldsObject() && m_tree.Objects() == testoHtml && renamePage;
  if (m_tree.CanRename(*node) || pageRename) f |= Qt::ItemIsEditable;
  if (!node->IsRoot()) f |= Qt::ItemIsDragEnabled;
  if (!node->HoldsObject()) f |= Qt::ItemIsDropEnabled;
  return f;
}

QStringList OrderedTreeItemModel::mimeTypes() const { return {QLatin1String(kObjectIdsMime)}; }

QMimeData* OrderedTreeItemModel::mimeData(const QModelIndexList& indexes) const {
  std::vector<ObjectId> ids;
  for (const QModelIndex& index : indexes) {
    if (const TreeNode* node = Node(index); node != nullptr && node->HoldsObject()) ids.push_back(node->Object());
  }
  QMimeData* data = ObjectIdsMime(ids);
  data->setData(QLatin1String(kTreeOriginMime), Origin(this));
  return data;
}

// ---- The view ----

TAEHorderedTreeView::TAEHorderedTreeView(QWidget* parent) : QTreeView(parent), m_items(m_tree, this) {
  setObjectName(QStringLiteral("AEHorderedTree"));
  setModel(&m_items);
  setHeaderHidden(true);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setDragDropMode(QAbstractItemView::DragDrop);
  setDefaultDropAction(Qt::MoveAction);
  setDropIndicatorShown(true);
  SetEditable(false);
}

void TAEHorderedTreeView::SetObjects(int kind) {
  m_items.Rebuild([&] { m_tree.SetObjects(kind); });
  ExpandContainers();
}

void TAEHorderedTreeView::SetEditable(bool editable) {
  m_tree.Editable = editable;
  setEditTriggers(editable ? QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked
                           : QAbstractItemView::NoEditTriggers);
  setDragEnabled(editable);
  setAcceptDrops(editable);
  viewport()->setAcceptDrops(editable);
}

void TAEHorderedTreeView::SetLinkedAEHset(TAEHset* set) {
  m_items.Rebuild([&] { m_tree.SetLinkedAEHset(set); });
  ExpandContainers();
}

void TAEHorderedTreeView::Reload() {
  m_items.Rebuild([&] { m_tree.Reload(); });
  ExpandContainers();
}

void TAEHorderedTreeView::ExpandContainers() {
  m_tree.ForEach([this](TreeNode& node) {
    if (node.IsContainer() && node.ChildCount() > 0) expand(m_items.IndexOf(&node));
  });
}

void TAEHorderedTreeView::Change(const std::function<void()>& change) {
  // Nodes keep their addresses through every change but a reload, so what
  // was open and selected can be found again afterwards.
  QSet<TreeNode*> open;
  m_tree.ForEach([&](TreeNode& node) {
    if (isExpanded(m_items.IndexOf(&node))) open.insert(&node);
  });
  TreeNode* selected = SelectedNode();
  m_items.Rebuild(change);
  bool stillThere = false;
  m_tree.ForEach([&](TreeNode& node) {
    if (open.contains(&node)) expand(m_items.IndexOf(&node));
    if (&node == selected) stillThere = true;
  });
  if (stillThere) Select(selected);
}

void TAEHorderedTreeView::Select(TreeNode* node) {
  const QModelIndex index = m_items.IndexOf(node);
  if (!index.isValid()) return;
  for (TreeNode* p = node->Parent(); p != nullptr; p = p->Parent()) expand(m_items.IndexOf(p));
  selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
  scrollTo(index);
}

TreeNode* TAEHorderedTreeView::SelectObject(ObjectId id) {
  TreeNode* node = m_tree.FindObject(id);
  if (node != nullptr) {
    const QSignalBlocker block(selectionModel());
    Select(node);
    viewport()->update();
  }
  return node;
}

TreeNode* TAEHorderedTreeView::SelectedNode() const {
  const QModelIndexList rows = selectionModel()->selectedIndexes();
  return rows.isEmpty() ? m_items.Node(currentIndex()) : m_items.Node(rows.front());
}

TreeNode* TAEHorderedTreeView::ChapterOf(TreeNode* node) const {
  while (node != nullptr && !node->IsContainer()) node = node->Parent();
  return node;
}

std::string TAEHorderedTreeView::SelectedChapterName() const {
  TreeNode* chapter = ChapterOf(SelectedNode());
  return chapter != nullptr && chapter->IsChapter() ? chapter->Text() : std::string();
}

ObjectId TAEHorderedTreeView::SelectedObject() const {
  const TreeNode* node = SelectedNode();
  return node != nullptr ? node->Object() : -1;
}

bool TAEHorderedTreeView::MoveUp() {
  TreeNode* node = SelectedNode();
  bool moved = false;
  if (node != nullptr) Change([&] { moved = m_tree.MoveUp(*node); });
  return moved;
}

bool TAEHorderedTreeView::MoveDown() {
  TreeNode* node = SelectedNode();
  bool moved = false;
  if (node != nullptr) Change([&] { moved = m_tree.MoveDown(*node); });
  return moved;
}

TreeNode* TAEHorderedTreeView::AddChapter(const std::string& name) {
  TreeNode* parent = SelectedNode();
  if (parent == nullptr || !parent->IsContainer()) return nullptr;
  TreeNode* added = nullptr;
  Change([&] { added = m_tree.AddChapter(*parent, name); });
  if (added != nullptr) {
    Select(added);
    edit(m_items.IndexOf(added));
  }
  return added;
}

TreeNode* TAEHorderedTreeView::AddObject(ObjectId id) {
  TreeNode* parent = SelectedNode();
  if (parent == nullptr || !parent->IsContainer()) return nullptr;
  TreeNode* added = nullptr;
  Change([&] { added = m_tree.AddObject(*parent, id); });
  if (added != nullptr) Select(added);
  return added;
}

bool TAEHorderedTreeView::DeleteNode(TreeNode& node) {
  bool deleted = false;
  TreeNode* parent = node.Parent();
  Change([&] { deleted = m_tree.DeleteNode(node); });
  if (deleted && parent != nullptr) Select(parent);
  return deleted;
}

bool TAEHorderedTreeView::MoveSelectedInto(TreeNode& target) {
  TreeNode* node = SelectedNode();
  bool moved = false;
  if (node != nullptr) Change([&] { moved = m_tree.MoveInto(*node, target); });
  if (moved) Select(node);
  return moved;
}

void TAEHorderedTreeView::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier && state() != EditingState) {
    if (TreeNode* node = SelectedNode(); node != nullptr && m_tree.Editable && !node->IsRoot()) {
      // A live object leaves the tree only by being deleted from the
      // hypertext, which the host decides.
      if (node->HoldsObject() && !m_tree.CanDelete(*node)) {
        if (OnDel) OnDel(*node);
      } else {
        DeleteNode(*node);
      }
    }
    event->accept();
    return;
  }
  QTreeView::keyPressEvent(event);
}

void TAEHorderedTreeView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && !LeftMouseSelect) {
    event->accept();
    return;
  }
  QTreeView::mousePressEvent(event);
}

bool TAEHorderedTreeView::FromThisTree(const QMimeData* mime) const {
  return mime != nullptr && mime->data(QLatin1String(kTreeOriginMime)) == Origin(&m_items);
}

TreeNode* TAEHorderedTreeView::DropTarget(const QPoint& pos, const QMimeData* mime) const {
  // Only the trees and lists of objects make drags of this type.
  if (!m_tree.Editable || mime == nullptr || !mime->hasFormat(QLatin1String(kObjectIdsMime))) return nullptr;
  TreeNode* target = m_items.Node(indexAt(pos));
  if (target == nullptr || target->HoldsObject()) return nullptr;
  if (FromThisTree(mime)) {
    TreeNode* node = SelectedNode();
    return node != nullptr && m_tree.CanMove(*node, *target) ? target : nullptr;
  }
  // From a list or another tree: objects of this tree's kind.
  for (ObjectId id : DraggedIds(mime)) {
    if (KindOf(id) == m_tree.Objects()) return target;
  }
  return nullptr;
}

void TAEHorderedTreeView::dragEnterEvent(QDragEnterEvent* event) {
  if (m_tree.Editable && event->mimeData()->hasFormat(QLatin1String(kObjectIdsMime))) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void TAEHorderedTreeView::dragMoveEvent(QDragMoveEvent* event) {
  QTreeView::dragMoveEvent(event);
  if (DropTarget(event->position().toPoint(), event->mimeData()) != nullptr) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void TAEHorderedTreeView::dropEvent(QDropEvent* event) {
  TreeNode* target = DropTarget(event->position().toPoint(), event->mimeData());
  if (target == nullptr) {
    event->ignore();
    return;
  }
  if (FromThisTree(event->mimeData())) {
    MoveSelectedInto(*target);
  } else {
    TreeNode* last = nullptr;
    Change([&] {
      for (ObjectId id : DraggedIds(event->mimeData())) {
        if (TreeNode* added = m_tree.AddObject(*target, id)) last = added;
      }
    });
    if (last != nullptr) Select(last);
  }
  // The move is done here; the drag's source must not remove anything.
  event->setDropAction(Qt::CopyAction);
  event->accept();
  stopAutoScroll();
  setState(NoState);
  viewport()->update();
}

}  // namespace tarn::document::ui
