// The undo step of a record of the hypertext itself (an image whose picture
// is replaced, a paragraph style redefined): a copy of the record in the
// transfer format.
#pragma once

#include <memory>
#include <string>

#include "undo/aehundolist.h"

namespace tarn::document {
class TAEHoggetto;
}

namespace tarn::undo {

class TogBackup : public TAEHbackup {
 public:
  // Saves a copy of a registered object (the container becomes modified)
  // and pushes the step; an unregistered object is not saved and nothing
  // is pushed.
  static TogBackup* Create(TAEHundoList& list, document::TAEHoggetto& object, std::string caption);

  // The object at the same kind and index takes the copy's record and
  // data again (an image leaves the picture cache and is decoded anew);
  // every frame set showing the hypertext repaints. Nothing when the slot
  // is empty or free.
  UndoControl* Apply() override;
  std::size_t MemoryHeld() const override;

 private:
  TogBackup(TAEHundoList& list, std::string caption, const document::TAEHoggetto& object);

  int m_kind;
  int m_index;
  std::string m_stream;
};

}  // namespace tarn::undo
