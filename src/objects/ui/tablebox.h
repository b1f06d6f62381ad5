// The table on screen: a text box whose children are one text box per
// cell, laid out in the table's grid from the table's record. The cells are
// edited like any text; the table answers the structural commands (rows
// and columns added and deleted, the record changed by the properties
// dialog), each one undoable, and hands the caret between its cells and
// the text that holds it.
#pragma once

#include <QPointer>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "richtext/tablelayout.h"
#include "richtext/tablerecord.h"
#include "richtext/ui/aehbox.h"
#include "undo/ttabackup.h"

namespace tarn::document {
class TAEHset;
}
namespace tarn::page {
struct WorkingCopy;
}

namespace tarn::objects::ui {

class TMyyTable;
class TTableHeader;

// Undo captions of the table commands.
inline constexpr std::string_view kCaptionModifyTable = "Modify table";
inline constexpr std::string_view kCaptionAddRows = "Add rows";
inline constexpr std::string_view kCaptionAddColumns = "Add cols";
inline constexpr std::string_view kCaptionDeleteRows = "Delete rows";
inline constexpr std::string_view kCaptionDeleteColumns = "Delete cols";
inline constexpr std::string_view kCaptionCellsResize = "Cells resize";
inline constexpr std::string_view kCaptionTableResize = "Table resize";
inline constexpr std::string_view kCaptionClearCells = "Selection deletion";
inline constexpr std::string_view kTooManyColumns = "Il numero massimo di colonne è limitato.";
inline constexpr std::string_view kTooManyRows = "Il numero massimo di righe è limitato.";

// One cell: a text box with the table's padding, its own background, a
// frame of the table's border width, and Tab moving to the next cell.
class TCellBox : public richtext::ui::TAEHbox {
  Q_OBJECT

 public:
  TCellBox(richtext::TextHost& host, TMyyTable& table);
  TMyyTable& Table() const { return m_table; }
  // The background value of the cell (colour, image, transparent).
  std::int32_t BackgroundValue() const { return m_value; }
  void SetBackgroundValue(std::int32_t value);
  // Puts the caret at the text's start or end and takes the focus.
  void Enter(bool atEnd);
  // A cell is selected as a text box (the frame set hears of it) but shows
  // no handles: the table around it has them.
  void SetSelected(bool value) override;

  // Layout state (the grid's).
  int wanted = -1;
  int naturalWidth = 0;
  int naturalHeight = 0;

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool event(QEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  // A cell is as wide as its column, not as the page.
  void showEvent(QShowEvent* event) override;
  // A press at the cell's right edge drags its column's border: the table
  // is told of the press, the moves and the release.
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void ForwardToTable(QMouseEvent* event);
  // Shift+arrow, Delete and the other keys while several cells are
  // selected, or Shift+arrow leaving the cell; true when handled.
  bool CellSelectionKey(QKeyEvent* key);
  TMyyTable& m_table;
  bool m_forwarding = false;
  std::int32_t m_value = richtext::kTransparent;
};

class TMyyTable : public richtext::ui::TAEHbox, public richtext::EmbeddedObject, public undo::UndoTable {
  Q_OBJECT

 public:
  // The record belongs to the page's working copy; identifier is the
  // table's number in the page's object index.
  TMyyTable(richtext::TextHost& host, document::TAEHset& set, document::TAEHoggetto& record,
            std::int32_t identifier, QWidget* parent = nullptr);
  ~TMyyTable() override;

  int RowCount() const override { return static_cast<int>(m_cells.size()); }
  int ColumnCount() const override { return m_cells.empty() ? 0 : static_cast<int>(m_cells.front().size()); }
  TCellBox* CellAt(int row, int column) const;
  // The position of a cell box of this table; false for any other box.
  bool FindCell(const QWidget* box, richtext::CellPos& at) const;
  richtext::CellPos NeighbourCell(richtext::CellPos from, int direction) const {
    return richtext::NeighbourCell(RowCount(), ColumnCount(), from, direction);
  }
  // The box whose text holds the table, and where in it the table's
  // character stands (false when the text no longer places it).
  richtext::ui::TAEHbox* Holder() const;
  bool PlaceInHolder(richtext::CharPos& at) const;

  // Layout.
  void LayoutTable(int width, bool updateHeader = true);
  int LayoutWidth() const { return m_layoutWidth; }
  // The holding text lays the table's paragraph out again.
  void RelayoutInText();
  // Reads padding, border and backgrounds from the record again.
  void ApplyBackgrounds();
  // Rewrites the cell backgrounds into the record's content data.
  void StoreBackgrounds();

  // The structural commands (each records its undo step; the deletions
  // run once control is back in the event loop).
  void InsertRows(int position, int count);
  void InsertColumns(int position, int count);
  bool DeleteRows(int first, int last);
  bool DeleteColumns(int first, int last);
  // Resizes column by dx pixels, as dragging its right border does.
  bool ResizeColumn(int column, int dx);
  // Records "Modify table" before the properties dialog changes the record;
  // the caller then runs RecordChanged.
  void BeginTableEdit();
  void RecordChanged();
  // The caret leaves a cell in a direction (1..4) or by Tab.
  void LeaveCell(TCellBox& cell, richtext::Boundary status);
  void TabFrom(TCellBox& cell, bool backward);
  // Makes the table's cells known to the page's undo numbering, once the
  // page view numbered its controls.
  void EnsureRegistered();
  // The first cell takes the caret (a click on the table itself).
  void EnterFirstCell();
  // The caret comes from the holding text: the cell a move in the direction
  // reaches first (5 left: the last cell, 6 right: the first, 7 up: the
  // first of the last row, 8 down: the first), at its end for 5 and 7.
  void EnterFromOutside(int direction);
  void FocusCell(int row, int column, bool atEnd);
  void SetReadOnly(bool value) override;
  // A table of a shared header or footer page: always read only here.
  bool SharedSection() const { return m_shared; }
  void SetSharedSection(bool value) {
    m_shared = value;
    if (value) SetReadOnly(true);
  }
  // Selected while the caret is in one of its cells: the column header
  // shows above it and the handles around it.
  void SetSelected(bool value) override;
  void SetBounds(int left, int top, int width, int height) override;
  // The handles resize the whole table ("Table resize").
  void BeginResize() override;
  void EndResize() override;
  // The column header (shown while the table is selected).
  TTableHeader* Header() const { return m_header; }
  // The header's sections follow the columns.
  void UpdateHeader();

  document::TAEHoggetto& Record() { return m_record; }
  document::TAEHset& Set() { return m_set; }

  // ---- richtext::EmbeddedObject ----
  std::int32_t Identifier() const override { return m_identifier; }
  int Width() const override { return m_tableWidth; }
  int Height() const override { return m_tableHeight; }
  bool IsTable() const override { return RowCount() > 0; }
  int Rows() const override { return RowCount(); }
  int Columns() const override { return ColumnCount(); }
  richtext::RichText* Cell(int row, int column) override;
  int RecordKind() const override { return document::tabellaHtml; }
  int VerticalAlignment() const override { return 0; }
  void SetAvailableWidth(int width) override;
  void Place(int x, int y) override;

  // ---- undo::UndoTable ----
  document::TAEHoggetto& TableRecord() override { return m_record; }
  richtext::BoxText* HoldingText() override;
  void RemoveRows(int first, int count) override;
  void RemoveColumns(int first, int count) override;
  void InsertRows(int at, int count, const std::vector<int>& numbers) override;
  void InsertColumns(int at, int count, const std::vector<int>& numbers) override;
  std::vector<int> CellNumbers(int r1, int r2, int c1, int c2) const override;
  void SaveCells(std::string& out, int r1, int r2, int c1, int c2) override;
  void LoadCells(std::string_view in, int r1, int r2, int c1, int c2) override;
  void Restored(bool columnsChanged, int focusRow, int focusColumn) override;
  bool UndoFocus() override;

  // Told after every change the table made to itself.
  std::function<void()> onChanged;
  // Gives each cell, made now or later, what the page's own box has: the
  // clipboard and the records that travel with copied text.
  void SetCellPreparation(std::function<void(richtext::ui::TAEHbox&)> prepare);

  // ---- Several cells selected (a rectangle from anchor to active cell) ----
  struct CellRange {
    int r1 = -1, c1 = -1, r2 = -1, c2 = -1;
    bool Contains(richtext::CellPos at) const { return at.row >= r1 && at.row <= r2 && at.column >= c1 && at.column <= c2; }
  };
  bool HasCellSelection() const { return m_cellAnchor.row >= 0; }
  // Selects the rectangle of cells between the two corners (both kept
  // inside the table); the same cell twice selects nothing.
  void SelectCells(richtext::CellPos anchor, richtext::CellPos active);
  void ClearCellSelection();
  // The selected rectangle; without a selection r1 is -1.
  CellRange SelectedCells() const;
  richtext::CellPos CellSelectionAnchor() const { return m_cellAnchor; }
  bool CellSelected(const TCellBox* cell) const;
  // Moves the active corner one cell in a direction (1 left, 2 right, 3
  // up, 4 down), starting from the cell with the caret.
  void ExtendCellSelection(TCellBox& from, int direction);
  // Empties the text of every selected cell, as one undo step.
  void ClearSelectedCells();
  // The cell under a point of the table; false between the cells.
  bool CellAtPoint(QPoint point, richtext::CellPos& at) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  // The table is as wide as its grid, not as the page.
  void showEvent(QShowEvent* event) override;
  // Its cells report to the frame set; the table's own selection does not.
  bool ReportsSelection() const override { return false; }

 private:
  TCellBox* MakeCell(int number);
  void RemoveCellsNow(bool rows, int first, int last);
  void CellExtentChanged(TCellBox& cell);
  undo::TAEHundoList* History();
  int ColumnBorderAt(int x) const;

  document::TAEHset& m_set;
  document::TAEHoggetto& m_record;
  std::int32_t m_identifier;
  std::vector<std::vector<TCellBox*>> m_cells;
  richtext::TableGrid m_grid;
  int m_layoutWidth = 0;
  int m_notifiedWidth = -1;
  int m_tableWidth = 0;
  int m_tableHeight = 0;
  bool m_inLayout = false;
  bool m_inWidthChange = false;
  // Dragging a column border.
  int m_dragColumn = -1;
  int m_dragStartX = 0;
  int m_dragLineX = -100;
  QPointer<TTableHeader> m_header;
  bool m_shared = false;
  std::function<void(richtext::ui::TAEHbox&)> m_prepareCell;
  // A resize with the handles: the widget that had the caret, and where
  // the table's character stands in its holder.
  QPointer<QWidget> m_resizeActive;
  // The cell that last had the caret (a handle takes the focus when pressed).
  QPointer<TCellBox> m_lastCell;
  friend class TCellBox;
  richtext::CharPos m_resizePlace{-1, -1};
  friend class TTableHeader;
  void PlaceHeader();
  // The cell selection (row -1: none).
  richtext::CellPos m_cellAnchor{-1, -1};
  richtext::CellPos m_cellActive{-1, -1};
};

// The column header of a selected table: one section per column, showing
// its percentage, its pixel width or "*" for a free column; dragging the
// right edge of a section resizes that column.
class TTableHeader : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kHeight = 12;
  TTableHeader(TMyyTable& table, QWidget* parent);
  // Section s spans [edges[s], edges[s + 1]) in header coordinates.
  struct Section {
    int left = 0;
    int width = 0;
    QString text;
  };
  const std::vector<Section>& Sections() const { return m_sections; }
  void SetSections(std::vector<Section> sections);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  int SectionEdgeAt(int x) const;
  TMyyTable& m_table;
  std::vector<Section> m_sections;
  int m_dragSection = -1;
  int m_dragStart = 0;
  int m_dragX = -100;
};

// The screen tables of one page box, made on demand when the box's text
// names a table record of the page's working copy.
class TableWidgets {
 public:
  // A shared header or footer page's tables are shown read only.
  TableWidgets(document::TAEHset& set, page::WorkingCopy& copy, richtext::TextHost& host, bool shared = false)
      : m_set(set), m_copy(copy), m_host(host), m_shared(shared) {}
  // The table with this number, made the first time it is asked for;
  // nothing when the number names no valid table record.
  richtext::EmbeddedObject* Find(std::int32_t identifier);
  // Where new tables are parked until their holder places them.
  QWidget* parking = nullptr;
  std::function<void(TMyyTable&)> onCreated;
  // What every cell of the page's tables is given (see SetCellPreparation).
  std::function<void(richtext::ui::TAEHbox&)> prepareCell;

 private:
  document::TAEHset& m_set;
  page::WorkingCopy& m_copy;
  richtext::TextHost& m_host;
  bool m_shared = false;
  std::map<std::int32_t, QPointer<TMyyTable>> m_tables;
};

// The table and cell the caret is in: the box's table when it is a cell
// box (its own position in `at`), else nothing.
TMyyTable* TableOfBox(QWidget* box, richtext::CellPos* at = nullptr);

}  // namespace tarn::objects::ui
