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
namespace tarn::platform {
class TextMeasurer;
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

// The placed objects of a text, numbered from 1 as its object tags are, each
// made from its record: the one way the page view, its widget and the tools
// that read pages outside the editor make them. A number whose record is
// missing finds nothing, and the tag reads as a blank.
class PageObjects {
 public:
  PageObjects() = default;
  // The objects of a page in working form, from the container's records.
  PageObjects(const document::TAEHset& set, const WorkingForm& form);
  // Tables added from now on lay out and paint their cells with these (the
  // box's host and measurer); without them a table only carries its cells.
  void SetTableLayout(TextHost* host, platform::TextMeasurer* measurer) {
    m_tableHost = host;
    m_tableMeasurer = measurer;
  }
  // Adds the object with the next number; the record may be missing.
  void Add(const TAEHoggetto* record);
  EmbeddedObject* Find(std::int32_t identifier);
  std::size_t Size() const { return m_objects.size(); }

 private:
  std::vector<std::unique_ptr<RecordObject>> m_objects;
  TextHost* m_tableHost = nullptr;
  platform::TextMeasurer* m_tableMeasurer = nullptr;
};

}  // namespace tarn::richtext
