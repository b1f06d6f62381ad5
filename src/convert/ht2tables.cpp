// Tables of an imported HTML file: the table records, rows and cells as the
// file gives them (end tags may be missing, rows may be short or long), and
// the repair of the finished markup so that every table has exactly its
// rows times columns cells.
#include <algorithm>

#include "base/bytes.h"
#include "base/cp1252.h"
#include "base/hex.h"
#include "convert/ht2reader.h"
#include "convert/htmlcss.h"
#include "document/aehset.h"
#include "document/recordfields.h"
#include "markup/tokenizer.h"

namespace tarn::convert {
using namespace document;
using namespace document::field;
namespace {

// Tables nested deeper than this are read as part of their cell.
constexpr std::size_t kDeepestTables = 32;
constexpr int kMostBorder = 20;
constexpr int kMostSpacing = 19;
constexpr std::uint8_t kColumnPercent = 0;
constexpr std::uint8_t kColumnPixels = 1;
constexpr std::uint8_t kColumnFree = 2;
constexpr std::string_view kCellParagraph = "<Z S1 >";

// Gives a table met by the repair at least one row and one background per
// cell (when it has backgrounds at all); answers its number of cells.
int CompleteTable(TAEHoggetto& table) {
  if (table.U8(kTableRows) == 0) table.SetU8(kTableRows, 1);
  const int cells = table.U8(kTableRows) * table.U8(kTableColumns);
  if (table.Content().Present()) {
    std::string bytes = table.ReadContent().value_or(std::string());
    bytes.resize(static_cast<std::size_t>(cells) * 4, '\xFF');
    table.SetContent(std::move(bytes));
  }
  return cells;
}

std::string ObjectTag(ObjectId id) { return "<$" + base::ToHex(static_cast<std::uint32_t>(id), 8) + ">"; }

}  // namespace

std::int32_t THt2Reader::Background(const HtmlTag& tag, std::int32_t otherwise) {
  if (tag.Has("BACKGROUND")) {
    const auto path = m_run.LocalFile(m_folder / m_base, tag.Value("BACKGROUND"));
    if (TAEHoggetto* image = path ? m_run.Image(*path) : nullptr; image != nullptr) {
      return kBackgroundImage + image->Index();
    }
    m_run.Skipped(HtmlImportRun::Missing("background image", tag.Value("BACKGROUND"), path), m_file);
  }
  std::uint32_t colour = 0;
  if (tag.Has("BGCOLOR") && ParseHtmlColour(tag.Value("BGCOLOR"), colour)) return static_cast<std::int32_t>(colour);
  return otherwise;
}

void THt2Reader::OpenTable(const HtmlTag& tag) {
  if (m_extended) return;
  if (m_tables.size() >= kDeepestTables || m_ignoredTables > 0) {
    ++m_ignoredTables;
    return;
  }
  auto record = m_set.NewObject(tabellaHtml);
  const std::string width = tag.Value("WIDTH");
  const int w = HtmlNumber(width, -1);
  if (width.find('%') != std::string::npos && w > 0) {
    record->SetU8(kTablePercentWidth, 1);
    record->SetU8(kTableWidthPercent, static_cast<std::uint8_t>(std::min(w, 100)));
  } else if (w > 0 && width.find('*') == std::string::npos) {
    record->SetU8(kTablePercentWidth, 0);
    record->SetI16(kTablePixelWidth, static_cast<std::int16_t>(std::min(w, 32767)));
  } else {
    record->SetU8(kTablePercentWidth, 1);
    record->SetU8(kTableWidthPercent, 100);
  }
  // A BORDER without a value is a border of one pixel.
  const std::string* border = tag.Find("BORDER");
  const int b = border == nullptr ? 0 : border->empty() ? 1 : HtmlNumber(*border, 1);
  record->SetU8(kTableBorder, static_cast<std::uint8_t>(std::clamp(b, 0, kMostBorder)));
  for (const auto& [attribute, at] : {std::pair{"CELLSPACING", kTableSpacing}, std::pair{"CELLPADDING", kTablePadding}}) {
    const int v = HtmlNumber(tag.Value(attribute), -1);
    if (v >= 0 && v <= kMostSpacing) record->SetU8(at, static_cast<std::uint8_t>(v));
  }
  record->SetI32(kTableBackground, Background(tag, -1));
  TAEHoggetto* registered = m_run.Register(std::move(record));
  if (registered == nullptr) return;
  // A table stands on a line of its own, as browsers show it.
  NewParagraph();
  WriteObject(registered->GetId());
  THt2TabAEHoggetto table;
  table.record = registered;
  table.columnKinds.fill(kColumnFree);
  m_states.Push(kElTable, Ht2Opened::Table);
  table.state = m_states.Depth();
  m_states.Top().table = static_cast<int>(m_tables.size());
  m_tables.push_back(table);
  NewParagraph();
}

void THt2Reader::StartRow(const HtmlTag* tag) {
  if (m_extended || m_ignoredTables > 0 || m_tables.empty()) return;
  THt2TabAEHoggetto& t = m_tables.back();
  CloseCell(t);
  FinishRow(t, "<Z S0 ><patchtr><T>");
  t.rowOpen = true;
  t.column = 0;
  t.rowBackground = tag != nullptr ? Background(*tag, -1) : -1;
}

void THt2Reader::StartCell(const HtmlTag& tag, bool header) {
  if (m_extended || m_ignoredTables > 0 || m_tables.empty()) return;
  if (!m_tables.back().rowOpen) StartRow(nullptr);
  THt2TabAEHoggetto& t = m_tables.back();
  if (t.column == 0 && t.rows == kMaxTableRows) ContinueTable(t);
  const bool firstRow = t.rows == 0 || (t.rows == 1 && t.column > 0);
  // A cell past the columns of the first row joins the cell before it: the
  // markup holds rows times columns cells and nothing else.
  const bool extra = firstRow ? t.columns >= kMaxTableColumns : t.column >= t.columns;
  if (extra && t.cellOpen) {
    WriteBlank();
    return;
  }
  CloseCell(t);
  if (t.column == 0) ++t.rows;
  if (firstRow && t.columns < kMaxTableColumns) {
    const std::string width = tag.Value("WIDTH");
    const int w = HtmlNumber(width, -1);
    const auto c = static_cast<std::size_t>(t.columns);
    if (w > 0 && width.find('%') != std::string::npos) {
      t.columnKinds[c] = kColumnPercent;
      t.columnSizes[c] = static_cast<std::int16_t>(std::min(w, 100));
    } else if (w > 0 && width.find('*') == std::string::npos) {
      t.columnKinds[c] = kColumnPixels;
      t.columnSizes[c] = static_cast<std::int16_t>(std::min(w, 32767));
    }
    ++t.columns;
  }
  ++t.column;
  t.cellOpen = true;
  t.backgrounds.push_back(Background(tag, t.rowBackground));
  m_states.Push(header ? kElTh : kElTd, Ht2Opened::Cell);
  // Header cells are bold in every browser.
  if (header) m_states.Top().bold = true;
  NewParagraph();
}

void THt2Reader::EndCell() {
  if (m_extended) {
    if (m_tables.empty()) return;
    if (m_pending) m_markup += kCellParagraph;
    m_markup += "<T>";
    NewParagraph();
    return;
  }
  if (m_ignoredTables > 0 || m_tables.empty()) return;
  // The cell's text keeps its place until the next cell or row: text after
  // the end tag still belongs to it, and a cell with no end tag is closed
  // the same way.
  const int cell = m_states.InnermostCellAbove(m_tables.back().state);
  if (cell > 0) m_states.PopAbove(cell - 1);
}

void THt2Reader::CloseCell(THt2TabAEHoggetto& table) {
  if (!table.cellOpen) return;
  const int cell = m_states.InnermostCellAbove(table.state);
  if (cell > 0) m_states.PopAbove(cell - 1);
  CloseLink();
  if (m_pending) m_markup += kCellParagraph;
  m_markup += "<T>";
  table.cellOpen = false;
  NewParagraph();
}

void THt2Reader::FinishRow(THt2TabAEHoggetto& table, std::string_view padding) {
  if (table.rowOpen && table.column > 0) {
    for (int c = table.column; c < table.columns; ++c) {
      m_markup += padding;
      table.backgrounds.push_back(-1);
    }
  }
  table.rowOpen = false;
  table.column = 0;
}

void THt2Reader::StoreTable(THt2TabAEHoggetto& table) {
  TAEHoggetto& r = *table.record;
  if (table.rows == 0 || table.columns == 0) {
    // A table without cells gets one empty cell.
    m_markup += kCellParagraph;
    m_markup += "<T>";
    table.rows = 1;
    table.columns = std::max(table.columns, 1);
    table.backgrounds.assign(static_cast<std::size_t>(table.columns), -1);
  }
  r.SetU8(kTableRows, static_cast<std::uint8_t>(table.rows));
  r.SetU8(kTableColumns, static_cast<std::uint8_t>(table.columns));
  for (int c = 0; c < table.columns; ++c) {
    r.SetU8(kTableColumnKinds + c, table.columnKinds[static_cast<std::size_t>(c)]);
    r.SetI16(kTableColumnSizes + 2 * c, table.columnSizes[static_cast<std::size_t>(c)]);
  }
  const std::size_t cells = static_cast<std::size_t>(table.rows) * static_cast<std::size_t>(table.columns);
  table.backgrounds.resize(cells, -1);
  // Cells without backgrounds need no content data.
  if (std::any_of(table.backgrounds.begin(), table.backgrounds.end(), [](std::int32_t v) { return v != -1; })) {
    std::string content(cells * 4, '\0');
    std::span<std::uint8_t> bytes(reinterpret_cast<std::uint8_t*>(content.data()), content.size());
    for (std::size_t i = 0; i < cells; ++i) base::PutI32(bytes, 4 * i, table.backgrounds[i]);
    r.SetContent(std::move(content));
  }
}

void THt2Reader::ContinueTable(THt2TabAEHoggetto& table) {
  // A table record holds at most 255 rows: the rows after them go on in a
  // second table with the same settings, right after the first.
  StoreTable(table);
  auto next = m_set.NewObject(tabellaHtml);
  const std::span<const std::uint8_t> from = table.record->Record();
  for (int at : {kTablePercentWidth, kTableWidthPercent, kTablePadding, kTableSpacing, kTableBorder}) {
    next->SetU8(at, from[static_cast<std::size_t>(at)]);
  }
  next->SetI16(kTablePixelWidth, table.record->I16(kTablePixelWidth));
  next->SetI32(kTableBackground, table.record->I32(kTableBackground));
  TAEHoggetto* registered = m_run.Register(std::move(next));
  if (registered == nullptr) return;
  m_markup += ObjectTag(registered->GetId());
  table.record = registered;
  table.rows = 0;
  table.backgrounds.clear();
}

void THt2Reader::CloseTable() {
  if (m_ignoredTables > 0) {
    --m_ignoredTables;
    return;
  }
  if (m_tables.empty()) return;
  THt2TabAEHoggetto& t = m_tables.back();
  if (!m_extended) {
    CloseCell(t);
    FinishRow(t, "<Z S1 ><patchc><T>");
    StoreTable(t);
  }
  m_states.PopAbove(t.state - 1);
  m_tables.pop_back();
  NewParagraph();
}

void THt2Reader::ExtendedTable(std::string_view text) {
  // "tn_t R2 C3 W0 50 P0 0 ...": rows, columns, and per column its width
  // ("W" and the column number, then the width) and width kind ("P").
  auto record = m_set.NewObject(tabellaHtml);
  int rows = 1;
  int columns = 1;
  std::size_t i = 0;
  auto number = [&]() {
    while (i < text.size() && (text[i] == ' ' || text[i] == ':' || text[i] == '=' || text[i] == ',')) ++i;
    int v = 0;
    bool any = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9' && v < 100000; ++i, any = true) v = v * 10 + (text[i] - '0');
    return any ? v : -1;
  };
  while (i < text.size()) {
    const char key = text[i++];
    if (key == 'R') rows = number();
    else if (key == 'C') columns = number();
    else if (key == 'W' || key == 'P') {
      const int column = number();
      const int value = number();
      if (column < 0 || column >= kMaxTableColumns || value < 0) continue;
      if (key == 'W') record->SetI16(kTableColumnSizes + 2 * column, static_cast<std::int16_t>(std::min(value, 32767)));
      else record->SetU8(kTableColumnKinds + column, static_cast<std::uint8_t>(std::min(value, 2)));
    }
  }
  record->SetU8(kTableRows, static_cast<std::uint8_t>(std::clamp(rows, 1, kMaxTableRows)));
  record->SetU8(kTableColumns, static_cast<std::uint8_t>(std::clamp(columns, 1, kMaxTableColumns)));
  TAEHoggetto* registered = m_run.Register(std::move(record));
  if (registered == nullptr) return;
  WriteObject(registered->GetId());
  THt2TabAEHoggetto table;
  table.record = registered;
  table.cellOpen = true;
  m_states.Push(kElTable, Ht2Opened::Table);
  table.state = m_states.Depth();
  m_tables.push_back(table);
  NewParagraph();
}

// ---- Repair ----

std::string THt2Reader::RepairTables(std::string markup) {
  // The walk copies the markup, fixing each table's cells: every cell starts
  // with a paragraph tag, a table gets exactly rows times columns cells, a
  // cell end outside any table and a table without columns are dropped.
  if (markup.find("<$08") == std::string::npos && markup.find("<T") == std::string::npos) return markup;
  using markup::TokenKind;
  std::string out;
  out.reserve(markup.size() + markup.size() / 16);
  std::vector<TTabOgg> open;
  bool paragraph = true;  // the text at hand has its paragraph tag
  auto content = [&]() {
    if (!open.empty() && !paragraph) out += kCellParagraph;
    paragraph = true;
  };
  markup::Tokenizer tokens(markup);
  for (markup::Token token = tokens.Next(); token.kind != TokenKind::kEnd; token = tokens.Next()) {
    switch (token.kind) {
      case TokenKind::kText:
      case TokenKind::kEntity:
      case TokenKind::kControls:
        content();
        out += token.text;
        continue;
      case TokenKind::kCellEnd:
        if (open.empty()) continue;
        if (!paragraph) out += kCellParagraph;
        out += token.text;
        // The next cell needs its paragraph tag; the text after a finished
        // table goes on in the paragraph that holds the table.
        paragraph = --open.back().cellsLeft == 0;
        if (paragraph) open.pop_back();
        continue;
      case TokenKind::kParagraphTag:
        paragraph = true;
        out += token.text;
        continue;
      case TokenKind::kReference:
        if (const auto id = static_cast<ObjectId>(token.value); token.wellFormed && KindOf(id) == tabellaHtml) {
          TAEHoggetto* table = m_set.GetObject(tabellaHtml, IndexOf(id));
          // A table that is gone or has no columns is dropped.
          if (table == nullptr || table->IsFree() || table->U8(kTableColumns) == 0) continue;
          content();
          out += token.text;
          open.push_back({table, CompleteTable(*table)});
          paragraph = false;
          continue;
        }
        // A link starts content; so does any other object.
        content();
        out += token.text;
        continue;
      default:
        // Format tags, link ends and blocks carry no content of their own.
        out += token.text;
        continue;
    }
  }
  while (!open.empty()) {
    for (int c = open.back().cellsLeft; c > 0; --c) {
      if (!paragraph) out += kCellParagraph;
      out += "<T>";
      paragraph = false;
    }
    open.pop_back();
    paragraph = true;
  }
  return out;
}

}  // namespace tarn::convert
