// The rows of an export run (style sheet, pages, then the images and
// attached files the pages used) without a list control.
#pragma once

#include <vector>

#include "document/objectkinds.h"
#include "publish/publishrows.h"

namespace tarn::convert {
class TAEHtoHtml;
class RecordList;
}  // namespace tarn::convert

namespace tarn::publish {

// FIXME: the export file list control will implement PublishRows itself;
// this stays for the command line and the tests.
class ExportedSiteRows : public PublishRows {
 public:
  // The live pages of the converter's hypertext (or `pages` when given),
  // then the images and files of `files`, in record order.
  ExportedSiteRows(const convert::TAEHtoHtml& converter, const convert::RecordList& files,
                   const std::vector<int>& pages = {});

  int RowCount() const override { return static_cast<int>(m_rows.size()); }
  RowKind Kind(int row) const override { return m_rows[Index(row)].kind; }
  // Looked up again each time: saving the hypertext reopens it, and the
  // records of before are gone.
  document::TAEHoggetto* Record(int row) const override;
  bool Checked(int row) const override { return m_rows[Index(row)].checked; }
  void SetChecked(int row, bool checked) override { m_rows[Index(row)].checked = checked; }
  std::pair<std::filesystem::path, std::filesystem::path> RowFiles(int row) const override;
  void CheckNewerThan(int revision) override;
  void SetRowVersion(int row, int revision) override;
  bool BumpRowVersion(int row, int revision) override;
  void RefreshVersions() override;
  void CheckAll(bool checked);

 private:
  struct Row {
    RowKind kind;
    // -1 for the style sheet.
    document::ObjectId id = -1;
    bool checked = false;
    // Empty when the record has none (the style sheet).
    std::string version;
  };
  std::size_t Index(int row) const { return static_cast<std::size_t>(row); }
  bool Valid(int row) const { return row >= 0 && row < RowCount(); }

  const convert::TAEHtoHtml& m_converter;
  std::vector<Row> m_rows;
};

}  // namespace tarn::publish
