// The printable objects: what a page becomes on paper. A text box holds
// paragraphs laid out in printer pixels (the page body with its header and
// footer, and every table cell); objects placed in the text reserve their
// place, print their picture, or print a grid of cell boxes.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/canvas.h"
#include "richtext/layout.h"
#include "richtext/markup.h"

namespace tarn::document {
class TAEHoggetto;
class TAEHpicture;
}  // namespace tarn::document

namespace tarn::print {

class TAEHpageP;
class TAEHboxP;

// Where a printable draws: a canvas whose origin is the top-left corner of
// the box that holds it, and the part of the current sheet that lies on
// that box, in the same coordinates.
struct SheetView {
  platform::Canvas& canvas;
  platform::Rect sheet;
};

// A stretch of a printed box that must not be cut between two sheets (one
// line of text), in body coordinates.
struct Span {
  int top = 0;
  int bottom = 0;  // exclusive
};

class TPrintual {
 public:
  TPrintual(TAEHpageP& page, TAEHboxP* parent) : m_page(page), m_parent(parent) {}
  virtual ~TPrintual() = default;
  TPrintual(const TPrintual&) = delete;
  TPrintual& operator=(const TPrintual&) = delete;

  int Left() const { return m_left; }
  int Top() const { return m_top; }
  int PrintWidth() const { return m_width; }
  int PrintHeight() const { return m_height; }
  TAEHboxP* Parent() const { return m_parent; }
  void SetParent(TAEHboxP* parent) { m_parent = parent; }
  TAEHpageP& Page() const { return m_page; }
  // The sum of its offsets and its boxes' up to the printable page.
  int AbsoluteLeft() const;
  int AbsoluteTop() const;

  // Whether it covers its area completely.
  virtual bool IsOpaque() const { return true; }
  virtual void SetBounds(int left, int top, int height, int width);
  virtual void Print(SheetView& view) = 0;

 protected:
  TAEHpageP& m_page;
  TAEHboxP* m_parent;
  int m_left = 0;
  int m_top = 0;
  int m_width = 110;
  int m_height = 110;
};

// Paragraphs of text and their background: the page body and table cells.
class TAEHboxP : public TPrintual {
 public:
  TAEHboxP(TAEHpageP& page, TAEHboxP* parent, bool cell);

  richtext::RichText& Text() { return m_text; }
  richtext::TextLayout& Layout() { return m_layout; }
  bool IsCell() const { return m_cell; }

  // Background: a colour, a picture (kind 5 record), or nothing.
  std::uint32_t backgroundColour = 0xC0C0C0;
  document::TAEHoggetto* backgroundImage = nullptr;
  bool transparent = false;
  bool IsOpaque() const override;

  // Turns the screen lengths of the paragraphs (margins, indents, spacing,
  // line heights), also those of the cells of tables in them, into printer
  // pixels.
  void ToPrinterLengths();
  // Lays the paragraphs out at the width, as the page view and the cells of
  // tables lay them out, and places the objects in them.
  void LayoutText(int width, int cellPadding = 0);
  int ContentHeight() const { return m_layout.ContentHeight(); }

  // The lines of the box (the cells' lines for a line that holds a table),
  // moved down by top.
  void CollectSpans(std::vector<Span>& spans, int top);
  // Paints the background over area (box coordinates), the tiles of a
  // picture lined up with origin.
  void PaintBackground(platform::Canvas& canvas, const platform::Rect& area, int originX, int originY);
  // Draws the list marks and lines that lie on the sheet, with the objects
  // in them.
  void PrintLines(SheetView& view);
  void Print(SheetView& view) override;

 private:
  void PlaceObjects();

  bool m_cell;
  richtext::RichText m_text;
  richtext::TextLayout m_layout;
};

// Base of the objects placed in a text.
class TMyyPrintual : public TPrintual, public richtext::EmbeddedObject {
 public:
  TMyyPrintual(TAEHpageP& page, TAEHboxP* parent, std::int32_t identifier);

  // Sets the record it shows.
  virtual void Bind(document::TAEHoggetto* record);
  document::TAEHoggetto* Record() const { return m_record; }
  // Reads its size again from the record.
  virtual void Refresh() {}

  // EmbeddedObject: the reader and the layout see the printed size.
  std::int32_t Identifier() const override { return m_identifier; }
  int Width() const override { return m_width; }
  int Height() const override { return m_height; }
  int RecordKind() const override;
  void Place(int x, int y) override;
  void Print(SheetView&) override {}

 protected:
  document::TAEHoggetto* m_record = nullptr;

 private:
  std::int32_t m_identifier;
};

// Keeps an object's place on paper and prints nothing: label glyphs, form
// controls, form starts, multimedia.
class TMyyRectangleP : public TMyyPrintual {
 public:
  using TMyyPrintual::TMyyPrintual;
  void Refresh() override;
  void SetAvailableWidth(int width) override;

 private:
  int m_available = 0;
};

// A placed image (kind 16).
class TMyyImageP : public TMyyPrintual {
 public:
  using TMyyPrintual::TMyyPrintual;
  void Refresh() override;
  void SetAvailableWidth(int width) override;
  int VerticalAlignment() const override;
  bool IsOpaque() const override;
  void Print(SheetView& view) override;
};

// A table (kind 8): a grid of cell boxes with spacing around them.
class TMyyTableP : public TAEHboxP, public richtext::EmbeddedObject {
 public:
  TMyyTableP(TAEHpageP& page, TAEHboxP* parent, std::int32_t identifier);

  void Bind(document::TAEHoggetto* record);
  document::TAEHoggetto* Record() const { return m_record; }
  TAEHboxP* CellBox(int row, int column) const;

  // EmbeddedObject
  std::int32_t Identifier() const override { return m_identifier; }
  int Width() const override { return m_width; }
  int Height() const override { return m_height; }
  bool IsTable() const override { return m_rows > 0; }
  int Rows() const override { return m_rows; }
  int Columns() const override { return m_columns; }
  richtext::RichText* Cell(int row, int column) override;
  int RecordKind() const override;
  void SetAvailableWidth(int width) override;
  void Place(int x, int y) override;

  // The grid at a width (printer pixels): column widths, cells laid out,
  // rows as high as their highest cell.
  void LayoutTable(int width);
  void CollectTableSpans(std::vector<Span>& spans, int top);
  void Print(SheetView& view) override;

 private:
  void ApplyBackground(TAEHboxP& box, std::int32_t value);

  std::int32_t m_identifier;
  document::TAEHoggetto* m_record = nullptr;
  int m_rows = 0;
  int m_columns = 0;
  std::vector<std::unique_ptr<TAEHboxP>> m_cells;  // row by row
  int m_spacing = 0;
  int m_padding = 0;
  int m_border = 0;
};

// The printable made for a placed object's record, or nothing for kinds
// that print as a blank.
std::unique_ptr<TMyyPrintual> MakePrintual(TAEHpageP& page, document::TAEHoggetto* record, std::int32_t identifier);
// The same for tables, which are boxes.
bool IsPrintedTable(const document::TAEHoggetto* record);

// Draws a picture at its printed size: transparent pixels come out white,
// so that nothing is inked where the picture has holes.
void PrintPicture(platform::Canvas& canvas, const platform::Rect& r, const document::TAEHpicture& picture);

}  // namespace tarn::print
