// Placed objects made from records; see pageobjects.h.
#include "richtext/pageobjects.h"

#include "document/aehset.h"
#include "document/recordfields.h"
#include "richtext/tableobject.h"

namespace tarn::richtext {
using namespace document::field;

RecordObject::RecordObject(std::int32_t identifier, const TAEHoggetto* record)
    : m_identifier(identifier), m_record(record) {
  if (record == nullptr) return;
  if (record->Kind() == document::immagineNew) {
    m_width = record->I16(document::field::kPlacedWidth);
    m_height = record->I16(document::field::kPlacedHeight);
  } else if (record->Kind() == document::tabellaHtml) {
    const int rows = record->U8(kTableRows);
    const int columns = record->U8(kTableColumns);
    if (rows >= 1 && rows <= kMaxTableRows && columns >= 1 && columns <= kMaxTableColumns) {
      m_rows = rows;
      m_columns = columns;
      m_cells.resize(static_cast<std::size_t>(rows * columns));
    }
  }
}

RichText* RecordObject::Cell(int row, int column) {
  if (row < 0 || row >= m_rows || column < 0 || column >= m_columns) return nullptr;
  return &m_cells[static_cast<std::size_t>(row * m_columns + column)];
}

PageObjects::PageObjects(const document::TAEHset& set, const WorkingForm& form) {
  for (const document::ObjectId id : form.objects) Add(set.GetObjectById(id));
}

void PageObjects::Add(const TAEHoggetto* record) {
  const auto number = static_cast<std::int32_t>(m_objects.size() + 1);
  if (record != nullptr && m_tableHost != nullptr && m_tableMeasurer != nullptr && ReadTableShape(*record)) {
    m_objects.push_back(std::make_unique<TableObject>(number, record, *m_tableHost, *m_tableMeasurer));
    return;
  }
  m_objects.push_back(std::make_unique<RecordObject>(number, record));
}

EmbeddedObject* PageObjects::Find(std::int32_t identifier) {
  if (identifier < 1 || static_cast<std::size_t>(identifier) > m_objects.size()) return nullptr;
  RecordObject* object = m_objects[static_cast<std::size_t>(identifier - 1)].get();
  return object->Record() != nullptr ? object : nullptr;
}

}  // namespace tarn::richtext
