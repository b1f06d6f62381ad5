// Undo of a table: its record (geometry and colours), its content (cell
// backgrounds) and extra data, and for a change of structure which rows or
// columns came or went, with the cells that went.
//
// A table implements UndoTable and is numbered in its page view, as are its
// cell boxes (each cell box is a text box with its own TextBoxControl, so
// typing in a cell records as in any box). A command records a step
// immediately before it changes the table:
//
//   auto* step = undo::TtaBackup::Create(list, table, "Modify table");   // BeginTableEdit
//   undo::TtaBackup::Create(list, table, "Cells resize");                // also "Table resize"
//   undo::TtaBackup::Create(list, table, "Add rows")->RowsAdded(at, n);  // before inserting
//   undo::TtaBackup::Create(list, table, "Add cols")->ColumnsAdded(at, n);
//   undo::TtaBackup::Create(list, table, "Delete rows")->RowsDeleted(first, n);  // before deleting
//   undo::TtaBackup::Create(list, table, "Delete cols")->ColumnsDeleted(first, n);
//
// The two deletions save the cells (SaveCells) and their numbers first, so
// they must be called while the cells still exist.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "document/aehoggetto.h"
#include "undo/aehundolist.h"

namespace tarn::richtext {
class BoxText;
}

namespace tarn::undo {

class UndoTable : public UndoControl {
 public:
  // The table's record, with the cell backgrounds as content.
  virtual document::TAEHoggetto& TableRecord() = 0;
  // The box whose text holds the table: its update bracket surrounds the
  // restoration. Nothing when none.
  virtual richtext::BoxText* HoldingText() { return nullptr; }
  virtual int RowCount() const = 0;
  virtual int ColumnCount() const = 0;
  // Removes rows (columns) first..first + count - 1 with their cell boxes,
  // recording no step, leaving the record alone and laying nothing out:
  // the step restores the record and lays out itself.
  virtual void RemoveRows(int first, int count) = 0;
  virtual void RemoveColumns(int first, int count) = 0;
  // Makes count empty rows (columns) at `at` again: new cell boxes, with
  // the table's record and popup menu, registered in the page view under
  // the given numbers (row by row over the new cells; -1 takes a new
  // number). Records no step and lays nothing out.
  virtual void InsertRows(int at, int count, const std::vector<int>& numbers) = 0;
  virtual void InsertColumns(int at, int count, const std::vector<int>& numbers) = 0;
  // The numbers of the cell boxes of rows r1..r2 and columns c1..c2 in the
  // page view's object index, row by row.
  virtual std::vector<int> CellNumbers(int r1, int r2, int c1, int c2) const = 0;
  // The cell stream of the table (the 32-bit value 4, each cell's text,
  // the value 0) for rows r1..r2, columns c1..c2, and reading it back; a
  // stream that does not start with 4 is not read.
  virtual void SaveCells(std::string& out, int r1, int r2, int c1, int c2) = 0;
  virtual void LoadCells(std::string_view in, int r1, int r2, int c1, int c2) = 0;
  // The record, content and extra data are back: recompute the columns when
  // they changed, lay the table out (recomputing a fixed width that
  // changed), relayout the text around it and redraw; the cell at (row,
  // column) takes the focus (-1: the current cell keeps it; -2: no cell).
  virtual void Restored(bool columnsChanged, int focusRow, int focusColumn) = 0;
};

class TtaBackup : public TAEHbackup {
 public:
  enum Operation : int { kModified = 0, kRowsAdded = 1, kColumnsAdded = 2, kRowsDeleted = 3, kColumnsDeleted = 4 };

  // Saves the record, content and extra data (operation kModified) and
  // pushes the step.
  static TtaBackup* Create(TAEHundoList& list, UndoTable& table, std::string caption);

  // The change of structure the step undoes. The deletions save the cells
  // of those rows or columns, and their numbers, now.
  void RowsAdded(int index, int count);
  void ColumnsAdded(int index, int count);
  void RowsDeleted(int index, int count);
  void ColumnsDeleted(int index, int count);
  // The step also keeps the texts of a block of cells (rows r1..r2,
  // columns c1..c2) that the change empties or replaces, and puts them back.
  void CellsChanged(int r1, int r2, int c1, int c2);
  Operation GetOperation() const { return m_operation; }

  UndoControl* Apply() override;
  std::size_t MemoryHeld() const override;

 private:
  TtaBackup(TAEHundoList& list, std::string caption, UndoTable& table);
  UndoTable* Table() const;
  // Whether the change of structure fits the table as it is now.
  bool Fits(const UndoTable& table) const;
  // Notes a deletion of rows or columns and saves the cells it takes away.
  void Deleted(Operation operation, int index, int count);

  std::string m_record;
  document::DataBlock m_content;
  document::DataBlock m_extra;
  Operation m_operation = kModified;
  int m_index = 0;
  int m_count = 0;
  std::string m_cells;
  std::vector<int> m_numbers;
  // The block of cells whose texts the step keeps (r1 -1: none).
  int m_blockR1 = -1, m_blockR2 = -1, m_blockC1 = -1, m_blockC2 = -1;
  std::string m_blockCells;
};

}  // namespace tarn::undo
