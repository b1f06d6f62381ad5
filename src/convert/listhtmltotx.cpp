// The export file list; see listhtmltotx.h.
#include "convert/listhtmltotx.h"

#include <algorithm>
#include <charconv>
#include <system_error>

#include "convert/aehtohtml.h"
#include "document/aehset.h"

namespace tarn::convert {
namespace {

namespace fs = std::filesystem;
using document::TAEHoggetto;

constexpr const char* kStyleSheetCaption = "Text styles";
// A Version that is empty or no number sorts and compares as this.
constexpr std::int64_t kUnknownVersion = 0xF00000;

// Numeric columns: an empty or unreadable text counts as 0.
std::int64_t Number(const std::string& text, std::int64_t fallback = 0) {
  std::int64_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return fallback;
  return value;
}

std::string ExtensionOf(const std::string& name) {
  const std::string extension = fs::path(name).extension().string();
  return extension.empty() ? std::string(".") : extension;
}

}  // namespace

const std::vector<std::string>& TAEHListHtmlToTx::ColumnCaptions() {
  static const std::vector<std::string> captions = {"Title", "Size", "Type", "File", "Size", "File for frame",
                                                    "Version"};
  return captions;
}

void TAEHListHtmlToTx::SetLinkedAEHtoHtml(TAEHtoHtml* converter) {
  m_converter = converter;
  m_set = nullptr;
}

void TAEHListHtmlToTx::Unlink() {
  m_converter = nullptr;
  m_set = nullptr;
  m_rows.clear();
}

void TAEHListHtmlToTx::SetFileSortType(TFileSortType type) {
  if (type == m_sortType) return;
  m_sortType = type;
  Sort(type);
}

std::string TAEHListHtmlToTx::SizeOf(const std::string& name) const {
  if (name.empty() || m_converter == nullptr) return {};
  std::error_code ec;
  const fs::path path = m_converter->ExportPath / name;
  if (!fs::is_regular_file(path, ec)) return {};
  const auto size = fs::file_size(path, ec);
  return ec ? std::string() : std::to_string(size);
}

void TAEHListHtmlToTx::ListAllFiles() {
  if (m_set == nullptr && m_converter != nullptr) m_set = m_converter->LinkedAEHset();
  m_filesToList.Clear();
  if (m_set == nullptr) return;
  for (const auto kind : {document::immagine, document::genLink}) {
    for (int i = 0; i < m_set->CountOf(kind); ++i) {
      TAEHoggetto* record = m_set->GetObject(kind, i);
      if (record != nullptr && !record->IsFree()) m_filesToList.Add(record);
    }
  }
}

void TAEHListHtmlToTx::Reload() {
  m_rows.clear();
  if (m_set == nullptr && m_converter != nullptr) m_set = m_converter->LinkedAEHset();
  if (m_set == nullptr || m_converter == nullptr) {
    m_pagesToList.clear();
    m_filesToList.Clear();
    return;
  }
  const std::string prefix = m_converter->ExportPrefix();
  const bool html = ListType == ltHtml;
  if (html) {
    ExportListRow css;
    css.caption = kStyleSheetCaption;
    css.file = prefix + "_style.css";
    css.size = SizeOf(css.file);
    css.type = "CSS";
    css.extension = ".ini";
    css.checked = true;
    m_rows.push_back(std::move(css));
  }
  if (m_pagesToList.empty()) {
    for (int i = 0; i < m_set->CountOf(document::testoHtml); ++i) m_pagesToList.push_back(i);
  }
  for (const int index : m_pagesToList) {
    const TAEHoggetto* page = m_set->GetObject(document::testoHtml, index);
    if (page == nullptr || page->IsFree()) continue;
    ExportListRow row;
    row.caption = page->GetCaption();
    row.type = "Page";
    row.id = page->GetId();
    row.extension = ".txt";
    row.version = std::to_string(page->GetRevision());
    if (html) {
      row.file = m_converter->OutputFileName(*page, kMainName);
      row.size = SizeOf(row.file);
      const std::string frameless = m_converter->OutputFileName(*page, kFramelessName);
      if (frameless != row.file) {
        row.framelessSize = SizeOf(frameless);
        if (!row.framelessSize.empty()) row.framelessFile = frameless;
      }
    }
    m_rows.push_back(std::move(row));
  }
  m_pagesToList.clear();
  if (html) {
    for (const auto& [kind, type] : {std::pair{document::immagine, "Image"}, std::pair{document::genLink, "File"}}) {
      for (int i = 0; i < m_set->CountOf(kind); ++i) {
        TAEHoggetto* record = m_set->GetObject(kind, i);
        if (record == nullptr || record->IsFree() || !m_filesToList.Contains(record)) continue;
        ExportListRow row;
        row.caption = record->GetCaption();
        row.size = std::to_string(record->ContentLength());
        row.type = type;
        row.file = m_converter->OutputFileName(*record, kFileObjectName);
        row.version = std::to_string(record->GetRevision());
        row.extension = ExtensionOf(row.file);
        row.id = record->GetId();
        m_rows.push_back(std::move(row));
      }
    }
  }
  Sort(m_sortType);
  if (OnReload) OnReload();
}

void TAEHListHtmlToTx::SetChecked(std::size_t row, bool checked) {
  if (row < m_rows.size()) m_rows[row].checked = checked;
}

void TAEHListHtmlToTx::CheckAll(bool checked) {
  for (ExportListRow& row : m_rows) row.checked = checked;
}

std::vector<int> TAEHListHtmlToTx::CheckedPages() const {
  std::vector<int> pages;
  for (const ExportListRow& row : m_rows) {
    if (row.checked && row.id != kStyleSheetRow && document::KindOf(row.id) == document::testoHtml) {
      pages.push_back(document::IndexOf(row.id));
    }
  }
  return pages;
}

std::vector<document::ObjectId> TAEHListHtmlToTx::FileRows(bool checked) const {
  std::vector<document::ObjectId> records;
  for (const ExportListRow& row : m_rows) {
    if (row.checked == checked && (row.type == "Image" || row.type == "File")) records.push_back(row.id);
  }
  return records;
}

TAEHoggetto* TAEHListHtmlToTx::Record(std::size_t row) const {
  if (row >= m_rows.size() || m_rows[row].id == kStyleSheetRow || m_set == nullptr) return nullptr;
  return m_set->GetObjectById(m_rows[row].id);
}

RowFileNames TAEHListHtmlToTx::RowFiles(std::size_t row) const {
  RowFileNames names;
  if (row >= m_rows.size() || m_converter == nullptr) return names;
  const fs::path& path = m_converter->ExportPath;
  if (m_rows[row].id == kStyleSheetRow) {
    names.main = path / (m_converter->ExportPrefix() + "_style.css");
    return names;
  }
  const TAEHoggetto* record = Record(row);
  if (record == nullptr) return names;
  const bool page = record->Kind() == document::testoHtml;
  names.main = path / m_converter->OutputFileName(*record, page ? kMainName : kFileObjectName);
  if (page && !m_rows[row].framelessSize.empty()) {
    names.frameless = path / m_converter->OutputFileName(*record, kFramelessName);
  }
  if (names.frameless == names.main) names.frameless.clear();
  return names;
}

void TAEHListHtmlToTx::CheckNewerThan(std::int32_t revision) {
  for (ExportListRow& row : m_rows) row.checked = Number(row.version, kUnknownVersion) > revision;
}

void TAEHListHtmlToTx::RefreshVersions() {
  for (std::size_t i = 0; i < m_rows.size(); ++i) {
    if (const TAEHoggetto* record = Record(i)) m_rows[i].version = std::to_string(record->GetRevision());
  }
}

void TAEHListHtmlToTx::SetRowVersion(std::size_t row, std::int32_t revision) {
  if (TAEHoggetto* record = Record(row)) record->SetRevision(revision);
}

bool TAEHListHtmlToTx::BumpRowVersion(std::size_t row, std::int32_t revision) {
  TAEHoggetto* record = Record(row);
  if (record == nullptr || record->Kind() != document::testoHtml || record->GetRevision() < revision) return false;
  record->SetRevision(record->GetRevision() + 1);
  return true;
}

bool TAEHListHtmlToTx::RenameRow(std::size_t row, std::string_view caption) {
  TAEHoggetto* record = Record(row);
  if (record == nullptr || !record->SetName(caption)) return false;
  m_rows[row].caption = record->GetCaption();
  return true;
}

bool TAEHListHtmlToTx::SortByColumn(int column) {
  switch (column) {
    case 0: Sort(fsName); return true;
    case 1: Sort(fsSize); return true;
    case 2: Sort(fsType); return true;
    case 6: Sort(fsVersion); return true;
    default: return false;
  }
}

void TAEHListHtmlToTx::Sort(TFileSortType type) {
  // Texts compare by byte value, case-sensitive, as the stored names are.
  auto less = [type](const ExportListRow& a, const ExportListRow& b) {
    switch (type) {
      case fsName: return a.caption < b.caption;
      case fsSize: return Number(a.size) < Number(b.size);
      case fsType:
        if (a.type != b.type) return a.type < b.type;
        return a.caption < b.caption;
      case fsVersion: {
        const std::int64_t va = Number(a.version);
        const std::int64_t vb = Number(b.version);
        if (va != vb) return va < vb;
        if (a.size != b.size) return a.size < b.size;
        return a.caption < b.caption;
      }
    }
    return false;
  };
  std::stable_sort(m_rows.begin(), m_rows.end(), less);
}

}  // namespace tarn::convert
