// The objects a page's markup places, made from their records: enough for
// reading a page's text outside the editor (export, inspection), where no
// screen objects exist. Tables keep the rich text of their cells.
#pragma once

#include <memory>
#include <vector>

#include "richtext/localform.h"
#include "richtext/markup.h"

namespace tarn::document {
class TAEHset;
}

namespace tarn::richtext {

class RecordObject : public EmbeddedObject {
 public:
  RecordObject(std::int32_t identifier, const TAEHoggetto* record);
  std::int32_t Identifier() const override { return m_identifier; }
  int Width() const override { return m_width; }
  int Height() const override { return m_height; }
  bool IsTable() const override { return m_rows > 0; }
  int Rows() const override { return m_rows; }
  int Columns() const override { return m_columns; }
  RichText* Cell(int row, int column) override;
  const TAEHoggetto* Record() const { return m_record; }

 private:
  std::int32_t m_identifier;
  const TAEHoggetto* m_record;
  int m_width = 0;
  int m_height = 0;
  int m_rows = 0;
  int m_columns = 0;
  std::vector<RichText> m_cells;
};

// The objects of a page in working form, numbered as its object tags are.
class PageObjects {
 public:
  PageObjects(const document::TAEHset& set, const WorkingForm& form);
  EmbeddedObject* Find(std::int32_t identifier);

 private:
  std::vector<std::unique_ptr<RecordObject>> m_objects;
};

}  // namespace tarn::richtext
