// Undo of a visual object placed in a text (a placed image with its click
// zones, a button, a multimedia player, a floating frame, a form control):
// its record as it was, so that moving, resizing and click-zone changes can
// be put back.
//
// A visual object implements UndoVisual and is numbered in its page view
// (TAEHpage's UndoChildren, under the number of its object tag). A command
// records a step immediately before it changes the object:
//
//   undo::TimBackup::Create(*undo::UndoListOf(set), image, "Image resize");
//   ... change the record, the size, the zones ...
//
// Captions in use: "Image resize", "Clic area add", "Clic area deletion",
// "Clic area move", "Clic area resize", "Bring to front clic area", "Send
// to back clic area", "Clipboard insertion", "Button resize", "Multimedia
// resize", "Indipendent frame resize".
#pragma once

#include <string>

#include "document/aehoggetto.h"
#include "undo/aehundolist.h"

namespace tarn::richtext {
class BoxText;
}

namespace tarn::undo {

class UndoVisual : public UndoControl {
 public:
  // The object's record (a kind 16 record makes it a placed image).
  virtual document::TAEHoggetto& VisualRecord() = 0;
  // The box whose text places the object: its update bracket surrounds the
  // restoration. Nothing when none.
  virtual richtext::BoxText* HoldingText() { return nullptr; }
  // A placed image first writes what it holds only on screen (its zones)
  // into its record.
  virtual void FinishPendingChange() {}
  // The selected click zone of a placed image; -1 for none.
  virtual int SelectedZone() const { return -1; }
  // The record is back (and, except for a placed image, the content and
  // extra data): the object rebuilds itself from it and redraws. A placed
  // image selects the zone again (-1: the image itself takes the focus)
  // and hides its handles.
  virtual void Restored(int zone) = 0;
};

class TimBackup : public TAEHbackup {
 public:
  // Saves the object (a placed image: its record and its selected zone,
  // after it finished its pending change; other objects: the record, the
  // content and the extra data) and pushes the step.
  static TimBackup* Create(TAEHundoList& list, UndoVisual& object, std::string caption);

  UndoControl* Apply() override;
  std::size_t MemoryHeld() const override;

 private:
  TimBackup(TAEHundoList& list, std::string caption, UndoVisual& object);

  std::string m_record;
  bool m_placedImage;
  int m_zone = -1;
  document::DataBlock m_content;
  document::DataBlock m_extra;
};

}  // namespace tarn::undo
