// The export file list on screen; see listhtmltotxview.h.
#include "app/ui/listhtmltotxview.h"

#include <QApplication>
#include <QHeaderView>
#include <QMimeDatabase>
#include <QMouseEvent>
#include <QStyle>

#include "platform/qt/qtstrings.h"

namespace tarn::app::ui {
namespace {

using platform::qt::ToQString;

constexpr int kRowRole = Qt::UserRole;

}  // namespace

TAEHListHtmlToTxView::TAEHListHtmlToTxView(QWidget* parent) : QTreeWidget(parent) {
  setObjectName(QStringLiteral("lvPages"));
  setRootIsDecorated(false);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
  QStringList headers;
  for (const std::string& caption : convert::TAEHListHtmlToTx::ColumnCaptions()) headers << ToQString(caption);
  setHeaderLabels(headers);
  header()->setSectionsClickable(true);
  connect(header(), &QHeaderView::sectionClicked, this, &TAEHListHtmlToTxView::HeaderClicked);
  connect(this, &QTreeWidget::itemChanged, this, &TAEHListHtmlToTxView::ItemChanged);
}

QIcon TAEHListHtmlToTxView::IconFor(const std::string& extension) {
  const auto found = m_icons.find(extension);
  if (found != m_icons.end()) return found->second;
  static const QMimeDatabase mimes;
  const QMimeType type = mimes.mimeTypeForFile(QStringLiteral("x") + QString::fromStdString(extension),
                                               QMimeDatabase::MatchExtension);
  QIcon icon = QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName()));
  if (icon.isNull()) icon = style()->standardIcon(QStyle::SP_FileIcon);
  m_icons.emplace(extension, icon);
  return icon;
}

void TAEHListHtmlToTxView::Reload() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  m_list.Reload();
  Refill();
  QApplication::restoreOverrideCursor();
}

void TAEHListHtmlToTxView::Refill() {
  m_filling = true;
  setUpdatesEnabled(false);
  clear();
  const auto& rows = m_list.Rows();
  QList<QTreeWidgetItem*> items;
  items.reserve(static_cast<qsizetype>(rows.size()));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const convert::ExportListRow& row = rows[i];
    auto* item = new QTreeWidgetItem;
    const std::string texts[] = {row.caption, row.size, row.type, row.file, row.framelessSize, row.framelessFile,
                                 row.version};
    for (int c = 0; c < 7; ++c) item->setText(c, ToQString(texts[c]));
    item->setIcon(0, IconFor(row.extension));
    item->setData(0, kRowRole, static_cast<qulonglong>(i));
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
    if (row.id != convert::kStyleSheetRow) flags |= Qt::ItemIsEditable;
    item->setFlags(flags);
    item->setCheckState(0, row.checked ? Qt::Checked : Qt::Unchecked);
    items.push_back(item);
  }
  addTopLevelItems(items);
  // Sized once after the fill: sizing on every change would cost a pass
  // over all rows for each of them.
  for (int c = 0; c < columnCount(); ++c) resizeColumnToContents(c);
  setUpdatesEnabled(true);
  m_filling = false;
}

void TAEHListHtmlToTxView::ItemChanged(QTreeWidgetItem* item, int column) {
  if (m_filling || column != 0) return;
  const auto row = static_cast<std::size_t>(item->data(0, kRowRole).toULongLong());
  if (row >= m_list.Count()) return;
  m_list.SetChecked(row, item->checkState(0) == Qt::Checked);
  const QString caption = ToQString(m_list.Rows()[row].caption);
  if (item->text(0) != caption) {
    // A title that cp1252 cannot hold is refused and the old one shown.
    const auto bytes = platform::qt::FromQString(item->text(0));
    if (!bytes || !m_list.RenameRow(row, *bytes)) {
      m_filling = true;
      item->setText(0, caption);
      m_filling = false;
    }
  }
}

void TAEHListHtmlToTxView::HeaderClicked(int column) {
  if (m_list.SortByColumn(column)) Refill();
}

void TAEHListHtmlToTxView::mousePressEvent(QMouseEvent* event) {
  if (RightMouseSelect && event->button() == Qt::RightButton) {
    if (QTreeWidgetItem* item = itemAt(event->position().toPoint())) {
      setCurrentItem(item);
      emit itemClicked(item, 0);
    }
  }
  QTreeWidget::mousePressEvent(event);
}

}  // namespace tarn::app::ui
