// The printable objects; see printables.h.
#include "print/printables.h"

#include <algorithm>
#include <cmath>

#include "document/aehoggetto.h"
#include "document/aehpicture.h"
#include "document/aehset.h"
#include "document/recordfields.h"
#include "objects/visual/visualrecord.h"
#include "print/aehpagep.h"
#include "print/offsetcanvas.h"
#include "richtext/tablelayout.h"

namespace tarn::print {
namespace {

using document::TAEHoggetto;
using namespace document::field;

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kFrameColour = 0x808080;
using objects::visual::kDefaultObjectSize;
// Column widths of tables, in screen pixels: the least a free column
// takes, and the cell space when the spacing leaves none.
constexpr int kFreeColumnMinimum = 30;
constexpr int kNoCellSpace = 10;


bool PictureOpaque(const document::TAEHpicture& picture) {
  return !picture.Transparent() && picture.Format() != document::ImageFormat::Wmf &&
         picture.Format() != document::ImageFormat::Emf;
}

}  // namespace

void PrintPicture(platform::Canvas& canvas, const platform::Rect& r, const document::TAEHpicture& picture) {
  const base::Bitmap& bitmap = picture.Bitmap();
  if (bitmap.Empty()) return;
  // Holes of a transparent picture print white, also over a background.
  if (bitmap.transparent) canvas.FillRect(r, kWhite);
  canvas.DrawImage(r, bitmap);
}

// ---- TPrintual ----

int TPrintual::AbsoluteLeft() const {
  int x = m_left;
  for (const TAEHboxP* box = m_parent; box != nullptr; box = box->Parent()) x += box->Left();
  return x;
}

int TPrintual::AbsoluteTop() const {
  int y = m_top;
  for (const TAEHboxP* box = m_parent; box != nullptr; box = box->Parent()) y += box->Top();
  return y;
}

void TPrintual::SetBounds(int left, int top, int height, int width) {
  m_left = left;
  m_top = top;
  m_height = height;
  m_width = width;
}

// ---- TAEHboxP ----

TAEHboxP::TAEHboxP(TAEHpageP& page, TAEHboxP* parent, bool cell)
    : TPrintual(page, parent), m_cell(cell), m_layout(m_text, page.Measurer()) {}

bool TAEHboxP::IsOpaque() const {
  if (backgroundImage != nullptr) {
    const document::TAEHpicture* picture = backgroundImage->GetPicture();
    return picture != nullptr && PictureOpaque(*picture);
  }
  return !transparent;
}

void TAEHboxP::ToPrinterLengths() {
  const PrintUnits& units = m_page.Units();
  for (auto& p : m_text.paragraphs) {
    richtext::TAEHParaStyle& s = p->style;
    s.SetLeftMargin(units.X(s.LeftMargin()));
    s.SetRightMargin(units.X(s.RightMargin()));
    s.SetIndent(units.X(s.Indent()));
    s.SetSpaceBefore(units.Y(s.SpaceBefore()));
    s.SetSpaceAfter(units.Y(s.SpaceAfter()));
    // Zero and negative heights mean "as the fonts need".
    if (s.LineHeight() > 0) s.SetLineHeight(units.Y(s.LineHeight()));
    for (richtext::EmbeddedObject* object : p->objects) {
      auto* printable = dynamic_cast<TPrintual*>(object);
      if (printable != nullptr) printable->SetParent(this);
      if (auto* table = dynamic_cast<TMyyTableP*>(object); table != nullptr) {
        for (int r = 0; r < table->Rows(); ++r) {
          for (int c = 0; c < table->Columns(); ++c) table->CellBox(r, c)->ToPrinterLengths();
        }
      }
    }
  }
}

void TAEHboxP::LayoutText(int width, int cellPadding) {
  const PrintUnits& units = m_page.Units();
  m_width = width;
  m_layout.layoutWidth = width;
  m_layout.widestExtent = width;
  m_layout.isCell = m_cell;
  m_layout.cellPadding = cellPadding;
  m_layout.screenToX = units.X(100) / 100.0;
  m_layout.screenToY = units.Y(100) / 100.0;
  m_layout.NumberLists();
  if (m_text.paragraphs.empty()) {
    m_height = 0;
    return;
  }
  m_layout.LayoutAll();
  m_height = ContentHeight();
  PlaceObjects();
}

// Objects stand where the line drawing would put them; placing them before
// printing lets tables be cut between sheets at their own lines.
void TAEHboxP::PlaceObjects() {
  for (auto& p : m_text.paragraphs) {
    const int contentTop = p->top + p->style.SpaceBefore();
    for (const richtext::TAEHline& line : p->lines) {
      int x = line.alignOffset + line.leftOffset;
      for (int i = line.firstChar; i < line.firstChar + line.charCount; ++i) {
        const richtext::CharInfo& info = p->infos[static_cast<std::size_t>(i)];
        if (info.object >= 0 && static_cast<std::size_t>(info.object) < p->objects.size()) {
          richtext::EmbeddedObject* object = p->objects[static_cast<std::size_t>(info.object)];
          object->Place(x, contentTop + line.top + line.maxAscent - info.ascent);
        }
        x += info.width;
      }
    }
  }
}

void TAEHboxP::CollectSpans(std::vector<Span>& spans, int top) {
  for (auto& p : m_text.paragraphs) {
    const int contentTop = p->top + p->style.SpaceBefore();
    for (const richtext::TAEHline& line : p->lines) {
      TMyyTableP* table = nullptr;
      for (int i = line.firstChar; i < line.firstChar + line.charCount && table == nullptr; ++i) {
        const richtext::CharInfo& info = p->infos[static_cast<std::size_t>(i)];
        if (info.object >= 0 && static_cast<std::size_t>(info.object) < p->objects.size()) {
          table = dynamic_cast<TMyyTableP*>(p->objects[static_cast<std::size_t>(info.object)]);
        }
      }
      // A table may be cut between its cells' lines; other lines are whole.
      if (table != nullptr && table->IsTable()) {
        table->CollectTableSpans(spans, top + table->Top());
      } else {
        const int lineTop = top + contentTop + line.top;
        spans.push_back({lineTop, lineTop + line.height});
      }
    }
  }
}

void TAEHboxP::PaintBackground(platform::Canvas& canvas, const platform::Rect& area, int originX, int originY) {
  const document::TAEHpicture* picture = backgroundImage != nullptr ? backgroundImage->GetPicture() : nullptr;
  if (picture == nullptr || picture->Bitmap().Empty()) {
    if (!transparent) canvas.FillRect(area, backgroundColour);
    return;
  }
  if (!PictureOpaque(*picture) && !m_cell) canvas.FillRect(area, backgroundColour);
  const PrintUnits& units = m_page.Units();
  const int w = std::max(1, units.ImageX(picture->Bitmap().width));
  const int h = std::max(1, units.ImageY(picture->Bitmap().height));
  // Each tile prints as a picture does: its holes white.
  if (picture->Bitmap().transparent) canvas.FillRect(area, kWhite);
  canvas.TileImage(area, originX, originY, w, h, picture->Bitmap());
}

void TAEHboxP::PrintLines(SheetView& view) {
  const platform::Rect& sheet = view.sheet;
  for (std::size_t i = 0; i < m_text.paragraphs.size(); ++i) {
    richtext::TAEHparag& p = *m_text.paragraphs[i];
    if (p.bottom < sheet.top || p.top >= sheet.bottom || p.lines.empty()) continue;
    const int contentTop = p.top + p.style.SpaceBefore();
    // The list mark goes on the sheet that holds the paragraph's first line.
    const int markY = contentTop + p.lines.front().top;
    if (markY >= sheet.top && markY < sheet.bottom) m_layout.DrawListMark(view.canvas, static_cast<int>(i));
    for (std::size_t l = 0; l < p.lines.size(); ++l) {
      const richtext::TAEHline& line = p.lines[l];
      const int lineTop = contentTop + line.top;
      if (lineTop + line.height <= sheet.top || lineTop >= sheet.bottom) continue;
      m_layout.DrawLine(view.canvas, static_cast<int>(i), static_cast<int>(l), {});
      for (int c = line.firstChar; c < line.firstChar + line.charCount; ++c) {
        const richtext::CharInfo& info = p.infos[static_cast<std::size_t>(c)];
        if (info.object < 0 || static_cast<std::size_t>(info.object) >= p.objects.size()) continue;
        if (auto* printable = dynamic_cast<TPrintual*>(p.objects[static_cast<std::size_t>(info.object)])) {
          printable->Print(view);
        }
      }
    }
  }
}

void TAEHboxP::Print(SheetView& view) { PrintLines(view); }

// ---- TMyyPrintual ----

TMyyPrintual::TMyyPrintual(TAEHpageP& page, TAEHboxP* parent, std::int32_t identifier)
    : TPrintual(page, parent), m_identifier(identifier) {
  m_width = 105;
  m_height = 105;
}

void TMyyPrintual::Bind(TAEHoggetto* record) {
  m_record = record;
  Refresh();
}

int TMyyPrintual::RecordKind() const { return m_record != nullptr ? m_record->Kind() : -1; }

void TMyyPrintual::Place(int x, int y) {
  EmbeddedObject::Place(x, y);
  m_left = x;
  m_top = y;
}

// ---- TMyyRectangleP ----

namespace {

using objects::visual::ObjectScreenSize;
using objects::visual::ScreenSize;

}  // namespace

void TMyyRectangleP::Refresh() {
  if (m_record == nullptr) return;
  const PrintUnits& units = m_page.Units();
  const ScreenSize size = ObjectScreenSize(*m_record);
  m_width = size.percentWidth >= 0 && m_available > 0 ? m_available * size.percentWidth / 100
                                                       : units.ImageX(size.width);
  m_height = units.ImageY(size.height);
}

void TMyyRectangleP::SetAvailableWidth(int width) {
  m_available = width;
  Refresh();
}

// ---- TMyyImageP ----

void TMyyImageP::Refresh() {
  if (m_record == nullptr) return;
  int w = m_record->I16(kPlacedWidth);
  int h = m_record->I16(kPlacedHeight);
  if (const document::TAEHpicture* picture = m_record->GetPicture(); picture != nullptr && !picture->Empty()) {
    // A picture replaced since the size was set shows at its own size.
    if (picture->Width() != m_record->I16(kPlacedNaturalWidth) ||
        picture->Height() != m_record->I16(kPlacedNaturalHeight)) {
      w = picture->Width();
      h = picture->Height();
    }
  } else {
    if (w == 0) w = kDefaultObjectSize;
    if (h == 0) h = kDefaultObjectSize;
  }
  const PrintUnits& units = m_page.Units();
  m_width = units.ImageX(std::max(w, 0));
  m_height = units.ImageY(std::max(h, 0));
  // A picture larger than a sheet is made smaller to fit it, keeping its
  // proportions: cutting it between sheets would leave neither part usable.
  const int maxW = m_page.PrintableWidth();
  const int maxH = m_page.PrintableHeight();
  if (maxW > 0 && maxH > 0 && m_width > 0 && m_height > 0 && (m_width > maxW || m_height > maxH)) {
    const double factor = std::min(static_cast<double>(maxW) / m_width, static_cast<double>(maxH) / m_height);
    m_width = std::max(1, static_cast<int>(m_width * factor));
    m_height = std::max(1, static_cast<int>(m_height * factor));
  }
}

void TMyyImageP::SetAvailableWidth(int) { Refresh(); }

int TMyyImageP::VerticalAlignment() const { return m_record != nullptr ? m_record->U8(kPlacedAlignment) : 0; }

bool TMyyImageP::IsOpaque() const {
  const document::TAEHpicture* picture = m_record != nullptr ? m_record->GetPicture() : nullptr;
  return picture != nullptr && PictureOpaque(*picture);
}

void TMyyImageP::Print(SheetView& view) {
  if (m_record == nullptr || m_width <= 0 || m_height <= 0) return;
  const platform::Rect r{m_left, m_top, m_left + m_width, m_top + m_height};
  if (!r.Intersects(view.sheet)) return;
  // Asked for now rather than kept: the hypertext's picture cache may let
  // go of pictures decoded since.
  if (const document::TAEHpicture* picture = m_record->GetPicture()) PrintPicture(view.canvas, r, *picture);
}

// ---- TMyyTableP ----

TMyyTableP::TMyyTableP(TAEHpageP& page, TAEHboxP* parent, std::int32_t identifier)
    : TAEHboxP(page, parent, false), m_identifier(identifier) {}

int TMyyTableP::RecordKind() const { return document::tabellaHtml; }

void TMyyTableP::ApplyBackground(TAEHboxP& box, std::int32_t value) {
  box.backgroundImage = nullptr;
  box.transparent = false;
  if (value >= 0 && value < 0x02000000) {
    box.backgroundColour = static_cast<std::uint32_t>(value) & 0xFFFFFFu;
    return;
  }
  if (value >= kBackgroundImage && value <= 0x03FFFFFF && m_record != nullptr && m_record->Owner() != nullptr) {
    TAEHoggetto* image = m_record->Owner()->GetObject(document::immagine, value & 0xFFFFFF);
    if (image != nullptr && !image->IsFree()) {
      box.backgroundImage = image;
      return;
    }
  }
  box.transparent = true;
}

void TMyyTableP::Bind(TAEHoggetto* record) {
  m_record = record;
  m_cells.clear();
  m_rows = m_columns = 0;
  if (record == nullptr) return;
  const int rows = record->U8(kTableRows);
  const int columns = record->U8(kTableColumns);
  if (rows < 1 || rows > kMaxTableRows || columns < 1 || columns > kMaxTableColumns) return;
  m_rows = rows;
  m_columns = columns;
  const PrintUnits& units = m_page.Units();
  m_padding = units.X(record->U8(kTablePadding));
  m_spacing = units.X(record->U8(kTableSpacing));
  m_border = record->U8(kTableBorder) > 0 ? std::max(1, units.X(record->U8(kTableBorder))) : 0;
  ApplyBackground(*this, record->I32(kTableBackground));
  const std::optional<std::string> content = record->ReadContent();
  const std::size_t count = static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns);
  const bool hasBackgrounds = content && content->size() >= count * 4;
  for (std::size_t i = 0; i < count; ++i) {
    auto cell = std::make_unique<TAEHboxP>(m_page, this, true);
    std::int32_t value = -1;
    if (hasBackgrounds) {
      const auto* bytes = reinterpret_cast<const unsigned char*>(content->data() + i * 4);
      value = static_cast<std::int32_t>(static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
                                        (static_cast<std::uint32_t>(bytes[2]) << 16) |
                                        (static_cast<std::uint32_t>(bytes[3]) << 24));
    }
    ApplyBackground(*cell, value);
    m_cells.push_back(std::move(cell));
  }
}

TAEHboxP* TMyyTableP::CellBox(int row, int column) const {
  if (row < 0 || row >= m_rows || column < 0 || column >= m_columns) return nullptr;
  return m_cells[static_cast<std::size_t>(row * m_columns + column)].get();
}

richtext::RichText* TMyyTableP::Cell(int row, int column) {
  TAEHboxP* box = CellBox(row, column);
  return box != nullptr ? &box->Text() : nullptr;
}

void TMyyTableP::Place(int x, int y) {
  EmbeddedObject::Place(x, y);
  m_left = x;
  m_top = y;
}

void TMyyTableP::SetAvailableWidth(int width) {
  if (m_record == nullptr || m_rows == 0) return;
  int w = 0;
  if (m_record->U8(kTablePercentWidth) == 1) {
    const int percent = m_record->U8(kTableWidthPercent);
    w = percent > 100 ? width : width * percent / 100;
  } else {
    w = m_page.Units().X(static_cast<std::uint16_t>(m_record->I16(kTablePixelWidth)));
  }
  LayoutTable(w);
}

namespace {

// A printed cell as the table grid lays it out (printer pixels).
class PrintedCell : public richtext::TableLayoutCell {
 public:
  PrintedCell(TAEHboxP& box, int padding) : m_box(box), m_padding(padding) {}
  int WantedWidth() const override { return m_wanted; }
  void LayOut(int wanted) override {
    m_wanted = wanted;
    m_box.LayoutText(std::max(wanted, 1), m_padding);
    m_width = std::max(wanted, m_box.Layout().widestExtent);
    m_height = std::max(m_box.ContentHeight(), m_padding) + m_padding;
  }
  int CellWidth() const override { return m_width; }
  int CellHeight() const override { return m_height; }
  void SetCellBounds(int x, int y, int width, int height) override {
    // A cell made wider than its text was laid out for lays out again.
    if (width != m_box.PrintWidth()) m_box.LayoutText(width, m_padding);
    m_box.SetBounds(x, y, height, width);
  }

 private:
  TAEHboxP& m_box;
  int m_padding;
  int m_wanted = -1;
  int m_width = 0;
  int m_height = 0;
};

}  // namespace

// The grid the screen lays tables out with, in printer pixels: pixel
// column sizes and the grid's own lengths scaled from screen pixels.
void TMyyTableP::LayoutTable(int width) {
  const PrintUnits& units = m_page.Units();
  richtext::TableGrid grid;
  grid.rows = m_rows;
  grid.columns = m_columns;
  grid.spacing = m_spacing;
  grid.noRoom = units.X(kNoCellSpace);
  grid.freeMinimum = units.X(kFreeColumnMinimum);
  for (int c = 0; c < m_columns; ++c) {
    const int kind = std::clamp<int>(m_record->U8(kTableColumnKinds + c), 0, 2);
    const int size = std::max<int>(0, m_record->I16(kTableColumnSizes + 2 * c));
    grid.kinds.push_back(kind);
    grid.sizes.push_back(kind == 0 ? size : units.X(size));
  }
  std::vector<PrintedCell> cells;
  cells.reserve(m_cells.size());
  for (const auto& cell : m_cells) cells.emplace_back(*cell, m_padding);
  const int columns = m_columns;
  const richtext::TableExtent extent = richtext::LayoutTableGrid(
      grid,
      [&cells, columns](int r, int c) -> richtext::TableLayoutCell& {
        return cells[static_cast<std::size_t>(r * columns + c)];
      },
      width);
  m_width = extent.width;
  m_height = extent.height;
}

void TMyyTableP::CollectTableSpans(std::vector<Span>& spans, int top) {
  for (const auto& cell : m_cells) cell->CollectSpans(spans, top + cell->Top());
}

void TMyyTableP::Print(SheetView& view) {
  const platform::Rect area{m_left, m_top, m_left + m_width, m_top + m_height};
  if (!area.Intersects(view.sheet)) return;
  const bool backgrounds = m_page.options.tableBackground;
  if (backgrounds) PaintBackground(view.canvas, area, m_left, m_top);
  auto frame = [&view, this](const platform::Rect& r) {
    const int b = m_border;
    view.canvas.FillRect({r.left, r.top, r.right, r.top + b}, kFrameColour);
    view.canvas.FillRect({r.left, r.bottom - b, r.right, r.bottom}, kFrameColour);
    view.canvas.FillRect({r.left, r.top, r.left + b, r.bottom}, kFrameColour);
    view.canvas.FillRect({r.right - b, r.top, r.right, r.bottom}, kFrameColour);
  };
  for (const auto& cell : m_cells) {
    const int cx = m_left + cell->Left();
    const int cy = m_top + cell->Top();
    const platform::Rect cellArea{cx, cy, cx + cell->PrintWidth(), cy + cell->PrintHeight()};
    if (!cellArea.Intersects(view.sheet)) continue;
    OffsetCanvas canvas(view.canvas, cx, cy);
    SheetView cellView{canvas, {view.sheet.left - cx, view.sheet.top - cy, view.sheet.right - cx,
                                view.sheet.bottom - cy}};
    if (backgrounds) {
      // Tiles line up across the cells, as if the table were one picture.
      cell->PaintBackground(canvas, {0, 0, cell->PrintWidth(), cell->PrintHeight()}, -cell->Left(),
                            -cell->Top());
    }
    cell->PrintLines(cellView);
    if (m_border > 0) frame(cellArea);
  }
  if (m_border > 0) frame(area);
}

std::unique_ptr<TMyyPrintual> MakePrintual(TAEHpageP& page, TAEHoggetto* record, std::int32_t identifier) {
  if (record == nullptr || record->IsFree()) return nullptr;
  std::unique_ptr<TMyyPrintual> printable;
  switch (record->Kind()) {
    case document::immagineNew: printable = std::make_unique<TMyyImageP>(page, nullptr, identifier); break;
    case document::shortObj: {
      const int subtype = record->Subtype();
      if (subtype == 5 || (subtype >= 10 && subtype <= 15)) {
        printable = std::make_unique<TMyyRectangleP>(page, nullptr, identifier);
      }
      break;
    }
    case document::inputStat:
    case document::inputDin:
    case document::bottoneCGI:
    case document::inizioForm:
    case document::multiMedia: printable = std::make_unique<TMyyRectangleP>(page, nullptr, identifier); break;
    default: break;
  }
  if (printable) printable->Bind(record);
  return printable;
}

bool IsPrintedTable(const TAEHoggetto* record) {
  return record != nullptr && !record->IsFree() && record->Kind() == document::tabellaHtml;
}

}  // namespace tarn::print
