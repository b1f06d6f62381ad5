// The converter base; see aehconv.h.
#include "convert/aehconv.h"

#include "document/aehset.h"

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

void TAEHconv::ReportProgress(int item, int total, int phase) const {
  if (OnExpProgress != nullptr) OnExpProgress->OnExpProgress(*this, item, total, phase);
}

void TAEHconv::ProcessPendingEvents() const {
  if (OnExpProgress != nullptr) OnExpProgress->ProcessPendingEvents();
}

}  // namespace tarn::convert
