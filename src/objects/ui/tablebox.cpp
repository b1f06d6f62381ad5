// The table on screen; see tablebox.h.
#include "objects/ui/tablebox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <algorithm>

#include "base/bytes.h"
#include "document/aehpicture.h"
#include "document/aehset.h"
#include "document/recordfields.h"
#include "objects/ui/framesetwidget.h"
#include "page/workingcopy.h"
#include "platform/messages.h"
#include "platform/qt/qtcanvas.h"
#include "richtext/tableobject.h"
#include "undo/aehundoindicilist.h"

namespace tarn::objects::ui {
using namespace document::field;
using richtext::Boundary;
using richtext::CellPos;

namespace {
constexpr int kCellWidth = 3000;    // a new cell's width until the first layout
constexpr int kMinTableWidth = 10;  // a border drag never makes the table narrower
constexpr int kGrip = 3;            // pixels either side of a border that grab it

std::size_t Index(int i) { return static_cast<std::size_t>(i); }

// The cell layout the grid works through.
class WidgetCell : public richtext::TableLayoutCell {
 public:
  WidgetCell(TCellBox& box, int padding) : m_box(box), m_padding(padding) {}
  int WantedWidth() const override { return m_box.wanted; }
  void LayOut(int wanted) override {
    m_box.wanted = wanted;
    richtext::TextLayout& layout = m_box.Text().Layout();
    layout.layoutWidth = std::max(wanted, 1);
    layout.widestExtent = layout.layoutWidth;
    if (!m_box.Text().Text().paragraphs.empty()) layout.LayoutAll();
    m_box.naturalWidth = std::max(wanted, layout.widestExtent);
    m_box.naturalHeight = layout.ContentHeight() + m_padding;
  }
  int CellWidth() const override { return m_box.naturalWidth; }
  int CellHeight() const override { return m_box.naturalHeight; }
  void SetCellBounds(int x, int y, int width, int height) override {
    m_box.SetRequestedSize(width, height);
    m_box.setGeometry(x, y, width, height);
  }

 private:
  TCellBox& m_box;
  int m_padding;
};

void PaintFrameLines(QPainter& painter, const QRect& r, int b, bool sunken) {
  const QColor shadow = platform::qt::ToQColor(0x808080);
  const QColor light = platform::qt::ToQColor(0xFFFFFF);
  const int lines = sunken ? std::min(b, std::min(r.width(), r.height()) / 2) : std::min(b, 1);
  for (int i = 0; i < lines; ++i) {
    const QRect k = r.adjusted(i, i, -i, -i);
    painter.fillRect(QRect(k.left(), k.top(), k.width(), 1), sunken ? shadow : light);
    painter.fillRect(QRect(k.left(), k.top(), 1, k.height()), sunken ? shadow : light);
    painter.fillRect(QRect(k.left(), k.bottom(), k.width(), 1), sunken ? light : shadow);
    painter.fillRect(QRect(k.right(), k.top(), 1, k.height()), sunken ? light : shadow);
  }
}
}  // namespace

// ---- Cells ----

TCellBox::TCellBox(richtext::TextHost& host, TMyyTable& table) : TAEHbox(host, &table), m_table(table) {
  Text().Layout().isCell = true;
  setFocusPolicy(Qt::StrongFocus);
}

void TCellBox::SetBackgroundValue(std::int32_t value) {
  m_value = value;
  const richtext::Background b = richtext::Background::Decode(value);
  if (b.kind == richtext::Background::Kind::Colour) {
    SetBackgroundColour(b.colour);
    SetPaintsBackground(true);
  } else {
    // The table paints pictures and shows through transparent cells.
    SetPaintsBackground(false);
  }
}

void TCellBox::Enter(bool atEnd) {
  const richtext::CharPos pos = atEnd ? Text().TextEndPos() : Text().TextStartPos();
  SelectRange(pos, pos);
  setFocus(Qt::OtherFocusReason);
  ScrollCaretIntoView();
}

void TCellBox::paintEvent(QPaintEvent* event) {
  TAEHbox::paintEvent(event);
  const int border = m_table.Record().U8(kTableBorder);
  QPainter painter(this);
  if (border > 0) {
    PaintFrameLines(painter, rect(), border, true);
  } else if (!ReadOnly()) {
    // A table without a border shows where its cells are while it is
    // edited; nothing of this is printed or exported.
    QPen pen(QColor(160, 160, 160));
    pen.setStyle(Qt::DotLine);
    painter.setPen(pen);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
  }
}

bool TCellBox::event(QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    const bool plain = (key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == Qt::NoModifier;
    if (plain && (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && !ReadOnly()) {
      m_table.TabFrom(*this, key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier));
      return true;
    }
  }
  return TAEHbox::event(event);
}

void TCellBox::showEvent(QShowEvent* event) { TDragCustomControl::showEvent(event); }

void TCellBox::ForwardToTable(QMouseEvent* event) {
  QMouseEvent mapped(event->type(), QPointF(mapTo(&m_table, event->position().toPoint())), event->globalPosition(),
                     event->button(), event->buttons(), event->modifiers());
  QCoreApplication::sendEvent(&m_table, &mapped);
}

void TCellBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && !ReadOnly() && event->position().x() >= width() - kGrip) {
    m_forwarding = true;
    ForwardToTable(event);
    return;
  }
  TAEHbox::mousePressEvent(event);
}

void TCellBox::mouseMoveEvent(QMouseEvent* event) {
  if (m_forwarding) {
    ForwardToTable(event);
    return;
  }
  if (!ReadOnly() && event->buttons() == Qt::NoButton && event->position().x() >= width() - kGrip) {
    setCursor(Qt::SplitHCursor);
    return;
  }
  if (cursor().shape() == Qt::SplitHCursor) setCursor(richtext::ui::PointerShape(richtext::ui::PointerSlot::Text));
  TAEHbox::mouseMoveEvent(event);
}

void TCellBox::mouseReleaseEvent(QMouseEvent* event) {
  if (m_forwarding) {
    m_forwarding = false;
    ForwardToTable(event);
    return;
  }
  TAEHbox::mouseReleaseEvent(event);
}

void TCellBox::focusInEvent(QFocusEvent* event) {
  m_table.EnsureRegistered();
  if (popupMenu == nullptr) {
    if (auto* fs = dynamic_cast<TInsiemeCornici*>(GetFrameSet())) popupMenu = fs->Popup(PopupKind::Table);
  }
  TAEHbox::focusInEvent(event);
}

// ---- The table ----

TMyyTable::TMyyTable(richtext::TextHost& host, document::TAEHset& set, document::TAEHoggetto& record,
                     std::int32_t identifier, QWidget* parent)
    : TAEHbox(host, parent), m_set(set), m_record(record), m_identifier(identifier) {
  SetMessages(set.Services().messages);
  SetPaintsBackground(false);
  setFocusPolicy(Qt::NoFocus);
  const std::optional<richtext::TableShape> shape = richtext::ReadTableShape(record);
  const int rows = shape ? shape->rows : 0;
  const int columns = shape ? shape->columns : 0;
  for (int r = 0; r < rows; ++r) {
    m_cells.emplace_back();
    for (int c = 0; c < columns; ++c) m_cells.back().push_back(MakeCell(-1));
  }
  ApplyBackgrounds();
  hide();
}

TMyyTable::~TMyyTable() = default;

TCellBox* TMyyTable::MakeCell(int number) {
  auto* cell = new TCellBox(Text().Host(), *this);
  cell->SetMessages(m_set.Services().messages);
  cell->SetReadOnly(ReadOnly());
  undo::TextBoxControl& control = cell->AttachUndo(m_set);
  control.onRecorded = [this] {
    if (TAEHbox* holder = Holder()) {
      if (undo::TextBoxControl* c = holder->UndoControl(); c != nullptr && c->onRecorded) c->onRecorded();
    }
  };
  if (undo::TAEHundoIndiciList* list = undo::UndoControl::UndoList()) {
    if (number >= 0) {
      list->Put(&control, number);
    } else {
      list->Register(&control);
    }
  }
  // An empty cell: one paragraph of the cell style.
  cell->SetRequestedSize(kCellWidth, 0);
  cell->LoadText(richtext::kEmptyCellMarkup);
  // The cell's text changed its height or its widest line: the grid
  // follows, and nothing else is laid out when neither changed.
  richtext::TextLayout& layout = cell->Text().Layout();
  auto follow = [this, cell, vertical = layout.onVerticalRange](int range) {
    if (vertical) vertical(range);
    CellExtentChanged(*cell);
  };
  layout.onVerticalRange = follow;
  auto followWidth = [this, cell, horizontal = layout.onHorizontalRange](int range) {
    if (horizontal) horizontal(range);
    CellExtentChanged(*cell);
  };
  layout.onHorizontalRange = followWidth;
  connect(cell, &TAEHbox::CaretMoved, this, [this] {
    if (onChanged) onChanged();
  });
  cell->show();
  return cell;
}

TCellBox* TMyyTable::CellAt(int row, int column) const {
  if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount()) return nullptr;
  return m_cells[Index(row)][Index(column)];
}

bool TMyyTable::FindCell(const QWidget* box, CellPos& at) const {
  for (int r = 0; r < RowCount(); ++r) {
    for (int c = 0; c < ColumnCount(); ++c) {
      if (m_cells[Index(r)][Index(c)] == box) {
        at = {r, c};
        return true;
      }
    }
  }
  return false;
}

richtext::ui::TAEHbox* TMyyTable::Holder() const { return qobject_cast<TAEHbox*>(parentWidget()); }

bool TMyyTable::PlaceInHolder(richtext::CharPos& at) const {
  TAEHbox* holder = Holder();
  if (holder == nullptr) return false;
  const richtext::BoxText& text = holder->Text();
  for (int i = 0; i < text.ParagraphCount(); ++i) {
    const richtext::TAEHparag& p = text.Paragraph(i);
    if (p.objects.empty()) continue;
    for (int k = 0; k < p.Length(); ++k) {
      const std::int32_t o = p.infos[Index(k)].object;
      if (o >= 0 && Index(o) < p.objects.size() && p.objects[Index(o)] == static_cast<const EmbeddedObject*>(this)) {
        at = {i, k};
        return true;
      }
    }
  }
  return false;
}

richtext::RichText* TMyyTable::Cell(int row, int column) {
  TCellBox* cell = CellAt(row, column);
  return cell != nullptr ? &cell->Text().Text() : nullptr;
}

richtext::BoxText* TMyyTable::HoldingText() {
  TAEHbox* holder = Holder();
  return holder != nullptr ? &holder->Text() : nullptr;
}

undo::TAEHundoList* TMyyTable::History() { return undo::UndoListOf(m_set); }

// ---- Backgrounds ----

void TMyyTable::ApplyBackgrounds() {
  const std::vector<std::int32_t> values = richtext::ReadCellBackgrounds(m_record);
  const int padding = m_record.U8(kTablePadding);
  for (int r = 0; r < RowCount(); ++r) {
    for (int c = 0; c < ColumnCount(); ++c) {
      TCellBox* cell = CellAt(r, c);
      const std::size_t i = Index(r * ColumnCount() + c);
      cell->SetBackgroundValue(i < values.size() ? values[i] : richtext::kTransparent);
      cell->Text().Layout().cellPadding = padding;
      cell->wanted = -1;
    }
  }
  update();
}

void TMyyTable::StoreBackgrounds() {
  std::vector<std::int32_t> values;
  for (const auto& row : m_cells) {
    for (const TCellBox* cell : row) values.push_back(cell->BackgroundValue());
  }
  richtext::StoreCellBackgrounds(m_record, values);
}

// ---- Layout ----

void TMyyTable::LayoutTable(int width, bool /*updateHeader*/) {
  if (m_inLayout || RowCount() == 0) return;
  m_inLayout = true;
  m_layoutWidth = width;
  m_grid.rows = RowCount();
  m_grid.columns = ColumnCount();
  m_grid.spacing = m_record.U8(kTableSpacing);
  m_grid.kinds.clear();
  m_grid.sizes.clear();
  for (int c = 0; c < ColumnCount(); ++c) {
    m_grid.kinds.push_back(richtext::ColumnKind(m_record, c));
    m_grid.sizes.push_back(richtext::ColumnSize(m_record, c));
  }
  const int padding = m_record.U8(kTablePadding);
  std::vector<WidgetCell> cells;
  cells.reserve(Index(RowCount() * ColumnCount()));
  for (const auto& row : m_cells) {
    for (TCellBox* cell : row) cells.emplace_back(*cell, padding);
  }
  const int columns = ColumnCount();
  const richtext::TableExtent extent = richtext::LayoutTableGrid(
      m_grid, [&cells, columns](int r, int c) -> richtext::TableLayoutCell& { return cells[Index(r * columns + c)]; },
      width);
  // A free column remembers the minimum width the layout found.
  for (int c = 0; c < ColumnCount(); ++c) {
    if (m_grid.kinds[Index(c)] == kColumnFree) richtext::SetColumn(m_record, c, kColumnFree, m_grid.sizes[Index(c)]);
  }
  m_tableWidth = extent.width;
  m_tableHeight = extent.height;
  // The table box has no text of its own to make it wider than its grid.
  Text().Layout().layoutWidth = 1;
  Text().Layout().widestExtent = 1;
  SetRequestedSize(m_tableWidth, m_tableHeight);
  resize(m_tableWidth, m_tableHeight);
  m_inLayout = false;
  update();
}

void TMyyTable::SetAvailableWidth(int available) {
  if (RowCount() == 0) return;
  const bool active = [this] {
    for (QWidget* w = QApplication::focusWidget(); w != nullptr; w = w->parentWidget()) {
      if (w == this) return true;
    }
    return false;
  }();
  if (available == m_notifiedWidth && !Selected() && !active) return;
  m_inWidthChange = true;
  const bool percent = m_record.U8(kTablePercentWidth) == 1;
  int width = 0;
  if (percent) {
    width = richtext::TableWidthFor(available, true, m_record.U8(kTableWidthPercent), 0);
  } else {
    width = m_layoutWidth >= 30 ? m_layoutWidth : static_cast<std::uint16_t>(m_record.I16(kTablePixelWidth));
  }
  LayoutTable(width);
  m_notifiedWidth = available;
  m_inWidthChange = false;
}

void TMyyTable::Place(int x, int y) {
  EmbeddedObject::Place(x, y);
  move(x, y);
  if (!isVisible()) show();
}

void TMyyTable::CellExtentChanged(TCellBox& cell) {
  if (m_inLayout || cell.wanted < 0) return;
  const richtext::TextLayout& layout = cell.Text().Layout();
  const int width = std::max(cell.wanted, layout.widestExtent);
  const int height = layout.ContentHeight() + m_record.U8(kTablePadding);
  if (width == cell.naturalWidth && height == cell.naturalHeight) return;
  cell.naturalWidth = width;
  cell.naturalHeight = height;
  LayoutTable(m_layoutWidth);
  if (!m_inWidthChange) RelayoutInText();
}

void TMyyTable::RelayoutInText() {
  TAEHbox* holder = Holder();
  richtext::CharPos at;
  if (holder == nullptr || !PlaceInHolder(at)) return;
  richtext::BoxText& text = holder->Text();
  text.BeginUpdate();
  m_notifiedWidth = -2;  // the next notification lays out again
  text.LayoutRange(at.paragraph, at.paragraph);
  text.EndUpdate();
  holder->update();
}

// ---- Painting and the border drag ----

void TMyyTable::showEvent(QShowEvent* event) { TDragCustomControl::showEvent(event); }

void TMyyTable::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  platform::qt::QtCanvas canvas(&painter);
  const platform::Rect all{0, 0, width(), height()};
  richtext::PaintTableBackground(canvas, all, m_record.I32(kTableBackground), &m_record, 0, 0);
  for (int r = 0; r < RowCount(); ++r) {
    for (int c = 0; c < ColumnCount(); ++c) {
      const TCellBox* cell = CellAt(r, c);
      if (richtext::Background::Decode(cell->BackgroundValue()).kind != richtext::Background::Kind::Image) continue;
      const QRect g = cell->geometry();
      richtext::PaintTableBackground(canvas, {g.left(), g.top(), g.right() + 1, g.bottom() + 1},
                                     cell->BackgroundValue(), &m_record, 0, 0);
    }
  }
  const int border = m_record.U8(kTableBorder);
  if (border > 0) PaintFrameLines(painter, rect(), border, false);
  if (m_dragLineX > -100) {
    QPen pen(Qt::black);
    pen.setStyle(Qt::DotLine);
    painter.setPen(pen);
    painter.drawLine(m_dragLineX, 0, m_dragLineX, height());
  }
}

// The column whose right border lies under x (in the spacing after it or
// within a few pixels of its edge); -1 for none.
int TMyyTable::ColumnBorderAt(int x) const {
  if (RowCount() == 0) return -1;
  for (int c = 0; c < ColumnCount(); ++c) {
    const QRect g = CellAt(0, c)->geometry();
    const int right = g.right() + 1;
    const int next = c + 1 < ColumnCount() ? CellAt(0, c + 1)->geometry().left() : width();
    if (x >= right - kGrip && x <= std::max(next, right + kGrip)) return c;
  }
  return -1;
}

void TMyyTable::mousePressEvent(QMouseEvent* event) {
  const int x = event->position().toPoint().x();
  if (event->button() == Qt::LeftButton && !ReadOnly()) {
    const int column = ColumnBorderAt(x);
    if (column >= 0) {
      m_dragColumn = column;
      m_dragStartX = x;
      m_dragLineX = x;
      update();
      return;
    }
    EnterFirstCell();
    return;
  }
  TAEHbox::mousePressEvent(event);
}

void TMyyTable::mouseMoveEvent(QMouseEvent* event) {
  const int x = event->position().toPoint().x();
  if (m_dragColumn >= 0) {
    m_dragLineX = x;
    update();
    return;
  }
  setCursor(!ReadOnly() && ColumnBorderAt(x) >= 0 ? Qt::SplitHCursor : Qt::ArrowCursor);
}

void TMyyTable::mouseReleaseEvent(QMouseEvent* event) {
  if (m_dragColumn < 0) {
    TAEHbox::mouseReleaseEvent(event);
    return;
  }
  const int column = m_dragColumn;
  const int dx = event->position().toPoint().x() - m_dragStartX;
  m_dragColumn = -1;
  m_dragLineX = -100;
  update();
  if (dx != 0) ResizeColumn(column, dx);
}

bool TMyyTable::ResizeColumn(int column, int dx) {
  if (column < 0 || column >= ColumnCount() || dx == 0) return false;
  const int tableWidth = m_tableWidth;
  const int newWidth = tableWidth + dx;
  if (newWidth < kMinTableWidth || tableWidth <= 0) return false;
  EnsureRegistered();
  if (undo::TAEHundoList* list = History()) undo::TtaBackup::Create(*list, *this, std::string(kCaptionCellsResize));
  if (m_record.U8(kTablePercentWidth) == 1) {
    const int percent = m_record.U8(kTableWidthPercent);
    m_record.SetU8(kTableWidthPercent, static_cast<std::uint8_t>(std::min(100, newWidth * percent / tableWidth)));
  }
  const int kind = richtext::ColumnKind(m_record, column);
  const int size = richtext::ColumnSize(m_record, column);
  const int cellWidth = CellAt(0, column)->width();
  const int spacing = m_record.U8(kTableSpacing);
  if (kind == kColumnPixels) {
    richtext::SetColumn(m_record, column, kColumnPixels, std::max(1, size + dx));
  } else if (kind == kColumnFree) {
    // The section's new width less the spacing: the cell's width grown by dx.
    richtext::SetColumn(m_record, column, kColumnPixels, std::max(1, cellWidth + spacing + dx - spacing));
  } else {
    int sum = 0;
    for (int c = 0; c < ColumnCount(); ++c) {
      if (richtext::ColumnKind(m_record, c) == kColumnPercent) sum += richtext::ColumnSize(m_record, c);
    }
    const int e = newWidth * sum / tableWidth + size - sum;
    if (e > 0) richtext::SetColumn(m_record, column, kColumnPercent, e);
  }
  for (const auto& row : m_cells) {
    for (TCellBox* cell : row) cell->wanted = -1;
  }
  LayoutTable(newWidth, false);
  RelayoutInText();
  if (onChanged) onChanged();
  return true;
}

// ---- Structure ----

void TMyyTable::EnsureRegistered() {
  TAEHbox* holder = Holder();
  // The holder of a nested table is a cell: its table registers first.
  if (auto* cell = qobject_cast<TCellBox*>(holder)) cell->Table().EnsureRegistered();
  undo::TextBoxControl* holderControl = holder != nullptr ? holder->UndoControl() : nullptr;
  undo::TAEHundoIndiciList* list = holderControl != nullptr ? holderControl->UndoList() : nullptr;
  if (list == nullptr || undo::UndoControl::UndoList() == list) return;
  list->Put(this, m_identifier);
  for (const auto& row : m_cells) {
    for (TCellBox* cell : row) {
      if (cell->UndoControl() != nullptr) list->Register(cell->UndoControl());
    }
  }
}

void TMyyTable::InsertRows(int position, int count) {
  if (count <= 0) return;
  position = std::clamp(position, 0, RowCount());
  if (RowCount() + count > kMaxTableRows) {
    if (platform::Messages* m = m_set.Services().messages) m->Information(kTooManyRows);
    return;
  }
  EnsureRegistered();
  if (undo::TAEHundoList* list = History()) {
    undo::TtaBackup::Create(*list, *this, std::string(kCaptionAddRows))->RowsAdded(position, count);
  }
  InsertRows(position, count, {});
  m_record.SetU8(kTableRows, static_cast<std::uint8_t>(RowCount()));
  StoreBackgrounds();
  LayoutTable(m_layoutWidth);
  RelayoutInText();
  FocusCell(position, 0, false);
  if (onChanged) onChanged();
}

void TMyyTable::InsertColumns(int position, int count) {
  if (count < 1) return;
  position = std::clamp(position, 0, ColumnCount());
  if (count + ColumnCount() >= kMaxTableColumns + 1) {
    if (platform::Messages* m = m_set.Services().messages) m->Information(kTooManyColumns);
    return;
  }
  EnsureRegistered();
  if (undo::TAEHundoList* list = History()) {
    undo::TtaBackup::Create(*list, *this, std::string(kCaptionAddColumns))->ColumnsAdded(position, count);
  }
  InsertColumns(position, count, {});
  m_record.SetU8(kTableColumns, static_cast<std::uint8_t>(ColumnCount()));
  StoreBackgrounds();
  richtext::InsertColumnSpecs(m_record, position, count);
  LayoutTable(m_layoutWidth);
  RelayoutInText();
  FocusCell(0, position, false);
  if (onChanged) onChanged();
}

bool TMyyTable::DeleteRows(int first, int last) {
  if (first < 0 || last > RowCount() - 1 || first > last || (first == 0 && last + 1 >= RowCount())) return false;
  EnsureRegistered();
  if (undo::TAEHundoList* list = History()) {
    undo::TtaBackup::Create(*list, *this, std::string(kCaptionDeleteRows))->RowsDeleted(first, last - first + 1);
  }
  // The command may come from a cell's own menu: the cells go once it
  // has returned.
  QPointer<TMyyTable> self(this);
  QTimer::singleShot(0, this, [self, first, last] {
    if (self) self->RemoveCellsNow(true, first, last);
  });
  return true;
}

bool TMyyTable::DeleteColumns(int first, int last) {
  if (first < 0 || last > ColumnCount() - 1 || first > last || (first == 0 && last + 1 >= ColumnCount())) return false;
  EnsureRegistered();
  if (undo::TAEHundoList* list = History()) {
    undo::TtaBackup::Create(*list, *this, std::string(kCaptionDeleteColumns))->ColumnsDeleted(first, last - first + 1);
  }
  QPointer<TMyyTable> self(this);
  QTimer::singleShot(0, this, [self, first, last] {
    if (self) self->RemoveCellsNow(false, first, last);
  });
  return true;
}

void TMyyTable::RemoveCellsNow(bool rows, int first, int last) {
  const int limit = rows ? RowCount() : ColumnCount();
  if (first < 0 || last >= limit || first > last || (first == 0 && last + 1 >= limit)) return;
  // Where the caret goes: the same place in the row (column) after the
  // range, or before it when the range reaches the end.
  CellPos focus{-1, -1};
  for (QWidget* w = QApplication::focusWidget(); w != nullptr; w = w->parentWidget()) {
    CellPos at;
    if (FindCell(w, at)) {
      focus = at;
      break;
    }
  }
  const int count = last - first + 1;
  const bool inRange = rows ? (focus.row >= first && focus.row <= last) : (focus.column >= first && focus.column <= last);
  if (rows) {
    RemoveRows(first, count);
    m_record.SetU8(kTableRows, static_cast<std::uint8_t>(RowCount()));
  } else {
    RemoveColumns(first, count);
    richtext::RemoveColumnSpecs(m_record, first, last);
    m_record.SetU8(kTableColumns, static_cast<std::uint8_t>(ColumnCount()));
  }
  StoreBackgrounds();
  LayoutTable(m_layoutWidth);
  RelayoutInText();
  if (focus.row < 0 || inRange) {
    const int after = first < (rows ? RowCount() : ColumnCount()) ? first : first - 1;
    if (focus.row < 0) focus = rows ? CellPos{after, 0} : CellPos{0, after};
    if (rows) focus.row = after;
    if (!rows) focus.column = after;
  } else if (rows ? focus.row > last : focus.column > last) {
    (rows ? focus.row : focus.column) -= count;
  }
  FocusCell(focus.row, focus.column, false);
  if (onChanged) onChanged();
}

void TMyyTable::FocusCell(int row, int column, bool atEnd) {
  if (TCellBox* cell = CellAt(row, column); cell != nullptr && cell->isEnabled()) cell->Enter(atEnd);
}

void TMyyTable::BeginTableEdit() {
  EnsureRegistered();
  if (undo::TAEHundoList* list = History()) undo::TtaBackup::Create(*list, *this, std::string(kCaptionModifyTable));
}

void TMyyTable::RecordChanged() {
  ApplyBackgrounds();
  m_layoutWidth = 0;
  m_notifiedWidth = -2;
  RelayoutInText();
  if (onChanged) onChanged();
}

// ---- Undo ----

void TMyyTable::RemoveRows(int first, int count) {
  if (first < 0 || count < 1 || first + count > RowCount()) return;
  for (int r = first; r < first + count; ++r) {
    for (TCellBox* cell : m_cells[Index(r)]) {
      cell->hide();
      cell->deleteLater();
    }
  }
  m_cells.erase(m_cells.begin() + first, m_cells.begin() + first + count);
}

void TMyyTable::RemoveColumns(int first, int count) {
  if (first < 0 || count < 1 || first + count > ColumnCount()) return;
  for (auto& row : m_cells) {
    for (int c = first; c < first + count; ++c) {
      row[Index(c)]->hide();
      row[Index(c)]->deleteLater();
    }
    row.erase(row.begin() + first, row.begin() + first + count);
  }
}

void TMyyTable::InsertRows(int at, int count, const std::vector<int>& numbers) {
  at = std::clamp(at, 0, RowCount());
  const int columns = std::max(ColumnCount(), 1);
  std::size_t k = 0;
  for (int i = 0; i < count; ++i) {
    std::vector<TCellBox*> row;
    for (int c = 0; c < columns; ++c, ++k) row.push_back(MakeCell(k < numbers.size() ? numbers[k] : -1));
    m_cells.insert(m_cells.begin() + at + i, std::move(row));
  }
}

void TMyyTable::InsertColumns(int at, int count, const std::vector<int>& numbers) {
  at = std::clamp(at, 0, ColumnCount());
  std::size_t k = 0;
  for (auto& row : m_cells) {
    for (int i = 0; i < count; ++i, ++k) {
      row.insert(row.begin() + at + i, MakeCell(k < numbers.size() ? numbers[k] : -1));
    }
  }
}

std::vector<int> TMyyTable::CellNumbers(int r1, int r2, int c1, int c2) const {
  std::vector<int> out;
  for (int r = r1; r <= r2; ++r) {
    for (int c = c1; c <= c2; ++c) {
      const TCellBox* cell = CellAt(r, c);
      out.push_back(cell != nullptr && cell->UndoControl() != nullptr ? cell->UndoControl()->UndoIndex() : -1);
    }
  }
  return out;
}

void TMyyTable::SaveCells(std::string& out, int r1, int r2, int c1, int c2) {
  base::AppendI32(out, 4);
  for (int r = r1; r <= r2; ++r) {
    for (int c = c1; c <= c2; ++c) {
      TCellBox* cell = CellAt(r, c);
      const std::string text = cell != nullptr ? cell->SaveText() : std::string(richtext::kEmptyCellMarkup);
      base::AppendI32(out, static_cast<std::int32_t>(text.size()));
      out += text;
    }
  }
  base::AppendI32(out, 0);
}

void TMyyTable::LoadCells(std::string_view in, int r1, int r2, int c1, int c2) {
  base::ByteReader reader(in);
  std::int32_t value = 0;
  if (!reader.ReadI32(value) || value != 4) return;
  for (int r = r1; r <= r2; ++r) {
    for (int c = c1; c <= c2; ++c) {
      std::int32_t length = 0;
      std::string text;
      if (!reader.ReadI32(length) || length < 0 || !reader.ReadBytes(static_cast<std::size_t>(length), text)) return;
      if (TCellBox* cell = CellAt(r, c)) {
        cell->wanted = -1;
        cell->LoadText(text);
      }
    }
  }
}

void TMyyTable::Restored(bool, int focusRow, int focusColumn) {
  ApplyBackgrounds();
  m_layoutWidth = 0;
  m_notifiedWidth = -2;
  if (m_record.U8(kTablePercentWidth) != 1) m_layoutWidth = static_cast<std::uint16_t>(m_record.I16(kTablePixelWidth));
  LayoutTable(m_layoutWidth);
  RelayoutInText();
  if (focusRow >= 0) {
    FocusCell(focusRow, std::max(focusColumn, 0), false);
  } else if (focusRow == -1) {
    // The cell that had the caret keeps it, if it is still there.
  }
  if (onChanged) onChanged();
}

bool TMyyTable::UndoFocus() {
  if (!isVisible() || RowCount() == 0) return false;
  EnterFirstCell();
  return true;
}

void TMyyTable::EnterFirstCell() { FocusCell(0, 0, false); }

void TMyyTable::EnterFromOutside(int direction) {
  const CellPos to = NeighbourCell({0, 0}, direction);
  FocusCell(to.row, to.column, direction == 5 || direction == 7);
}

void TMyyTable::SetReadOnly(bool value) {
  TAEHbox::SetReadOnly(value);
  for (const auto& row : m_cells) {
    for (TCellBox* cell : row) cell->SetReadOnly(value);
  }
}

// ---- Moving between cells ----

void TMyyTable::LeaveCell(TCellBox& cell, Boundary status) {
  CellPos at;
  if (!FindCell(&cell, at)) return;
  const int direction = static_cast<int>(status);
  const CellPos to = NeighbourCell(at, direction);
  const bool backwards = status == Boundary::BeforeStart || status == Boundary::AboveFirst;
  if (!(to == at)) {
    FocusCell(to.row, to.column, backwards);
    return;
  }
  TAEHbox* holder = Holder();
  richtext::CharPos place;
  if (holder == nullptr || !PlaceInHolder(place)) return;
  richtext::BoxText& text = holder->Text();
  const int paragraph = place.paragraph;
  const int character = place.character;
  richtext::CharPos target;
  if (backwards) {
    target = paragraph > text.FirstOwn() ? richtext::CharPos{paragraph - 1, text.Paragraph(paragraph - 1).Length()}
                                         : richtext::CharPos{paragraph, character};
  } else {
    target = paragraph < text.LastOwn() ? richtext::CharPos{paragraph + 1, 0}
                                        : richtext::CharPos{paragraph, text.Paragraph(paragraph).Length()};
  }
  holder->SelectRange(target, target);
  holder->setFocus(Qt::OtherFocusReason);
  holder->ScrollCaretIntoView();
  // A paragraph that holds a table again: the caret enters its nearest cell.
  if (target.paragraph != paragraph && text.IsTableParagraph(target.paragraph)) {
    holder->EnterTableAt(target.paragraph, backwards ? (status == Boundary::BeforeStart ? 5 : 7) : 6);
  }
}

void TMyyTable::TabFrom(TCellBox& cell, bool backward) {
  CellPos at;
  if (!FindCell(&cell, at)) return;
  const CellPos to = NeighbourCell(at, backward ? 1 : 2);
  if (to == at) {
    LeaveCell(cell, backward ? Boundary::BeforeStart : Boundary::AfterEnd);
    return;
  }
  TCellBox* next = CellAt(to.row, to.column);
  next->SelectAll();
  next->setFocus(Qt::TabFocusReason);
}

// ---- The tables of a page box ----

richtext::EmbeddedObject* TableWidgets::Find(std::int32_t identifier) {
  if (auto it = m_tables.find(identifier); it != m_tables.end()) {
    if (it->second) return it->second.data();
    m_tables.erase(it);
  }
  document::TAEHoggetto* record = m_copy.Object(identifier);
  if (record == nullptr || !richtext::ReadTableShape(*record)) return nullptr;
  auto* table = new TMyyTable(m_host, m_set, *record, identifier, parking);
  m_tables[identifier] = table;
  if (onCreated) onCreated(*table);
  return table;
}

TMyyTable* TableOfBox(QWidget* box, CellPos* at) {
  auto* cell = qobject_cast<TCellBox*>(box);
  if (cell == nullptr) return nullptr;
  if (at != nullptr) cell->Table().FindCell(cell, *at);
  return &cell->Table();
}

}  // namespace tarn::objects::ui
