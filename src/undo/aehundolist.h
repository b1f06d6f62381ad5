// The undo list of a hypertext: two stacks of steps, undo and redo, each a
// caption and a record that can put back what a change altered. The
// container owns the list (through document::UndoStore) and makes it anew
// at every close; closing a page view empties it.
//
// How a command records a step: it makes the record of its kind, through
// the record's Create, immediately before it changes anything. Create saves
// what the change may alter, builds the path of control numbers from the
// control the command works on, and pushes the step on the right stack:
//
//   TboBackup::Create(list, box, "Text insertion")          text of a box
//   TcancelBackup::Create(list, box, "Selection deletion")  deleted text
//   TimBackup::Create(list, image, "Image resize")           a visual object
//   TtaBackup::Create(list, table, "Add rows")->RowsAdded(at, n)
//   TogBackup::Create(list, styleRecord, "Modify style: " + name)
//
// Steps made while a step is applied are its opposite: during an undo they
// go on the redo stack, during a redo on the undo stack.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "document/undostore.h"
#include "undo/aehundoindicilist.h"

namespace tarn::document {
class TAEHset;
}

namespace tarn::undo {

class TAEHundoList;

inline constexpr int kUndo = 0;
inline constexpr int kRedo = 1;

// What the chain of control numbers says when it breaks above the object.
inline constexpr std::string_view kChainErrorFrameSet = "Errore nella catena undo list!";
inline constexpr std::string_view kChainErrorPage = "Error in undo list chain!";

// One step. It holds no pointer to a screen object: its path of control
// numbers (innermost first: object in its page view, page view in its frame
// set, frame set in the hypertext) finds the control again when applied.
class TAEHbackup {
 public:
  virtual ~TAEHbackup();
  TAEHbackup(const TAEHbackup&) = delete;
  TAEHbackup& operator=(const TAEHbackup&) = delete;

  const std::string& Caption() const { return m_caption; }
  // kUndo or kRedo: the stack the step went on.
  int Direction() const { return m_direction; }
  const std::vector<int>& Path() const { return m_path; }
  // Restores what was saved and answers the control that should take the
  // focus. A step whose control can no longer be found changes nothing and
  // answers nothing.
  virtual UndoControl* Apply() = 0;
  // The bytes the step holds (its saved streams and itself).
  virtual std::size_t MemoryHeld() const;

 protected:
  // Builds the path from the control upwards; without a control (steps on
  // records of the hypertext) the path is empty.
  TAEHbackup(TAEHundoList& list, std::string caption, UndoControl* control);
  // The control the path names now, or nothing. A broken chain above the
  // object shows its error.
  UndoControl* Resolve() const;
  TAEHundoList& List() const { return m_list; }
  document::TAEHset& Set() const;

 private:
  friend class TAEHundoList;
  TAEHundoList& m_list;
  std::string m_caption;
  std::vector<int> m_path;
  int m_direction = kUndo;
};

class TAEHundoList : public document::UndoStore {
 public:
  static constexpr int kDefaultDepth = 10;

  // A negative depth keeps the default; 0 keeps every step.
  explicit TAEHundoList(document::TAEHset& set, int depth = kDefaultDepth);
  ~TAEHundoList() override;
  TAEHundoList(const TAEHundoList&) = delete;
  TAEHundoList& operator=(const TAEHundoList&) = delete;

  document::TAEHset& Set() const { return m_set; }
  // The hypertext's numbers: its frame sets, and any other control that
  // records without a parent (a text box shown on its own).
  TAEHundoIndiciList& Controls() { return m_controls; }

  // Pushes a step made by a record's Create on the stack it belongs to
  // (see the top of the file) and answers it.
  template <class T>
  T* Add(std::unique_ptr<T> step) {
    T* raw = step.get();
    Push(std::move(step));
    return raw;
  }
  // The undo stack, after the redo stack was emptied; at the depth, the
  // oldest step goes.
  void AddUndo(std::string caption, std::unique_ptr<TAEHbackup> step);
  void AddRedo(std::string caption, std::unique_ptr<TAEHbackup> step);

  // One step back or forward: the newest step is applied and destroyed.
  // Answers the control to focus (nothing when the stack is empty).
  UndoControl* Undo();
  UndoControl* Redo();
  bool CanUndo() const { return !m_undo.empty(); }
  bool CanRedo() const { return !m_redo.empty(); }
  int UndoCount() const { return static_cast<int>(m_undo.size()); }
  int RedoCount() const { return static_cast<int>(m_redo.size()); }
  // The captions of a stack, newest first.
  std::vector<std::string> Captions(int direction) const;
  // count steps back (kUndo) or forward (kRedo), newest first; answers the
  // control the last one named.
  UndoControl* Steps(int direction, int count);
  // The drop-down list: the chooser is shown the captions of the stack,
  // newest first, and answers how many it chose (0 cancels); those steps
  // are then taken. The list is busy while the chooser runs.
  UndoControl* ShowList(int direction, const std::function<int(const std::vector<std::string>&)>& chooser);
  bool Busy() const { return m_busy; }
  bool Applying() const { return m_applying != kNone; }

  // A number for the newest undo step (0 with none): typed characters go on
  // joining a step only while it is the newest.
  std::uint64_t NewestStep() const { return m_undo.empty() ? 0 : m_undo.back().serial; }
  int Depth() const { return m_depth; }
  std::size_t MemoryHeld() const;

  // ---- document::UndoStore ----
  void SetDepth(int depth) override;
  void Clear() override;
  void RecordObject(document::TAEHoggetto& object, std::string_view caption) override;

 private:
  struct Entry {
    std::string caption;
    std::unique_ptr<TAEHbackup> step;
    std::uint64_t serial = 0;
  };
  static constexpr int kNone = -1;
  void Push(std::unique_ptr<TAEHbackup> step);
  UndoControl* Take(std::vector<Entry>& stack, int direction);
  void Trim();
  void Changed();

  document::TAEHset& m_set;
  TAEHundoIndiciList m_controls;
  std::vector<Entry> m_undo;
  std::vector<Entry> m_redo;
  int m_depth = kDefaultDepth;
  int m_applying = kNone;
  bool m_busy = false;
  std::uint64_t m_serial = 0;
};

// The undo list of a hypertext; nothing when the program installed none.
TAEHundoList* UndoListOf(const document::TAEHset& set);
// Gives the container its undo list and the factory that makes it anew at
// every close.
void InstallUndoList(document::TAEHset& set);

}  // namespace tarn::undo
