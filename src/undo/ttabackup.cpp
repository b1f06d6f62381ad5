// Undo of a table; see ttabackup.h.
#include "undo/ttabackup.h"

#include <algorithm>

#include "richtext/boxtext.h"

namespace tarn::undo {

TtaBackup::TtaBackup(TAEHundoList& list, std::string caption, UndoTable& table)
    : TAEHbackup(list, std::move(caption), &table) {
  const document::TAEHoggetto& record = table.TableRecord();
  m_record.assign(reinterpret_cast<const char*>(record.Record().data()), record.Record().size());
  // Blocks are replaced, never changed in place: keeping them is a copy.
  m_content = record.Content();
  m_extra = record.Extra();
}

TtaBackup* TtaBackup::Create(TAEHundoList& list, UndoTable& table, std::string caption) {
  return list.Add(std::unique_ptr<TtaBackup>(new TtaBackup(list, std::move(caption), table)));
}

UndoTable* TtaBackup::Table() const { return dynamic_cast<UndoTable*>(Resolve()); }

void TtaBackup::RowsAdded(int index, int count) {
  m_operation = kRowsAdded;
  m_index = index;
  m_count = count;
}

void TtaBackup::ColumnsAdded(int index, int count) {
  m_operation = kColumnsAdded;
  m_index = index;
  m_count = count;
}

void TtaBackup::RowsDeleted(int index, int count) { Deleted(kRowsDeleted, index, count); }

void TtaBackup::ColumnsDeleted(int index, int count) { Deleted(kColumnsDeleted, index, count); }

void TtaBackup::CellsChanged(int r1, int r2, int c1, int c2) {
  UndoTable* table = Table();
  m_blockCells.clear();
  m_blockR1 = -1;
  if (table == nullptr || r1 < 0 || c1 < 0 || r1 > r2 || c1 > c2 || r2 >= table->RowCount() ||
      c2 >= table->ColumnCount()) {
    return;
  }
  m_blockR1 = r1;
  m_blockR2 = r2;
  m_blockC1 = c1;
  m_blockC2 = c2;
  table->SaveCells(m_blockCells, r1, r2, c1, c2);
}

void TtaBackup::Deleted(Operation operation, int index, int count) {
  m_operation = operation;
  m_index = index;
  m_count = count;
  m_cells.clear();
  m_numbers.clear();
  UndoTable* table = Table();
  const bool rows = operation == kRowsDeleted;
  if (table == nullptr || count < 1 || index < 0 || index + count > (rows ? table->RowCount() : table->ColumnCount())) {
    return;
  }
  // The block of cells: the rows taken across every column, or the columns
  // down every row.
  const int firstRow = rows ? index : 0;
  const int lastRow = rows ? index + count - 1 : table->RowCount() - 1;
  const int firstColumn = rows ? 0 : index;
  const int lastColumn = rows ? table->ColumnCount() - 1 : index + count - 1;
  table->SaveCells(m_cells, firstRow, lastRow, firstColumn, lastColumn);
  m_numbers = table->CellNumbers(firstRow, lastRow, firstColumn, lastColumn);
}

bool TtaBackup::Fits(const UndoTable& table) const {
  const int rows = table.RowCount();
  const int columns = table.ColumnCount();
  switch (m_operation) {
    case kModified: return true;
    // What was added goes, but never the whole table.
    case kRowsAdded: return m_count >= 1 && m_index >= 0 && m_index + m_count <= rows && m_count < rows;
    case kColumnsAdded: return m_count >= 1 && m_index >= 0 && m_index + m_count <= columns && m_count < columns;
    case kRowsDeleted: return m_count >= 1 && m_index >= 0 && m_index <= rows;
    case kColumnsDeleted: return m_count >= 1 && m_index >= 0 && m_index <= columns;
  }
  return false;
}

UndoControl* TtaBackup::Apply() {
  UndoTable* table = Table();
  if (table == nullptr || !Fits(*table)) return nullptr;

  // The way back, made while the table is as the change left it.
  TtaBackup* back = Create(List(), *table, Caption());
  switch (m_operation) {
    case kModified: break;
    case kRowsAdded: back->RowsDeleted(m_index, m_count); break;
    case kColumnsAdded: back->ColumnsDeleted(m_index, m_count); break;
    case kRowsDeleted: back->RowsAdded(m_index, m_count); break;
    case kColumnsDeleted: back->ColumnsAdded(m_index, m_count); break;
  }
  const bool block = m_operation == kModified && m_blockR1 >= 0 && m_blockR2 < table->RowCount() &&
                     m_blockC2 < table->ColumnCount();
  if (block) back->CellsChanged(m_blockR1, m_blockR2, m_blockC1, m_blockC2);

  richtext::BoxText* holder = table->HoldingText();
  if (holder != nullptr) holder->BeginUpdate();
  switch (m_operation) {
    case kModified: break;
    case kRowsAdded: table->RemoveRows(m_index, m_count); break;
    case kColumnsAdded: table->RemoveColumns(m_index, m_count); break;
    case kRowsDeleted: table->InsertRows(m_index, m_count, m_numbers); break;
    case kColumnsDeleted: table->InsertColumns(m_index, m_count, m_numbers); break;
  }
  document::TAEHoggetto& record = table->TableRecord();
  std::copy(m_record.begin(), m_record.end(), reinterpret_cast<char*>(record.Record().data()));
  record.RestoreBlocks(m_content, m_extra);
  int focusRow = -2;
  int focusColumn = -2;
  if (m_operation == kRowsDeleted) {
    table->LoadCells(m_cells, m_index, m_index + m_count - 1, 0, table->ColumnCount() - 1);
    focusRow = m_index;
    focusColumn = 0;
  } else if (m_operation == kColumnsDeleted) {
    table->LoadCells(m_cells, 0, table->RowCount() - 1, m_index, m_index + m_count - 1);
    focusRow = 0;
    focusColumn = m_index;
  } else if (m_operation == kModified) {
    focusRow = focusColumn = -1;
    if (block) table->LoadCells(m_blockCells, m_blockR1, m_blockR2, m_blockC1, m_blockC2);
  }
  table->Restored(m_operation == kColumnsAdded || m_operation == kColumnsDeleted, focusRow, focusColumn);
  if (holder != nullptr) holder->EndUpdate();
  return table;
}

std::size_t TtaBackup::MemoryHeld() const {
  return TAEHbackup::MemoryHeld() - sizeof(TAEHbackup) + sizeof(*this) + m_record.capacity() + m_cells.capacity() +
         m_numbers.capacity() * sizeof(int) + m_blockCells.capacity();
}

}  // namespace tarn::undo
