// What a publication sends: the rows of the export file list as the
// publisher needs them (ExportListRows gives them), so that the publisher
// can be driven by a scripted list in tests.
#pragma once

#include <filesystem>
#include <string>
#include <utility>

namespace tarn::document {
class TAEHoggetto;
}

namespace tarn::publish {

class PublishRows {
 public:
  enum class RowKind { StyleSheet, Page, Image, File };
  virtual ~PublishRows() = default;
  virtual int RowCount() const = 0;
  virtual RowKind Kind(int row) const = 0;
  // The row's record; none for the style sheet.
  virtual document::TAEHoggetto* Record(int row) const = 0;
  virtual bool Checked(int row) const = 0;
  virtual void SetChecked(int row, bool checked) = 0;
  // Full paths of the main file and the frameless file (empty when none).
  virtual std::pair<std::filesystem::path, std::filesystem::path> RowFiles(int row) const = 0;
  // Checks the rows whose revision stamp is newer than revision (a row
  // without a stamp always), unchecks the others.
  virtual void CheckNewerThan(int revision) = 0;
  virtual void SetRowVersion(int row, int revision) = 0;
  virtual bool BumpRowVersion(int row, int revision) = 0;
  virtual void RefreshVersions() = 0;
};

}  // namespace tarn::publish
