// The export file list behind the publisher; see exportlistrows.h.
#include "publish/exportlistrows.h"

#include "convert/aehtohtml.h"
#include "convert/listhtmltotx.h"
#include "document/aehset.h"

namespace tarn::publish {

int ExportListRows::RowCount() const { return static_cast<int>(m_list.Count()); }

PublishRows::RowKind ExportListRows::Kind(int row) const {
  if (!Valid(row)) return RowKind::StyleSheet;
  const document::ObjectId id = m_list.Rows()[static_cast<std::size_t>(row)].id;
  if (id == convert::kStyleSheetRow) return RowKind::StyleSheet;
  switch (document::KindOf(id)) {
    case document::immagine: return RowKind::Image;
    case document::genLink: return RowKind::File;
    default: return RowKind::Page;
  }
}

document::TAEHoggetto* ExportListRows::Record(int row) const {
  const convert::TAEHtoHtml* converter = m_list.LinkedAEHtoHtml();
  if (!Valid(row) || converter == nullptr || converter->LinkedAEHset() == nullptr) return nullptr;
  const document::ObjectId id = m_list.Rows()[static_cast<std::size_t>(row)].id;
  if (id == convert::kStyleSheetRow) return nullptr;
  // By identity each time: saving the hypertext reloads its records.
  document::TAEHoggetto* record = converter->LinkedAEHset()->GetObjectById(id);
  return record != nullptr && !record->IsFree() ? record : nullptr;
}

bool ExportListRows::Checked(int row) const {
  return Valid(row) && m_list.Rows()[static_cast<std::size_t>(row)].checked;
}

void ExportListRows::SetChecked(int row, bool checked) {
  if (Valid(row)) m_list.SetChecked(static_cast<std::size_t>(row), checked);
}

std::pair<std::filesystem::path, std::filesystem::path> ExportListRows::RowFiles(int row) const {
  if (!Valid(row)) return {};
  convert::RowFileNames names = m_list.RowFiles(static_cast<std::size_t>(row));
  return {std::move(names.main), std::move(names.frameless)};
}

void ExportListRows::CheckNewerThan(int revision) { m_list.CheckNewerThan(revision); }

void ExportListRows::SetRowVersion(int row, int revision) {
  if (Valid(row)) m_list.SetRowVersion(static_cast<std::size_t>(row), revision);
}

bool ExportListRows::BumpRowVersion(int row, int revision) {
  return Valid(row) && m_list.BumpRowVersion(static_cast<std::size_t>(row), revision);
}

void ExportListRows::RefreshVersions() { m_list.RefreshVersions(); }

}  // namespace tarn::publish
