// A hypertext for the RTF and text converters' tests (the HTML converter's
// fixture, with its helpers that make pages, links and objects), and helpers
// that read back what an import made.
#pragma once

#include <string>
#include <vector>

#include "convert/htmlfixture.h"
#include "document/aehtesto.h"

namespace tarn::convert::testing {

class ConvertFixture : public HtmlFixture {
 public:
  // The live pages' markup (without the byte 0), in record order.
  std::vector<std::string> Pages() const {
    std::vector<std::string> pages;
    for (int i = 0; i < set->CountOf(document::testoHtml); ++i) {
      const document::TAEHoggetto* page = set->GetObject(document::testoHtml, i);
      if (page == nullptr || page->IsFree()) continue;
      pages.push_back(Markup(*page));
    }
    return pages;
  }
  static std::string Markup(const document::TAEHoggetto& page) {
    std::string text = page.ReadContent().value_or(std::string());
    return text.substr(0, text.find('\0'));
  }
  std::string Title(int page) const { return set->GetObject(document::testoHtml, page)->GetCaption(); }
  std::string StyleName(int index) const { return set->GetObject(document::stileParagrafo, index)->GetCaption(); }
};

}  // namespace tarn::convert::testing
