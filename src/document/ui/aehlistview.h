// The object list on screen: the live objects of one kind with their size
// and file name, in report form or as icons, with renaming in place, the
// Delete key and dragging objects out (into a page order tree).
#pragma once

#include <QAbstractTableModel>
#include <QWidget>

#include <functional>
#include <vector>

#include "document/objectlist.h"

class QAbstractItemView;
class QItemSelectionModel;
class QListView;
class QStackedLayout;
class QTreeView;

namespace tarn::document::ui {

// The list model as Qt's views read it: "Title", "Size", "File name" and a
// fourth column without caption (the page index).
class ObjectListItemModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  ObjectListItemModel(ObjectList& list, QObject* parent = nullptr);

  void Rebuild(const std::function<void()>& change);
  void Append(const TAEHoggetto& object);
  bool readOnly = false;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QStringList mimeTypes() const override;
  QMimeData* mimeData(const QModelIndexList& indexes) const override;

 private:
  ObjectList& m_list;
};

class TAEHListView : public QWidget {
  Q_OBJECT
 public:
  enum class ViewStyle { Icon, SmallIcon, List, Report };

  explicit TAEHListView(QWidget* parent = nullptr);

  int Objects() const { return m_list.Objects(); }
  void SetObjects(int kind) { m_list.SetObjects(kind); }
  TAEHset* LinkedAEHset() const { return m_list.LinkedAEHset(); }
  // Forgets the items; Reload fills the list again.
  void SetLinkedAEHset(TAEHset* set);
  // A right click selects the item under the mouse and counts as a click.
  bool RightMouseSelect = true;
  void SetReadOnly(bool readOnly);
  void SetMultiSelect(bool multi);
  void SetViewStyle(ViewStyle style);
  ViewStyle Style() const { return m_style; }

  // The model's events (filter, reload, around a rename).
  ObjectList& List() { return m_list; }
  ObjectListItemModel& ItemModel() { return m_items; }
  // The Delete key on an item.
  std::function<void()> OnDel;
  // A click (or a right click) and a double click on an item.
  std::function<void(ObjectId id)> OnClick;
  std::function<void(ObjectId id)> OnDoubleClick;

  void Reload();
  void AddItem(const TAEHoggetto& object);
  void Clear();
  // -1 when nothing is selected.
  ObjectId SelectedId() const;
  // The ids of all selected items, in list order, leaving out id 0 (page
  // 0, which nothing may delete).
  std::vector<ObjectId> SelectedObjects() const;
  void SelectById(ObjectId id);
  int Count() const { return static_cast<int>(m_list.Items().size()); }
  // The view shown now (report or icons), for tests and key handling.
  QAbstractItemView* View() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SetUpView(QAbstractItemView* view);
  std::vector<int> SelectedRows() const;

  ObjectList m_list;
  ObjectListItemModel m_items;
  QTreeView* m_report = nullptr;
  QListView* m_icons = nullptr;
  QStackedLayout* m_stack = nullptr;
  ViewStyle m_style = ViewStyle::Report;
};

}  // namespace tarn::document::ui
