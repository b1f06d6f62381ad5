// Control numbers; see aehundoindicilist.h.
#include "undo/aehundoindicilist.h"

namespace tarn::undo {

UndoControl::~UndoControl() {
  if (m_list != nullptr) m_list->Vacate(m_index);
}

UndoControl* UndoControl::UndoParent() const { return m_list != nullptr ? m_list->Owner() : nullptr; }

TAEHundoIndiciList::~TAEHundoIndiciList() { Reset(); }

int TAEHundoIndiciList::Register(UndoControl* control) {
  const int number = Count();
  m_controls.push_back(nullptr);
  Put(control, number);
  return number;
}

UndoControl* TAEHundoIndiciList::Lookup(int number) const {
  if (number < 0 || number >= Count()) return nullptr;
  return m_controls[static_cast<std::size_t>(number)];
}

bool TAEHundoIndiciList::Put(UndoControl* control, int number) {
  if (number < 0) return false;
  if (number >= Count()) m_controls.resize(static_cast<std::size_t>(number) + 1, nullptr);
  UndoControl*& slot = m_controls[static_cast<std::size_t>(number)];
  if (slot == control) return true;
  if (slot != nullptr) {
    slot->m_list = nullptr;
    slot->m_index = -1;
  }
  if (control != nullptr) {
    if (control->m_list != nullptr) control->m_list->Vacate(control->m_index);
    control->m_list = this;
    control->m_index = number;
  }
  slot = control;
  return true;
}

void TAEHundoIndiciList::Vacate(int number) {
  UndoControl* control = Lookup(number);
  if (control == nullptr) return;
  control->m_list = nullptr;
  control->m_index = -1;
  m_controls[static_cast<std::size_t>(number)] = nullptr;
}

void TAEHundoIndiciList::Reset() {
  for (UndoControl* control : m_controls) {
    if (control == nullptr) continue;
    control->m_list = nullptr;
    control->m_index = -1;
  }
  m_controls.clear();
}

}  // namespace tarn::undo
