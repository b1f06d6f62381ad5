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

void TCellBox::SetSelected(bool value) {
  TAEHbox::SetSelected(value);
  if (Group().Sizing()) Group().SetSizing(false);
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
  if (m_table.CellSelected(this)) {
    // Selected cells show through a wash of the selection colour.
    QColor wash = palette().color(QPalette::Highlight);
    wash.setAlpha(96);
    painter.fillRect(rect(), wash);
  }
}

bool TCellBox::event(QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    const bool plain = (key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == Qt::NoModifier;
    if (plain && (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && !ReadOnly()) {
      m_table.ClearCellSelection();
      m_table.TabFrom(*this, key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier));
      return true;
    }
    if (!ReadOnly() && CellSelectionKey(key)) return true;
  }
  return TAEHbox::event(event);
}

bool TCellBox::CellSelectionKey(QKeyEvent* key) {
  const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
  int direction = 0;
  richtext::CaretMove move = richtext::CaretMove::CharLeft;
  switch (key->key()) {
    case Qt::Key_Left: direction = 1; move = richtext::CaretMove::CharLeft; break;
    case Qt::Key_Right: direction = 2; move = richtext::CaretMove::CharRight; break;
    case Qt::Key_Up: direction = 3; move = richtext::CaretMove::LineUp; break;
    case Qt::Key_Down: direction = 4; move = richtext::CaretMove::LineDown; break;
    default: break;
  }
  const bool shiftArrow = direction != 0 && mods == Qt::ShiftModifier;
  if (m_table.HasCellSelection()) {
    if (shiftArrow) {
      m_table.ExtendCellSelection(*this, direction);
      return true;
    }
    if ((key->key() == Qt::Key_Delete || key->key() == Qt::Key_Backspace) && mods == Qt::NoModifier) {
      m_table.ClearSelectedCells();
      return true;
    }
    switch (key->key()) {
      case Qt::Key_Shift:
      case Qt::Key_Control:
      case Qt::Key_Alt:
      case Qt::Key_Meta: return false;  // modifiers alone keep the cells selected
      case Qt::Key_Escape: m_table.ClearCellSelection(); return true;
      default: m_table.ClearCellSelection(); return false;
    }
  }
  if (!shiftArrow) return false;
  // Shift+arrow that would take the caret out of the cell's text selects
  // this cell and its neighbour instead.
  richtext::BoxText& text = Text();
  if (text.Text().paragraphs.empty()) return false;
  text.Move(move, text.CaretPos());
  const int status = static_cast<int>(text.LastBoundary());
  if (status < 1 || status > 4) return false;
  m_table.ExtendCellSelection(*this, direction);
  return true;
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
  if (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ShiftModifier) && !ReadOnly()) {
    // Shift+click: the cells from the one with the caret to this one.
    CellPos from;
    CellPos to;
    TCellBox* current = qobject_cast<TCellBox*>(QApplication::focusWidget());
    if (current != nullptr && current != this && m_table.FindCell(current, from) && m_table.FindCell(this, to)) {
      m_table.SelectCells(m_table.HasCellSelection() ? m_table.CellSelectionAnchor() : from, to);
      return;
    }
  }
  if (event->button() == Qt::LeftButton) m_table.ClearCellSelection();
  TAEHbox::mousePressEvent(event);
}

void TCellBox::mouseMoveEvent(QMouseEvent* event) {
  if (m_forwarding) {
    ForwardToTable(event);
    return;
  }
  if (!ReadOnly() && (event->buttons() & Qt::LeftButton)) {
    // Dragging out of the cell selects cells rather than text.
    CellPos own;
    CellPos under;
    const QPoint inTable = mapTo(&m_table, event->position().toPoint());
    if (m_table.FindCell(this, own) && m_table.CellAtPoint(inTable, under)) {
      if (!(under == own)) {
        if (Text().HasSelection()) SelectRange(Text().Caret(), Text().Caret());
        m_table.SelectCells(own, under);
        return;
      }
      if (m_table.HasCellSelection()) m_table.ClearCellSelection();
    }
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
  m_table.m_lastCell = this;
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
  // Selected while the caret is in any of its cells.
  SetSelectOnFocus(false);
  m_header = new TTableHeader(*this, this);
  m_header->hide();
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

TMyyTable::~TMyyTable() {
  // The header lives on the page's box, not in the table.
  delete m_header.data();
}

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
  if (m_prepareCell) m_prepareCell(*cell);
  // A table pasted into the cell nests one table deeper than the cell.
  cell->TextAttributes().containerHooks.tableDepth = [cell] {
    int depth = 0;
    for (QWidget* w = cell; w != nullptr; w = w->parentWidget()) depth += qobject_cast<TMyyTable*>(w) != nullptr ? 1 : 0;
    return depth;
  };
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
  if (m_header && m_header->isVisible()) PlaceHeader();
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
  if (m_header && m_header->isVisible()) PlaceHeader();
}

// ---- Selection: the header and the handles ----

void TMyyTable::SetSelected(bool value) {
  if (value != Selected() && m_header) {
    if (value && !ReadOnly() && !Locked()) {
      PlaceHeader();
      m_header->show();
      m_header->raise();
    } else {
      m_header->hide();
    }
  }
  // The cell selection stays: a menu or a dialog takes the focus for a
  // moment and its command acts on the selected cells.
  TAEHbox::SetSelected(value);
}

void TMyyTable::SetBounds(int left, int top, int width, int height) {
  TAEHbox::SetBounds(left, top, width, height);
  if (m_header && m_header->isVisible()) PlaceHeader();
}

void TMyyTable::PlaceHeader() {
  // The header goes on the page's own box, 12 pixels above the table.
  QWidget* top = nullptr;
  for (QWidget* w = parentWidget(); w != nullptr; w = w->parentWidget()) {
    if (qobject_cast<TAEHbox*>(w) != nullptr) top = w;
  }
  if (top == nullptr || !m_header) return;
  if (m_header->parentWidget() != top) m_header->setParent(top);
  const QPoint at = mapTo(top, QPoint(0, -TTableHeader::kHeight));
  m_header->setGeometry(at.x(), at.y(), width(), TTableHeader::kHeight);
  UpdateHeader();
  m_header->raise();
}

void TMyyTable::UpdateHeader() {
  if (!m_header || RowCount() == 0) return;
  const int spacing = m_record.U8(kTableSpacing);
  std::vector<TTableHeader::Section> sections;
  int x = 0;
  for (int c = 0; c < ColumnCount(); ++c) {
    const int cellWidth = CellAt(0, c)->width();
    TTableHeader::Section section;
    section.left = x;
    section.width = cellWidth + spacing;
    switch (richtext::ColumnKind(m_record, c)) {
      case kColumnPercent: section.text = QString::number(richtext::ColumnSize(m_record, c)) + QLatin1Char('%'); break;
      case kColumnPixels: section.text = QString::number(cellWidth); break;
      default: section.text = QStringLiteral("* (%1)").arg(cellWidth); break;
    }
    x += section.width;
    sections.push_back(std::move(section));
  }
  m_header->SetSections(std::move(sections));
}

void TMyyTable::BeginResize() {
  EnsureRegistered();
  if (undo::TAEHundoList* list = History()) undo::TtaBackup::Create(*list, *this, std::string(kCaptionTableResize));
  // The handle's press may already have moved the focus: the cell that
  // had the caret gets it back.
  m_resizeActive = m_lastCell ? static_cast<QWidget*>(m_lastCell.data()) : QApplication::focusWidget();
  if (!PlaceInHolder(m_resizePlace)) m_resizePlace = {-1, -1};
}

void TMyyTable::EndResize() {
  TAEHbox* holder = Holder();
  const int newWidth = std::max(width(), kMinTableWidth);
  if (holder != nullptr && m_resizePlace.paragraph >= 0 && m_resizePlace.paragraph < holder->Text().ParagraphCount()) {
    const richtext::TAEHparag& p = holder->Text().Paragraph(m_resizePlace.paragraph);
    const int available =
        std::max(1, holder->Text().Layout().layoutWidth - p.style.LeftMargin() - p.style.RightMargin());
    if (m_record.U8(kTablePercentWidth) == 1) {
      const int percent = std::clamp(newWidth * 100 / available, 1, 100);
      m_record.SetU8(kTableWidthPercent, static_cast<std::uint8_t>(percent));
      m_layoutWidth = available * percent / 100;
    } else {
      // The new width is kept with the table, not only while it is shown.
      m_record.SetI16(kTablePixelWidth, static_cast<std::int16_t>(std::min(newWidth, 32767)));
      m_layoutWidth = newWidth;
    }
  } else {
    m_layoutWidth = newWidth;
  }
  for (const auto& row : m_cells) {
    for (TCellBox* cell : row) cell->wanted = -1;
  }
  LayoutTable(m_layoutWidth);
  RelayoutInText();
  if (m_resizeActive) {
    m_resizeActive->setFocus(Qt::OtherFocusReason);
    if (auto* box = qobject_cast<TAEHbox*>(m_resizeActive.data())) box->ScrollCaretIntoView();
  }
  m_resizeActive = nullptr;
  if (onChanged) onChanged();
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

void TMyyTable::SetCellPreparation(std::function<void(TAEHbox&)> prepare) {
  m_prepareCell = std::move(prepare);
  if (!m_prepareCell) return;
  for (const auto& row : m_cells) {
    for (TCellBox* cell : row) m_prepareCell(*cell);
  }
}

// ---- Several cells selected ----

void TMyyTable::SelectCells(CellPos anchor, CellPos active) {
  auto inside = [this](CellPos p) {
    return CellPos{std::clamp(p.row, 0, std::max(RowCount() - 1, 0)),
                   std::clamp(p.column, 0, std::max(ColumnCount() - 1, 0))};
  };
  anchor = inside(anchor);
  active = inside(active);
  if (anchor == active || RowCount() == 0) {
    ClearCellSelection();
    return;
  }
  if (anchor == m_cellAnchor && active == m_cellActive) return;
  m_cellAnchor = anchor;
  m_cellActive = active;
  for (const auto& row : m_cells) {
    for (TCellBox* cell : row) cell->update();
  }
  if (onChanged) onChanged();
}

void TMyyTable::ClearCellSelection() {
  if (!HasCellSelection()) return;
  m_cellAnchor = m_cellActive = {-1, -1};
  for (const auto& row : m_cells) {
    for (TCellBox* cell : row) cell->update();
  }
  if (onChanged) onChanged();
}

TMyyTable::CellRange TMyyTable::SelectedCells() const {
  if (!HasCellSelection()) return {};
  return {std::min(m_cellAnchor.row, m_cellActive.row), std::min(m_cellAnchor.column, m_cellActive.column),
          std::max(m_cellAnchor.row, m_cellActive.row), std::max(m_cellAnchor.column, m_cellActive.column)};
}

bool TMyyTable::CellSelected(const TCellBox* cell) const {
  CellPos at;
  return HasCellSelection() && FindCell(cell, at) && SelectedCells().Contains(at);
}

void TMyyTable::ExtendCellSelection(TCellBox& from, int direction) {
  CellPos own;
  if (!FindCell(&from, own)) return;
  const CellPos anchor = HasCellSelection() ? m_cellAnchor : own;
  CellPos active = HasCellSelection() ? m_cellActive : own;
  // A rectangle grows and shrinks within the grid; it does not wrap.
  switch (direction) {
    case 1: --active.column; break;
    case 2: ++active.column; break;
    case 3: --active.row; break;
    case 4: ++active.row; break;
    default: return;
  }
  if (active.row < 0 || active.row >= RowCount() || active.column < 0 || active.column >= ColumnCount()) return;
  SelectCells(anchor, active);
}

void TMyyTable::ClearSelectedCells() {
  const CellRange range = SelectedCells();
  if (range.r1 < 0 || ReadOnly()) return;
  EnsureRegistered();
  if (undo::TAEHundoList* list = History()) {
    undo::TtaBackup::Create(*list, *this, std::string(kCaptionClearCells))
        ->CellsChanged(range.r1, range.r2, range.c1, range.c2);
  }
  for (int r = range.r1; r <= range.r2; ++r) {
    for (int c = range.c1; c <= range.c2; ++c) {
      TCellBox* cell = CellAt(r, c);
      cell->wanted = -1;
      cell->LoadText(richtext::kEmptyCellMarkup);
    }
  }
  LayoutTable(m_layoutWidth);
  RelayoutInText();
  if (onChanged) onChanged();
}

bool TMyyTable::CellAtPoint(QPoint point, CellPos& at) const {
  for (int r = 0; r < RowCount(); ++r) {
    for (int c = 0; c < ColumnCount(); ++c) {
      if (m_cells[Index(r)][Index(c)]->geometry().contains(point)) {
        at = {r, c};
        return true;
      }
    }
  }
  return false;
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
  ClearCellSelection();
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
  m_cellAnchor = m_cellActive = {-1, -1};  // the grid changes under it
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
  m_cellAnchor = m_cellActive = {-1, -1};  // the grid changes under it
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
  m_cellAnchor = m_cellActive = {-1, -1};  // the grid changes under it
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
  m_cellAnchor = m_cellActive = {-1, -1};  // the grid changes under it
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
  ClearCellSelection();
  const CellPos to = NeighbourCell({0, 0}, direction);
  FocusCell(to.row, to.column, direction == 5 || direction == 7);
}

void TMyyTable::SetReadOnly(bool value) {
  value = value || m_shared;
  TAEHbox::SetReadOnly(value);
  for (const auto& row : m_cells) {
    for (TCellBox* cell : row) cell->SetReadOnly(value);
  }
}

// ---- Moving between cells ----

void TMyyTable::LeaveCell(TCellBox& cell, Boundary status) {
  ClearCellSelection();
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

// ---- The column header ----

TTableHeader::TTableHeader(TMyyTable& table, QWidget* parent) : QWidget(parent), m_table(table) {
  setObjectName(QStringLiteral("TableHeader"));
  QFont small = font();
  small.setPointSize(6);
  setFont(small);
  setMouseTracking(true);
}

void TTableHeader::SetSections(std::vector<Section> sections) {
  m_sections = std::move(sections);
  update();
}

void TTableHeader::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Button));
  const QColor shadow = palette().color(QPalette::Dark);
  for (const Section& s : m_sections) {
    const QRect r(s.left, 0, s.width, height());
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(r.adjusted(1, 0, -2, 0), Qt::AlignCenter, s.text);
    painter.fillRect(QRect(r.right(), 0, 1, height()), shadow);
  }
  painter.fillRect(QRect(0, height() - 1, width(), 1), shadow);
  if (m_dragX > -100) painter.fillRect(QRect(m_dragX, 0, 1, height()), Qt::black);
}

int TTableHeader::SectionEdgeAt(int x) const {
  for (std::size_t i = 0; i < m_sections.size(); ++i) {
    const int edge = m_sections[i].left + m_sections[i].width;
    if (std::abs(x - edge) <= kGrip) return static_cast<int>(i);
  }
  return -1;
}

void TTableHeader::mousePressEvent(QMouseEvent* event) {
  const int x = event->position().toPoint().x();
  m_dragSection = event->button() == Qt::LeftButton ? SectionEdgeAt(x) : -1;
  if (m_dragSection < 0) return;
  m_dragStart = x;
  m_dragX = x;
  m_table.m_dragLineX = x;
  m_table.update();
  update();
}

void TTableHeader::mouseMoveEvent(QMouseEvent* event) {
  const int x = event->position().toPoint().x();
  if (m_dragSection < 0) {
    setCursor(SectionEdgeAt(x) >= 0 ? Qt::SplitHCursor : Qt::ArrowCursor);
    return;
  }
  // A section keeps at least 10 pixels.
  m_dragX = std::max(x, m_sections[static_cast<std::size_t>(m_dragSection)].left + 10);
  m_table.m_dragLineX = m_dragX;
  m_table.update();
  update();
}

void TTableHeader::mouseReleaseEvent(QMouseEvent*) {
  if (m_dragSection < 0) return;
  const int column = m_dragSection;
  const int dx = m_dragX - m_dragStart;
  m_dragSection = -1;
  m_dragX = -100;
  m_table.m_dragLineX = -100;
  m_table.update();
  update();
  if (dx != 0) m_table.ResizeColumn(column, dx);
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
  if (m_shared) {
    table->SetSharedSection(true);
  } else if (prepareCell) {
    table->SetCellPreparation(prepareCell);
  }
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
