// Rows of an export run.
#include "publish/exportedsiterows.h"

#include <charconv>

#include "convert/aehtohtml.h"
#include "document/aehset.h"

namespace tarn::publish {
namespace {

// A row without a readable stamp counts as newer than any release.
constexpr int kNoStamp = 0xF00000;

int StampOf(const std::string& version) {
  int value = 0;
  const auto [ptr, ec] = std::from_chars(version.data(), version.data() + version.size(), value);
  if (version.empty() || ec != std::errc() || ptr != version.data() + version.size()) return kNoStamp;
  return value;
}

}  // namespace

ExportedSiteRows::ExportedSiteRows(const convert::TAEHtoHtml& converter, const convert::RecordList& files,
                                   const std::vector<int>& pages)
    : m_converter(converter) {
  const document::TAEHset* set = converter.LinkedAEHset();
  m_rows.push_back({RowKind::StyleSheet, -1, true, {}});
  if (set == nullptr) return;
  std::vector<int> list = pages;
  if (list.empty()) {
    for (int i = 0; i < set->CountOf(document::testoHtml); ++i) list.push_back(i);
  }
  for (const int i : list) {
    document::TAEHoggetto* page = const_cast<document::TAEHset*>(set)->GetObject(document::testoHtml, i);
    if (page == nullptr || page->IsFree()) continue;
    m_rows.push_back({RowKind::Page, page->GetId(), true, std::to_string(page->GetRevision())});
  }
  for (const auto& [kind, rowKind] : {std::pair{document::immagine, RowKind::Image},
                                     std::pair{document::genLink, RowKind::File}}) {
    for (int i = 0; i < set->CountOf(kind); ++i) {
      document::TAEHoggetto* record = const_cast<document::TAEHset*>(set)->GetObject(kind, i);
      if (record == nullptr || record->IsFree() || !files.Contains(record)) continue;
      m_rows.push_back({rowKind, record->GetId(), true, std::to_string(record->GetRevision())});
    }
  }
}

document::TAEHoggetto* ExportedSiteRows::Record(int row) const {
  document::TAEHset* set = m_converter.LinkedAEHset();
  if (!Valid(row) || set == nullptr || m_rows[Index(row)].id == -1) return nullptr;
  const document::ObjectId id = m_rows[Index(row)].id;
  document::TAEHoggetto* record = set->GetObject(document::KindOf(id), document::IndexOf(id));
  return record != nullptr && !record->IsFree() ? record : nullptr;
}

std::pair<std::filesystem::path, std::filesystem::path> ExportedSiteRows::RowFiles(int row) const {
  if (!Valid(row)) return {};
  const Row& r = m_rows[Index(row)];
  const std::filesystem::path& folder = m_converter.ExportPath;
  const document::TAEHoggetto* record = Record(row);
  if (r.id == -1) return {folder / m_converter.StyleSheetName(), {}};
  if (record == nullptr) return {};
  const std::string main = m_converter.OutputFileName(*record, 0);
  std::string frameless;
  if (r.kind == RowKind::Page) {
    const std::string name = m_converter.OutputFileName(*record, 1);
    std::error_code error;
    if (name != main && std::filesystem::exists(folder / name, error)) frameless = name;
  }
  return {folder / main, frameless.empty() ? std::filesystem::path() : folder / frameless};
}

void ExportedSiteRows::CheckNewerThan(int revision) {
  for (Row& r : m_rows) r.checked = StampOf(r.version) > revision;
}

void ExportedSiteRows::SetRowVersion(int row, int revision) {
  if (document::TAEHoggetto* record = Record(row)) record->SetRevision(revision);
}

bool ExportedSiteRows::BumpRowVersion(int row, int revision) {
  document::TAEHoggetto* record = Record(row);
  if (record == nullptr || record->Kind() != document::testoHtml || record->GetRevision() < revision) return false;
  record->SetRevision(record->GetRevision() + 1);
  return true;
}

void ExportedSiteRows::RefreshVersions() {
  for (int row = 0; row < RowCount(); ++row) {
    if (const document::TAEHoggetto* record = Record(row)) m_rows[Index(row)].version = std::to_string(record->GetRevision());
  }
}

void ExportedSiteRows::CheckAll(bool checked) {
  for (Row& r : m_rows) r.checked = checked;
}

}  // namespace tarn::publish
