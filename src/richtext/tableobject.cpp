// A table placed in a text without a display; see tableobject.h.
#include "richtext/tableobject.h"

#include <algorithm>

#include "document/aehpicture.h"
#include "document/aehset.h"
#include "platform/offsetcanvas.h"

namespace tarn::richtext {
using namespace document::field;

namespace {
thread_local int t_nesting = 0;

// Counts the nesting of tables being laid out or painted.
class NestingGuard {
 public:
  NestingGuard() { ++t_nesting; }
  ~NestingGuard() { --t_nesting; }
  NestingGuard(const NestingGuard&) = delete;
  NestingGuard& operator=(const NestingGuard&) = delete;
  bool TooDeep() const { return t_nesting > kMaxTableNesting; }
};
}  // namespace

// ---- Cells ----

TableCellBox::TableCellBox(TextHost& host, platform::TextMeasurer& measurer, int padding)
    : m_box(host, measurer, nullptr), m_padding(padding) {
  m_box.Layout().isCell = true;
  m_box.Layout().cellPadding = padding;
}

void TableCellBox::EnsureParagraph() {
  if (!m_box.Text().paragraphs.empty()) return;
  MarkupStream empty(kEmptyCellMarkup);
  ReadText(m_box.Text(), empty, m_box.Host());
}

void TableCellBox::SetPadding(int padding) {
  m_padding = padding;
  m_box.Layout().cellPadding = padding;
  m_wanted = -1;
}

void TableCellBox::LayOut(int wanted) {
  EnsureParagraph();
  m_wanted = wanted;
  TextLayout& layout = m_box.Layout();
  layout.layoutWidth = std::max(wanted, 1);
  layout.widestExtent = layout.layoutWidth;
  layout.LayoutAll();
  m_naturalWidth = std::max(wanted, layout.widestExtent);
  m_naturalHeight = layout.ContentHeight() + m_padding;
}

void TableCellBox::SetCellBounds(int x, int y, int width, int height) {
  m_x = x;
  m_y = y;
  m_width = width;
  m_height = height;
}

// ---- The table ----

TableObject::TableObject(std::int32_t identifier, const TAEHoggetto* record, TextHost& host,
                         platform::TextMeasurer& measurer)
    : RecordObject(identifier, record), m_host(host), m_measurer(measurer) {
  if (record == nullptr) return;
  const std::optional<TableShape> shape = ReadTableShape(*record);
  if (!shape) return;
  m_rows = shape->rows;
  m_columns = shape->columns;
  m_padding = record->U8(kTablePadding);
  m_border = record->U8(kTableBorder);
  m_background = record->I32(kTableBackground);
  const std::vector<std::int32_t> backgrounds = ReadCellBackgrounds(*record);
  m_cells.reserve(backgrounds.size());
  for (const std::int32_t value : backgrounds) {
    m_cells.push_back(std::make_unique<TableCellBox>(host, measurer, m_padding));
    m_cells.back()->background = value;
  }
  m_grid.rows = m_rows;
  m_grid.columns = m_columns;
  m_grid.spacing = record->U8(kTableSpacing);
  for (int c = 0; c < m_columns; ++c) {
    m_grid.kinds.push_back(ColumnKind(*record, c));
    m_grid.sizes.push_back(ColumnSize(*record, c));
  }
}

TableCellBox* TableObject::CellAt(int row, int column) {
  if (row < 0 || row >= m_rows || column < 0 || column >= m_columns) return nullptr;
  return m_cells[static_cast<std::size_t>(row * m_columns + column)].get();
}

RichText* TableObject::Cell(int row, int column) {
  TableCellBox* cell = CellAt(row, column);
  return cell != nullptr ? &cell->Box().Text() : nullptr;
}

void TableObject::SetAvailableWidth(int available) {
  if (m_rows == 0 || Record() == nullptr) return;
  const TAEHoggetto& r = *Record();
  LayoutTable(TableWidthFor(available, r.U8(kTablePercentWidth) == 1, r.U8(kTableWidthPercent),
                            static_cast<std::uint16_t>(r.I16(kTablePixelWidth))));
}

void TableObject::LayoutTable(int width) {
  NestingGuard guard;
  if (m_rows == 0 || m_busy || guard.TooDeep()) return;
  m_busy = true;
  m_layoutWidth = width;
  const TableExtent extent =
      LayoutTableGrid(m_grid, [this](int r, int c) -> TableLayoutCell& { return *CellAt(r, c); }, width);
  m_width = extent.width;
  m_height = extent.height;
  m_busy = false;
}

void TableObject::CellChanged(int row, int column) {
  TableCellBox* cell = CellAt(row, column);
  if (cell == nullptr) return;
  const int width = cell->CellWidth();
  const int height = cell->CellHeight();
  cell->LayOut(cell->WantedWidth());
  if (cell->CellWidth() != width || cell->CellHeight() != height) Relayout();
}

void TableObject::ForgetWidths() {
  for (auto& cell : m_cells) cell->Forget();
}

void TableObject::Paint(platform::Canvas& canvas, int x, int y, bool frames) {
  NestingGuard guard;
  if (m_rows == 0 || m_busy || guard.TooDeep()) return;
  m_busy = true;
  const platform::Rect area{x, y, x + m_width, y + m_height};
  PaintTableBackground(canvas, area, m_background, Record(), x, y);
  for (int r = 0; r < m_rows; ++r) {
    for (int c = 0; c < m_columns; ++c) {
      TableCellBox& cell = *CellAt(r, c);
      const int cx = x + cell.Left();
      const int cy = y + cell.Top();
      const platform::Rect box{cx, cy, cx + cell.BoundsWidth(), cy + cell.BoundsHeight()};
      PaintTableBackground(canvas, box, cell.background, Record(), x, y);
      platform::OffsetCanvas inside(canvas, cx, cy);
      cell.Box().Layout().Paint(inside, {0, 0, cell.BoundsWidth(), cell.BoundsHeight()}, {});
      PaintPlacedTables(canvas, cell.Box().Text(), cx, cy, frames);
      if (frames && m_border > 0) PaintTableFrame(canvas, box, m_border, true);
    }
  }
  if (frames && m_border > 0) PaintTableFrame(canvas, area, m_border, false);
  m_busy = false;
}

void PaintPlacedTables(platform::Canvas& canvas, RichText& text, int dx, int dy, bool frames) {
  for (const auto& p : text.paragraphs) {
    for (std::size_t i = 0; i < p->objects.size(); ++i) {
      auto* table = dynamic_cast<TableObject*>(p->objects[i]);
      if (table == nullptr || !table->IsTable()) continue;
      // An object the paragraph lists but no longer places has no place.
      if (table->placedX <= -20000) continue;
      table->Paint(canvas, dx + table->placedX, dy + table->placedY, frames);
    }
  }
}

void PaintTableFrame(platform::Canvas& canvas, const platform::Rect& r, int b, bool sunken) {
  const std::uint32_t shadow = canvas.System(platform::SystemColour::ButtonShadow);
  const std::uint32_t light = canvas.System(platform::SystemColour::Highlight3D);
  const std::uint32_t topLeft = sunken ? shadow : light;
  const std::uint32_t bottomRight = sunken ? light : shadow;
  // A cell draws its b lines inwards; the table's further lines would lie
  // outside it, where they are not seen, so it draws only its edge.
  const int lines = sunken ? std::min(b, std::min(r.Width(), r.Height()) / 2) : std::min(b, 1);
  for (int i = 0; i < lines; ++i) {
    const platform::Rect k{r.left + i, r.top + i, r.right - i, r.bottom - i};
    canvas.FillRect({k.left, k.top, k.right, k.top + 1}, topLeft);
    canvas.FillRect({k.left, k.top, k.left + 1, k.bottom}, topLeft);
    canvas.FillRect({k.left, k.bottom - 1, k.right, k.bottom}, bottomRight);
    canvas.FillRect({k.right - 1, k.top, k.right, k.bottom}, bottomRight);
  }
}

void PaintTableBackground(platform::Canvas& canvas, const platform::Rect& r, std::int32_t value,
                          const TAEHoggetto* table, int originX, int originY) {
  const Background b = Background::Decode(value);
  if (b.kind == Background::Kind::Colour) {
    canvas.FillRect(r, b.colour);
    return;
  }
  if (b.kind != Background::Kind::Image || table == nullptr || table->Owner() == nullptr) return;
  TAEHoggetto* image = table->Owner()->GetObject(document::immagine, b.image);
  if (image == nullptr || image->IsFree()) return;
  const document::TAEHpicture* picture = image->GetPicture();
  if (picture == nullptr || picture->Width() <= 0 || picture->Height() <= 0) return;
  canvas.TileImage(r, originX, originY, picture->Width(), picture->Height(), picture->Bitmap());
}

}  // namespace tarn::richtext
