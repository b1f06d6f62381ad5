// Undo of the text of a box. A box's editing commands report each change to
// the box's TextBoxControl before making it (BoxText::Record); the control
// records the step in the hypertext's undo list:
// - TboBackup (typing, Enter, pasting, dropping, replacing, formatting)
//   saves the paragraphs the selection touches, as markup whose tables stay
//   alive (written by reference);
// - TcancelBackup (deleting a selection or an object) saves the same
//   paragraphs with the cells of the tables inside the deleted range, and
//   every object the range placed (its number and its record), so that an
//   object whose screen object went with the deletion can be made again
//   under its old number.
// Applying either puts the saved paragraphs back in place of the ones the
// change produced, and first records the way back (the opposite step).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "richtext/boxtext.h"
#include "undo/aehundolist.h"

namespace tarn::document {
class TAEHoggetto;
class TAEHset;
}  // namespace tarn::document

namespace tarn::undo {

// A text box as undo steps see it: the box (its paragraphs, selection and
// layout), numbered in its page view, and the recorder its commands call.
// Whoever owns the box (its widget, the page view) fills in the hooks.
class TextBoxControl : public UndoControl, public richtext::EditRecorder {
 public:
  TextBoxControl(document::TAEHset& set, richtext::BoxText& text);
  ~TextBoxControl() override;

  richtext::BoxText& Text() { return m_text; }
  document::TAEHset& Set() { return m_set; }

  // A change is about to be made (the page becomes modified). Told also
  // when no undo list exists.
  std::function<void()> onRecorded;
  // An undo step changed the text: repaint, bring the caret into view.
  std::function<void()> onRestored;
  // Take the focus; false when the box cannot.
  std::function<bool()> onFocus;
  // The record behind a placed object (kept by a deletion step); nothing
  // when it has none.
  std::function<const document::TAEHoggetto*(const richtext::EmbeddedObject&)> objectRecord;
  // The restored text no longer places the object: it goes, with its
  // screen object.
  std::function<void(richtext::EmbeddedObject&)> dropObject;
  // An object a deletion took away is made again from its saved record
  // under its old number; answers it, or nothing (the text then shows a
  // blank where it stood).
  std::function<richtext::EmbeddedObject*(int number, std::unique_ptr<document::TAEHoggetto> saved)>
      recreateObject;

  // ---- richtext::EditRecorder ----
  std::uint64_t Record(std::string_view caption, richtext::UndoKind kind) override;
  std::uint64_t NewestStep() const override;
  // ---- UndoControl ----
  bool UndoFocus() override { return onFocus && onFocus(); }

 private:
  document::TAEHset& m_set;
  richtext::BoxText& m_text;
};

class TboBackup : public TAEHbackup {
 public:
  // Saves the paragraphs from the selection's start to its end (the
  // caret's paragraph without a selection) and pushes the step.
  static TboBackup* Create(TAEHundoList& list, TextBoxControl& box, std::string caption);

  // The paragraphs the change produced, when a command knows them better
  // than the rule: undo removes exactly first..last and puts the saved
  // paragraphs there. Without it, undo removes the paragraphs from the
  // saved start up to those that followed the saved ones, which is right
  // for every change that stays inside the paragraphs it saved.
  void SetRange(int first, int last);

  UndoControl* Apply() override;
  std::size_t MemoryHeld() const override;

 protected:
  struct SavedObject {
    std::int32_t number = 0;
    std::int32_t kind = -1;
    std::string stream;  // the record in the transfer format; empty without one
  };

  // Saves paragraphs first..last of the box. With objects, the paragraphs
  // keep the cells of the tables from `from` to `to` and every object in
  // that range is saved; without, tables go by reference.
  TboBackup(TAEHundoList& list, std::string caption, TextBoxControl& box, int first, int last, bool withObjects,
            richtext::CharPos from, richtext::CharPos to);
  // Where the caret goes once the text is back.
  virtual void PlaceCaret(richtext::BoxText& text) const;

  richtext::CharPos m_anchor;
  richtext::CharPos m_active;
  bool m_hadSelection = false;

 private:
  void SaveObjects(TextBoxControl& box, richtext::CharPos from, richtext::CharPos to);
  // The paragraphs the change produced, checked against the box; false
  // when they cannot be found.
  bool CurrentRange(const richtext::BoxText& text, int& first, int& last) const;
  void RecreateObjects(TextBoxControl& box);

  int m_first;
  int m_count;
  // The paragraphs that followed the saved ones (they stay as they are).
  int m_tail;
  int m_rangeFirst = -1;
  int m_rangeLast = -1;
  bool m_withObjects;
  std::string m_markup;
  std::vector<SavedObject> m_objects;
};

class TcancelBackup : public TboBackup {
 public:
  // Saves the selection of the box before it is deleted. A single
  // character (Delete, Backspace) puts the caret after it on undo; a
  // selection is selected again.
  static TcancelBackup* Create(TAEHundoList& list, TextBoxControl& box, std::string caption,
                               bool singleCharacter = false);

 protected:
  void PlaceCaret(richtext::BoxText& text) const override;

 private:
  TcancelBackup(TAEHundoList& list, std::string caption, TextBoxControl& box, richtext::CharPos from,
                richtext::CharPos to, bool singleCharacter);
  bool m_single;
};

}  // namespace tarn::undo
