// TAEHset::ReadingCopy: the snapshot that background searches read, so that
// no worker thread ever looks at records the user-interface thread may be
// changing at the same moment.
#include "document/aehset.h"
#include "document/aehtesto.h"

namespace tarn::document {

std::unique_ptr<TAEHset> TAEHset::ReadingCopy() const {
  auto copy = std::make_unique<TAEHset>(m_services);
  // The new container starts as an empty hypertext with its two default
  // styles; everything is replaced below.
  for (auto& list : copy->m_lists) list.clear();
  copy->m_header = m_header;
  copy->m_typeTable = m_typeTable;
  copy->m_fileName = m_fileName;
  copy->m_dataStart = m_dataStart;
  copy->m_dataOrigin = m_dataOrigin;
  copy->m_remap = m_remap;
  copy->m_remapIndex = m_remapIndex;
  copy->OlderTextConverter = OlderTextConverter;
  copy->FrameSetWriter = FrameSetWriter;
  if (m_doc.IsOpen() && !m_fileName.empty()) copy->m_doc.Open(m_fileName);
  for (int kind = 0; kind < kKindCount; ++kind) {
    const auto& from = m_lists[static_cast<std::size_t>(kind)];
    auto& to = copy->m_lists[static_cast<std::size_t>(kind)];
    to.reserve(from.size());
    for (const auto& object : from) {
      if (!object) {
        to.emplace_back();
        continue;
      }
      std::unique_ptr<TAEHoggetto> twin =
          kind == testoHtml ? std::make_unique<TAEHtesto>() : std::make_unique<TAEHoggetto>();
      twin->m_kind = object->m_kind;
      twin->m_index = object->m_index;
      twin->m_registered = object->m_registered;
      twin->m_owner = copy.get();
      twin->m_record = object->m_record;
      twin->m_content = object->m_content;
      twin->m_extra = object->m_extra;
      twin->m_filePath = object->m_filePath;
      twin->m_frameDescription = object->m_frameDescription;
      twin->m_frameWriterValue = object->m_frameWriterValue;
      to.push_back(std::move(twin));
    }
  }
  const auto& styles = copy->m_lists[stileParagrafo];
  copy->m_defaultStyle = !styles.empty() ? styles[0].get() : nullptr;
  copy->m_defaultCellStyle = styles.size() > 1 ? styles[1].get() : nullptr;
  copy->m_modified = false;
  return copy;
}

}  // namespace tarn::document
