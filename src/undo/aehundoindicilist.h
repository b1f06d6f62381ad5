// Control numbers. Undo steps never hold pointers to screen objects, which
// come and go while the author works: they hold numbers, handed out by
// TAEHundoIndiciList lists at three levels, and look the controls up again
// when they are applied. The hypertext numbers the frame sets that show it,
// a frame set numbers its page views, and a page view numbers the screen
// objects of its page (the text box first, as 0, then its placed objects
// under the numbers their object tags carry, tables and cells).
#pragma once

#include <vector>

namespace tarn::undo {

class TAEHundoIndiciList;

// Anything a control number can name. A control knows the list that
// numbers it; it leaves its slot empty when it goes, so that a step made
// for it finds nothing rather than something else.
class UndoControl {
 public:
  UndoControl() = default;
  virtual ~UndoControl();
  UndoControl(const UndoControl&) = delete;
  UndoControl& operator=(const UndoControl&) = delete;

  // The list that numbers this control, and the number; nothing and -1
  // before registration.
  TAEHundoIndiciList* UndoList() const { return m_list; }
  int UndoIndex() const { return m_index; }
  // The control whose list numbers this one: the page view of a screen
  // object, the frame set of a page view; nothing at the top.
  UndoControl* UndoParent() const;

  // The list in which this control numbers the controls inside it (a frame
  // set's page views, a page view's screen objects); nothing for the rest.
  virtual TAEHundoIndiciList* UndoChildren() { return nullptr; }
  // A step is being recorded for something inside this control (a page
  // view marks itself modified).
  virtual void UndoTouched() {}
  // Takes the focus after an undo step named this control; false when it
  // cannot (the window then gives the focus back where it was).
  virtual bool UndoFocus() { return false; }
  // Something every page shows changed (a paragraph style, an image): a
  // frame set repaints its frames.
  virtual void UndoRedraw() {}

 private:
  friend class TAEHundoIndiciList;
  TAEHundoIndiciList* m_list = nullptr;
  int m_index = -1;
};

class TAEHundoIndiciList {
 public:
  // owner: the control whose children the list numbers; nothing for the
  // hypertext's list of frame sets.
  explicit TAEHundoIndiciList(UndoControl* owner = nullptr) : m_owner(owner) {}
  ~TAEHundoIndiciList();
  TAEHundoIndiciList(const TAEHundoIndiciList&) = delete;
  TAEHundoIndiciList& operator=(const TAEHundoIndiciList&) = delete;

  UndoControl* Owner() const { return m_owner; }
  // Appends the control and answers its number: numbers start at 0 and are
  // never handed out twice while the list lives. A control numbered before
  // (here or elsewhere) leaves its old slot empty. A null control reserves
  // the number.
  int Register(UndoControl* control);
  // The control under the number; nothing outside the list or for an
  // empty slot.
  UndoControl* Lookup(int number) const;
  // Puts the control under a number, appending empty slots when the number
  // lies beyond the end (an undo re-creates an object under its old
  // number). A negative number is refused.
  bool Put(UndoControl* control, int number);
  int Count() const { return static_cast<int>(m_controls.size()); }
  // Forgets every control and starts the numbers from 0 again.
  void Reset();

 private:
  friend class UndoControl;
  void Vacate(int number);

  UndoControl* m_owner;
  std::vector<UndoControl*> m_controls;
};

}  // namespace tarn::undo
