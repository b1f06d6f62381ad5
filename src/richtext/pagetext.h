// A page's own text read into paragraphs outside the editor: the stored
// markup in working form, the objects it places made from their records,
// and the paragraphs. Used by the tools that inspect, render and export.
#pragma once

#include "richtext/documenthost.h"
#include "richtext/localform.h"
#include "richtext/markup.h"
#include "richtext/pageobjects.h"

namespace tarn::document {
class TAEHtesto;
}

namespace tarn::richtext {

class PageText {
 public:
  // A page still in the older text form is converted first.
  PageText(document::TAEHset& set, document::TAEHtesto& page, platform::TextMeasurer* measurer,
           platform::Messages* messages);
  RichText& Text() { return m_text; }
  const WorkingForm& Form() const { return m_form; }
  DocumentHost& Host() { return m_host; }

 private:
  WorkingForm m_form;
  PageObjects m_objects;
  DocumentHost m_host;
  RichText m_text;
};

// The live page at the index, or nothing (with a message) when there is none.
document::TAEHtesto* LivePage(document::TAEHset& set, long index, platform::Messages& messages);

}  // namespace tarn::richtext
