// The undo step of a record of the hypertext; see togbackup.h.
#include "undo/togbackup.h"

#include "base/bytes.h"
#include "document/aehset.h"

namespace tarn::undo {

TogBackup::TogBackup(TAEHundoList& list, std::string caption, const document::TAEHoggetto& object)
    : TAEHbackup(list, std::move(caption), nullptr), m_kind(object.Kind()), m_index(object.Index()) {
  object.SaveToStream(m_stream);
}

TogBackup* TogBackup::Create(TAEHundoList& list, document::TAEHoggetto& object, std::string caption) {
  if (!object.IsRegistered() || object.Owner() != &list.Set()) return nullptr;
  list.Set().SetModified(true);
  return list.Add(std::unique_ptr<TogBackup>(new TogBackup(list, std::move(caption), object)));
}

UndoControl* TogBackup::Apply() {
  document::TAEHset& set = Set();
  document::TAEHoggetto* object = set.GetObject(m_kind, m_index);
  if (object == nullptr || object->IsFree() || object->Kind() != m_kind) return nullptr;
  // The way back to the present record.
  Create(List(), *object, Caption());
  // The saved record is loaded into the object in its slot rather than put
  // there as a new object: whatever points at the record stays valid.
  if (m_kind == document::immagine) set.UncachePicture(object);
  base::ByteReader reader(m_stream);
  object->LoadFromStream(reader);
  set.SetModified(true);
  TAEHundoIndiciList& frameSets = List().Controls();
  for (int i = 0; i < frameSets.Count(); ++i) {
    if (UndoControl* frameSet = frameSets.Lookup(i)) frameSet->UndoRedraw();
  }
  return nullptr;
}

std::size_t TogBackup::MemoryHeld() const { return TAEHbackup::MemoryHeld() + m_stream.capacity(); }

}  // namespace tarn::undo
