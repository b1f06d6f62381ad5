// The objects placed in a page's text, written as HTML where the text walk
// meets them: tables with their cells, placed images with their maps and
// roll-over pictures, form fields, buttons and form starts, multimedia and
// custom objects, floating frames, comments, raw HTML, anchors and window
// scripts. Each conversion reads the object's record, adds the files it
// needs to the run's file list, may add pages to the frameless list and sets
// the script flags of the page whose head must define what it calls.
#pragma once

#include <string>

#include "convert/htmlbody.h"

namespace tarn::convert {

class THtmlObjects : public THtmlBody {
 public:
  // Automatic "alt" texts for map zones.
  bool AutoAlt = false;

  // The HTML of a custom object: the prototype's template with the
  // instance's values in place of its placeholders.
  std::string ExpandCustomObject(const TAEHoggetto& media, const TAEHoggetto& prototype);
  // The onClick attribute of a button that follows the target, with a
  // blank and the target's extra attributes after it; empty for a target
  // that has no web form.
  std::string ButtonClickAttribute(TAEHoggetto& target);

 protected:
  void WriteEmbeddedObject(HtmlText& text, TAEHoggetto& record) override;
  void WriteCellBoundary(HtmlText& text) override;

  // Roll-over images of the page being written, preloaded at its end.
  RecordList m_rollOver;

 private:
  void TableStart(HtmlText& text, TAEHoggetto& table);
  void ShortObject(HtmlText& text, TAEHoggetto& object);
  std::string WindowScript(const TAEHoggetto& object);
  void PlacedImage(HtmlText& text, TAEHoggetto& placed);
  // The MAP of a placed image; empty when none of its zones has a link.
  std::string ImageMap(const TAEHoggetto& placed);
  std::string FormField(const TAEHoggetto& field);
  std::string FloatingFrame(const TAEHoggetto& frame);
  std::string FormButton(const HtmlText& text, const TAEHoggetto& button);
  void FormStart(HtmlText& text, const TAEHoggetto& form);
  std::string Multimedia(const TAEHoggetto& media);
  // " BGCOLOR=#..." or " background=\"...\"" for a table or cell
  // background; the image joins the file list.
  std::string BackgroundAttribute(std::int32_t value);
  // The name of a record in a placeholder: its output file, and the record
  // joins the file list unless it is a page.
  std::string RecordFileName(TAEHoggetto* record);
};

}  // namespace tarn::convert
