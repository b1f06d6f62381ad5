// The object list on screen; see aehlistview.h.
#include "document/ui/aehlistview.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListView>
#include <QMimeData>
#include <QMouseEvent>
#include <QStackedLayout>
#include <QTreeView>

#include "document/aehoggetto.h"
#include "document/aehset.h"
#include "document/ui/aehorderedtreeview.h"
#include "document/ui/fileicons.h"
#include "platform/qt/qtstrings.h"

namespace tarn::document::ui {
namespace {

using platform::qt::FromQString;
using platform::qt::ToQString;

enum Column { kTitle, kSize, kFileName, kIndex, kColumns };
constexpr int kBigIcon = 32;
constexpr int kSmallIcon = 16;

}  // namespace

// ---- The item model ----

ObjectListItemModel::ObjectListItemModel(ObjectList& list, QObject* parent)
    : QAbstractTableModel(parent), m_list(list) {}

void ObjectListItemModel::Rebuild(const std::function<void()>& change) {
  beginResetModel();
  change();
  endResetModel();
}

void ObjectListItemModel::Append(const TAEHoggetto& object) {
  const int row = rowCount();
  beginInsertRows({}, row, row);
  m_list.AddItem(object);
  endInsertRows();
}

int ObjectListItemModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_list.Items().size());
}

int ObjectListItemModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant ObjectListItemModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const ObjectListItem& item = m_list.Items()[static_cast<std::size_t>(index.row())];
  if (role == Qt::DisplayRole || role == Qt::EditRole) {
    switch (index.column()) {
      case kTitle: return ToQString(item.caption);
      case kSize: return QVariant::fromValue<qlonglong>(item.size);
      case kFileName: return ToQString(item.fileName);
      case kIndex: return item.pageIndex >= 0 ? QVariant(item.pageIndex) : QVariant();
      default: return {};
    }
  }
  if (role == Qt::DecorationRole && index.column() == kTitle && !item.noIcon) {
    return IconForExtension(QString::fromLatin1(item.iconExtension));
  }
  if (role == Qt::UserRole) return item.id;
  if (role == Qt::TextAlignmentRole) return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
  return {};
}

QVariant ObjectListItemModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  switch (section) {
    case kTitle: return tr("Title");
    case kSize: return tr("Size");
    case kFileName: return tr("File name");
    default: return QString();
  }
}

bool ObjectListItemModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || index.column() != kTitle || readOnly) return false;
  const std::optional<std::string> name = FromQString(value.toString());
  if (!name) {
    QApplication::beep();
    return false;
  }
  const bool taken = m_list.Rename(static_cast<std::size_t>(index.row()), *name);
  // Shown again either way: a refused name gives way to the old one.
  emit dataChanged(index, index);
  return taken;
}

Qt::ItemFlags ObjectListItemModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled;
  if (!readOnly && index.column() == kTitle) f |= Qt::ItemIsEditable;
  return f;
}

QStringList ObjectListItemModel::mimeTypes() const { return {QLatin1String(kObjectIdsMime)}; }

QMimeData* ObjectListItemModel::mimeData(const QModelIndexList& indexes) const {
  std::vector<ObjectId> ids;
  for (const QModelIndex& index : indexes) {
    if (index.column() == kTitle && index.row() < rowCount()) {
      ids.push_back(m_list.Items()[static_cast<std::size_t>(index.row())].id);
    }
  }
  return ObjectIdsMime(ids);
}

// ---- The control ----

TAEHListView::TAEHListView(QWidget* parent) : QWidget(parent), m_items(m_list, this) {
  setObjectName(QStringLiteral("AEHListView"));
  m_report = new QTreeView(this);
  m_report->setObjectName(QStringLiteral("Report"));
  m_report->setRootIsDecorated(false);
  m_report->setUniformRowHeights(true);
  m_report->setAllColumnsShowFocus(true);
  m_report->setModel(&m_items);
  m_report->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  m_report->header()->setStretchLastSection(true);
  m_report->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  m_icons = new QListView(this);
  m_icons->setObjectName(QStringLiteral("Icons"));
  m_icons->setModel(&m_items);
  m_icons->setSelectionModel(m_report->selectionModel());
  m_icons->setResizeMode(QListView::Adjust);
  m_icons->setUniformItemSizes(true);
  SetUpView(m_report);
  SetUpView(m_icons);
  m_stack = new QStackedLayout(this);
  m_stack->setContentsMargins(0, 0, 0, 0);
  m_stack->addWidget(m_report);
  m_stack->addWidget(m_icons);
  SetMultiSelect(false);
  SetViewStyle(ViewStyle::Report);
}

void TAEHListView::SetUpView(QAbstractItemView* view) {
  view->setDragEnabled(true);
  view->setDragDropMode(QAbstractItemView::DragOnly);
  view->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
  view->installEventFilter(this);
  view->viewport()->installEventFilter(this);
  connect(view, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
    if (OnClick) OnClick(m_items.data(index, Qt::UserRole).toInt());
  });
  connect(view, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
    if (OnDoubleClick) OnDoubleClick(m_items.data(index, Qt::UserRole).toInt());
  });
}

void TAEHListView::SetLinkedAEHset(TAEHset* set) {
  m_items.Rebuild([&] { m_list.SetLinkedAEHset(set); });
}

void TAEHListView::SetReadOnly(bool readOnly) {
  m_items.readOnly = readOnly;
  const auto triggers = readOnly ? QAbstractItemView::NoEditTriggers
                                 : QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked;
  m_report->setEditTriggers(triggers);
  m_icons->setEditTriggers(triggers);
}

void TAEHListView::SetMultiSelect(bool multi) {
  const auto mode = multi ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection;
  m_report->setSelectionMode(mode);
  m_icons->setSelectionMode(mode);
}

void TAEHListView::SetViewStyle(ViewStyle style) {
  m_style = style;
  if (style == ViewStyle::Report) {
    m_stack->setCurrentWidget(m_report);
    return;
  }
  m_icons->setViewMode(style == ViewStyle::Icon ? QListView::IconMode : QListView::ListMode);
  m_icons->setFlow(style == ViewStyle::List ? QListView::TopToBottom : QListView::LeftToRight);
  m_icons->setWrapping(true);
  const int side = style == ViewStyle::Icon ? kBigIcon : kSmallIcon;
  m_icons->setIconSize(QSize(side, side));
  m_stack->setCurrentWidget(m_icons);
}

QAbstractItemView* TAEHListView::View() const {
  return m_style == ViewStyle::Report ? static_cast<QAbstractItemView*>(m_report) : m_icons;
}

void TAEHListView::Reload() {
  m_items.Rebuild([&] { m_list.Reload(); });
}

void TAEHListView::AddItem(const TAEHoggetto& object) { m_items.Append(object); }

void TAEHListView::Clear() {
  m_items.Rebuild([&] { m_list.Clear(); });
}

std::vector<int> TAEHListView::SelectedRows() const {
  // The icon views select the first column only, the report view whole
  // rows: a row counts when its first cell is selected.
  std::vector<int> rows;
  for (const QModelIndex& index : m_report->selectionModel()->selectedIndexes()) {
    if (index.column() == 0) rows.push_back(index.row());
  }
  std::sort(rows.begin(), rows.end());
  return rows;
}

ObjectId TAEHListView::SelectedId() const {
  const QModelIndex current = m_report->selectionModel()->currentIndex();
  const std::vector<int> rows = SelectedRows();
  if (rows.empty()) return -1;
  // The item the author acted on last, when it is among the selected ones.
  const int row = current.isValid() && std::binary_search(rows.begin(), rows.end(), current.row()) ? current.row()
                                                                                                  : rows.front();
  return m_items.data(m_items.index(row, 0), Qt::UserRole).toInt();
}

std::vector<ObjectId> TAEHListView::SelectedObjects() const {
  std::vector<ObjectId> ids;
  for (int row : SelectedRows()) {
    const ObjectId id = m_items.data(m_items.index(row, 0), Qt::UserRole).toInt();
    if (id != 0) ids.push_back(id);
  }
  return ids;
}

void TAEHListView::SelectById(ObjectId id) {
  const int row = m_list.Find(id);
  if (row < 0) {
    m_report->selectionModel()->clearSelection();
    return;
  }
  const QModelIndex index = m_items.index(row, 0);
  m_report->selectionModel()->setCurrentIndex(
      index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  View()->scrollTo(index);
}

bool TAEHListView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && (watched == m_report || watched == m_icons)) {
    // While an item is renamed its editor has the keys, not the view.
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier && SelectedId() != -1) {
      if (OnDel) OnDel();
      return true;
    }
  }
  if (event->type() == QEvent::MouseButtonPress && (watched == m_report->viewport() || watched == m_icons->viewport())) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::RightButton) {
      if (!RightMouseSelect) return true;
      const QModelIndex index = View()->indexAt(mouse->position().toPoint());
      if (index.isValid()) {
        m_report->selectionModel()->setCurrentIndex(
            index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        if (OnClick) OnClick(m_items.data(index, Qt::UserRole).toInt());
      }
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace tarn::document::ui
