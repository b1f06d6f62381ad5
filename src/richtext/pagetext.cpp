// A page's text read outside the editor; see pagetext.h.
#include "richtext/pagetext.h"

#include <string>

#include "document/aehset.h"
#include "document/aehtesto.h"
#include "document/recordfields.h"
#include "platform/messages.h"

namespace tarn::richtext {
namespace {

WorkingForm FormOf(document::TAEHset& set, document::TAEHtesto& page) {
  if (page.U8(document::field::kPageGeneration) == 1 && set.OlderTextConverter) set.OlderTextConverter(page);
  return ToWorkingForm(page.Markup());
}

}  // namespace

PageText::PageText(document::TAEHset& set, document::TAEHtesto& page, platform::TextMeasurer* measurer,
                   platform::Messages* messages)
    : m_form(FormOf(set, page)), m_objects(set, m_form), m_host(set, measurer, messages) {
  m_host.objectLookup = [this](std::int32_t id) { return m_objects.Find(id); };
  MarkupStream stream(m_form.markup);
  ReadText(m_text, stream, m_host);
}

document::TAEHtesto* LivePage(document::TAEHset& set, long index, platform::Messages& messages) {
  auto* page = index >= 0 && index <= document::kMaxIndex
                   ? dynamic_cast<document::TAEHtesto*>(set.GetObject(document::testoHtml, index))
                   : nullptr;
  if (page == nullptr || page->IsFree()) {
    messages.Error("Page " + std::to_string(index) + " does not exist.");
    return nullptr;
  }
  return page;
}

}  // namespace tarn::richtext
