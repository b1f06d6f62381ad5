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
  m_rows.push_back({RowKind::StyleSheet, nullptr, true, {}});
  if (set == nullptr) return;
  std::vector<int> list = pages;
  if (list.empty()) {
    for (int i = 0; i < set->CountOf(document::testoHtml); ++i) list.push_back(i);
  }
  for (const int i : list) {
    document::TAEHoggetto* page = const_cast<document::TAEHset*>(set)->GetObject(document::testoHtml, i);
    if (page == nullptr || page->IsFree()) continue;
    m_rows.push_back({RowKind::Page, page, true, std::to_string(page->GetRevision())});
  }
  for (const auto& [kind, rowKind] : {std::pair{document::immagine, RowKind::Image},
                                     std::pair{document::genLink, RowKind::File}}) {
    for (int i = 0; i < set->CountOf(kind); ++i) {
      document::TAEHoggetto* record = const_cast<document::TAEHset*>(set)->GetObject(kind, i);
      if (record == nullptr || record->IsFree() || !files.Contains(record)) continue;
      m_rows.push_back({rowKind, record, true, std::to_string(record->GetRevision())});
    }
  }
}

std::pair<std::filesystem::path, std::filesystem::path> ExportedSiteRows::RowFiles(int row) const {
  if (!Valid(row)) return {};
  const Row& r = m_rows[Index(row)];
  const std::filesystem::path& folder = m_converter.ExportPath;
  if (r.record == nullptr) return {folder / m_converter.StyleSheetName(), {}};
  const std::string main = m_converter.OutputFileName(*r.record, 0);
  std::string frameless;
  if (r.kind == RowKind::Page) {
    const std::string name = m_converter.OutputFileName(*r.record, 1);
    std::error_code error;
    if (name != main && std::filesystem::exists(folder / name, error)) frameless = name;
  }
  return {folder / main, frameless.empty() ? std::filesystem::path() : folder / frameless};
}

void ExportedSiteRows::CheckNewerThan(int revision) {
  for (Row& r : m_rows) r.checked = StampOf(r.version) > revision;
}

void ExportedSiteRows::SetRowVersion(int row, int revision) {
  if (!Valid(row) || m_rows[Index(row)].record == nullptr) return;
  m_rows[Index(row)].record->SetRevision(revision);
}

bool ExportedSiteRows::BumpRowVersion(int row, int revision) {
  if (!Valid(row)) return false;
  document::TAEHoggetto* record = m_rows[Index(row)].record;
  if (record == nullptr || record->Kind() != document::testoHtml || record->GetRevision() < revision) return false;
  record->SetRevision(record->GetRevision() + 1);
  return true;
}

void ExportedSiteRows::RefreshVersions() {
  for (Row& r : m_rows) {
    if (r.record != nullptr) r.version = std::to_string(r.record->GetRevision());
  }
}

void ExportedSiteRows::CheckAll(bool checked) {
  for (Row& r : m_rows) r.checked = checked;
}

}  // namespace tarn::publish
