// Undo of a visual object; see timbackup.h.
#include "undo/timbackup.h"

#include <algorithm>

#include "richtext/boxtext.h"

namespace tarn::undo {

TimBackup::TimBackup(TAEHundoList& list, std::string caption, UndoVisual& object)
    : TAEHbackup(list, std::move(caption), &object),
      m_placedImage(object.VisualRecord().Kind() == document::immagineNew) {
  if (m_placedImage) {
    object.FinishPendingChange();
    m_zone = object.SelectedZone();
  }
  const document::TAEHoggetto& record = object.VisualRecord();
  m_record.assign(reinterpret_cast<const char*>(record.Record().data()), record.Record().size());
  if (!m_placedImage) {
    // Blocks are replaced, never changed in place: keeping them is a copy.
    m_content = record.Content();
    m_extra = record.Extra();
  }
}

TimBackup* TimBackup::Create(TAEHundoList& list, UndoVisual& object, std::string caption) {
  return list.Add(std::unique_ptr<TimBackup>(new TimBackup(list, std::move(caption), object)));
}

UndoControl* TimBackup::Apply() {
  auto* object = dynamic_cast<UndoVisual*>(Resolve());
  if (object == nullptr) return nullptr;
  document::TAEHoggetto& record = object->VisualRecord();
  // Another kind under the number is another object.
  if ((record.Kind() == document::immagineNew) != m_placedImage) return nullptr;
  Create(List(), *object, Caption());
  richtext::BoxText* holder = object->HoldingText();
  if (holder != nullptr) holder->BeginUpdate();
  std::copy(m_record.begin(), m_record.end(), reinterpret_cast<char*>(record.Record().data()));
  if (!m_placedImage) record.RestoreBlocks(m_content, m_extra);
  object->Restored(m_placedImage ? m_zone : -1);
  if (holder != nullptr) holder->EndUpdate();
  return object;
}

std::size_t TimBackup::MemoryHeld() const {
  // The blocks are shared with the record, which holds them anyway.
  return TAEHbackup::MemoryHeld() - sizeof(TAEHbackup) + sizeof(*this) + m_record.capacity();
}

}  // namespace tarn::undo
