// The export file list as the publisher sees it: the rows, checks, files
// and revision stamps of a TAEHListHtmlToTx, whether the list is on screen
// in the publishing dialog or built without a window (the command line).
#pragma once

#include "publish/publishrows.h"

namespace tarn::convert {
class TAEHListHtmlToTx;
}

namespace tarn::publish {

class ExportListRows : public PublishRows {
 public:
  explicit ExportListRows(convert::TAEHListHtmlToTx& list) : m_list(list) {}

  int RowCount() const override;
  // By the row's record; the row without one is the style sheet.
  RowKind Kind(int row) const override;
  document::TAEHoggetto* Record(int row) const override;
  bool Checked(int row) const override;
  void SetChecked(int row, bool checked) override;
  std::pair<std::filesystem::path, std::filesystem::path> RowFiles(int row) const override;
  void CheckNewerThan(int revision) override;
  void SetRowVersion(int row, int revision) override;
  bool BumpRowVersion(int row, int revision) override;
  void RefreshVersions() override;

 private:
  bool Valid(int row) const { return row >= 0 && row < RowCount(); }

  convert::TAEHListHtmlToTx& m_list;
};

}  // namespace tarn::publish
