// The undo list; see aehundolist.h.
#include "undo/aehundolist.h"

#include <algorithm>

#include "document/aehset.h"
#include "platform/messages.h"
#include "undo/togbackup.h"

namespace tarn::undo {
namespace {

// Three levels exist; a longer walk can only be a cycle of lists.
constexpr int kMaxPathLength = 8;

}  // namespace

// ---- A step ----

TAEHbackup::TAEHbackup(TAEHundoList& list, std::string caption, UndoControl* control)
    : m_list(list), m_caption(std::move(caption)) {
  TAEHundoIndiciList& top = list.Controls();
  for (UndoControl* c = control; c != nullptr;) {
    // A control that nothing numbers stands at the top: the hypertext
    // numbers it.
    if (c->UndoList() == nullptr) top.Register(c);
    m_path.push_back(c->UndoIndex());
    c->UndoTouched();
    if (c->UndoList() == &top) return;
    c = c->UndoParent();
    if (static_cast<int>(m_path.size()) >= kMaxPathLength) break;
  }
  // The walk did not end in this hypertext's numbers: nothing could find
  // the control again, so nothing will be applied.
  if (control != nullptr) m_path.clear();
}

TAEHbackup::~TAEHbackup() = default;

document::TAEHset& TAEHbackup::Set() const { return m_list.Set(); }

std::size_t TAEHbackup::MemoryHeld() const {
  return sizeof(*this) + m_caption.capacity() + m_path.capacity() * sizeof(int);
}

UndoControl* TAEHbackup::Resolve() const {
  if (m_path.empty()) return nullptr;
  const int length = static_cast<int>(m_path.size());
  UndoControl* control = m_list.Controls().Lookup(m_path.back());
  for (int i = length - 2; i >= 0; --i) {
    if (control == nullptr) {
      Set().Services().messages->Error(i == length - 2 ? kChainErrorFrameSet : kChainErrorPage);
      return nullptr;
    }
    TAEHundoIndiciList* children = control->UndoChildren();
    if (children == nullptr) return nullptr;
    control = children->Lookup(m_path[static_cast<std::size_t>(i)]);
  }
  return control;
}

// ---- The list ----

TAEHundoList::TAEHundoList(document::TAEHset& set, int depth) : m_set(set) {
  if (depth >= 0) m_depth = depth;
}

TAEHundoList::~TAEHundoList() {
  // Steps go before the numbers they refer to.
  m_undo.clear();
  m_redo.clear();
}

void TAEHundoList::Changed() {
  if (m_set.OnUndoChanged) m_set.OnUndoChanged();
}

void TAEHundoList::Trim() {
  if (m_depth == 0 || static_cast<int>(m_undo.size()) <= m_depth) return;
  m_undo.erase(m_undo.begin(), m_undo.end() - m_depth);
}

void TAEHundoList::Push(std::unique_ptr<TAEHbackup> step) {
  if (!step) return;
  std::string caption = step->Caption();
  if (m_applying == kUndo) {
    AddRedo(std::move(caption), std::move(step));
  } else if (m_applying == kRedo) {
    // The opposite of a step taken forward goes back on the undo stack; the
    // steps still to be taken forward stay.
    step->m_direction = kUndo;
    m_undo.push_back({std::move(caption), std::move(step), ++m_serial});
    Trim();
    Changed();
  } else {
    AddUndo(std::move(caption), std::move(step));
  }
}

void TAEHundoList::AddUndo(std::string caption, std::unique_ptr<TAEHbackup> step) {
  if (!step) return;
  m_redo.clear();
  step->m_direction = kUndo;
  m_undo.push_back({std::move(caption), std::move(step), ++m_serial});
  Trim();
  Changed();
}

void TAEHundoList::AddRedo(std::string caption, std::unique_ptr<TAEHbackup> step) {
  if (!step) return;
  step->m_direction = kRedo;
  m_redo.push_back({std::move(caption), std::move(step), ++m_serial});
  Changed();
}

UndoControl* TAEHundoList::Take(std::vector<Entry>& stack, int direction) {
  // A step applied from inside another step's Apply would interleave two
  // restorations of the same text.
  if (stack.empty() || m_applying != kNone) return nullptr;
  std::unique_ptr<TAEHbackup> step = std::move(stack.back().step);
  stack.pop_back();
  m_applying = direction;
  UndoControl* control = nullptr;
  try {
    control = step->Apply();
  } catch (...) {
    m_applying = kNone;
    Changed();
    throw;
  }
  m_applying = kNone;
  step.reset();
  Changed();
  return control;
}

UndoControl* TAEHundoList::Undo() { return Take(m_undo, kUndo); }
UndoControl* TAEHundoList::Redo() { return Take(m_redo, kRedo); }

std::vector<std::string> TAEHundoList::Captions(int direction) const {
  const std::vector<Entry>& stack = direction == kRedo ? m_redo : m_undo;
  std::vector<std::string> captions;
  captions.reserve(stack.size());
  for (auto it = stack.rbegin(); it != stack.rend(); ++it) captions.push_back(it->caption);
  return captions;
}

UndoControl* TAEHundoList::Steps(int direction, int count) {
  UndoControl* last = nullptr;
  for (int i = 0; i < count; ++i) {
    if (direction == kRedo ? !CanRedo() : !CanUndo()) break;
    last = direction == kRedo ? Redo() : Undo();
  }
  return last;
}

UndoControl* TAEHundoList::ShowList(int direction, const std::function<int(const std::vector<std::string>&)>& chooser) {
  const std::vector<std::string> captions = Captions(direction);
  if (captions.empty() || !chooser || m_busy) return nullptr;
  m_busy = true;
  int chosen = 0;
  try {
    chosen = chooser(captions);
  } catch (...) {
    m_busy = false;
    throw;
  }
  m_busy = false;
  return Steps(direction, std::clamp(chosen, 0, static_cast<int>(captions.size())));
}

std::size_t TAEHundoList::MemoryHeld() const {
  std::size_t bytes = sizeof(*this);
  for (const auto* stack : {&m_undo, &m_redo}) {
    bytes += stack->capacity() * sizeof(Entry);
    for (const Entry& entry : *stack) bytes += entry.caption.capacity() + entry.step->MemoryHeld();
  }
  return bytes;
}

void TAEHundoList::SetDepth(int depth) {
  if (depth < 2) return;
  m_depth = depth;
  const std::size_t before = m_undo.size();
  Trim();
  if (m_undo.size() != before) Changed();
}

void TAEHundoList::Clear() {
  const bool had = !m_undo.empty() || !m_redo.empty();
  m_undo.clear();
  m_redo.clear();
  if (had) Changed();
}

void TAEHundoList::RecordObject(document::TAEHoggetto& object, std::string_view caption) {
  TogBackup::Create(*this, object, std::string(caption));
}

// ---- The container's list ----

TAEHundoList* UndoListOf(const document::TAEHset& set) { return dynamic_cast<TAEHundoList*>(set.Undo()); }

void InstallUndoList(document::TAEHset& set) {
  set.SetUndoFactory([](document::TAEHset& owner, int depth) -> std::unique_ptr<document::UndoStore> {
    return std::make_unique<TAEHundoList>(owner, depth);
  });
}

}  // namespace tarn::undo
