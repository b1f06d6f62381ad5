// The converter base; see aehconv.h.
#include "convert/aehconv.h"

#include "document/aehset.h"
#include "document/recordfields.h"

namespace tarn::convert {

bool RecordList::Add(TAEHoggetto* record) {
  if (record == nullptr || !m_index.insert(record).second) return false;
  m_items.push_back(record);
  return true;
}

void RecordList::Clear() {
  m_items.clear();
  m_index.clear();
}

TAEHconv::TAEHconv() {
  // The old program wrote into a "temp" folder of the system drive by
  // default; here that is the system's temporary folder.
  std::error_code ec;
  std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
  if (ec) temp = "/tmp";
  ExportPath = temp;
  ExportFileName = temp / "temp";
}

std::string TAEHconv::ExportPrefix() const {
  if (!m_prefixOverride.empty()) return m_prefixOverride;
  return m_set != nullptr ? m_set->ExpPrefix() : std::string();
}

TAEHoggetto* TAEHconv::CreateImportText() {
  if (m_set == nullptr) return nullptr;
  auto page = m_set->NewObject(document::testoHtml);
  page->SetI32(document::field::kPageBgColour, static_cast<std::int32_t>(ImportBackgroundColour));
  page->SetI32(document::field::kPageBgImage, ImportBackgroundImage);
  // The empty first page of a new hypertext (its text at most "<Z S0 >" and
  // its end) gives way to the first imported page.
  constexpr std::int64_t kEmptyText = 9;
  const TAEHoggetto* first = m_set->GetObject(document::testoHtml, 0);
  const bool replaceFirst =
      m_set->CountOf(document::testoHtml) <= 1 && (first == nullptr || first->ContentLength() <= kEmptyText);
  return m_set->Register(std::move(page), replaceFirst ? 0 : -1);
}

void TAEHconv::ReportProgress(int item, int total, int phase) const {
  if (OnExpProgress != nullptr) OnExpProgress->OnExpProgress(*this, item, total, phase);
}

void TAEHconv::ProcessPendingEvents() const {
  if (OnExpProgress != nullptr) OnExpProgress->ProcessPendingEvents();
}

bool TAEHconv::Cancelled() const { return OnExpProgress != nullptr && OnExpProgress->CancelRequested(); }

}  // namespace tarn::convert
