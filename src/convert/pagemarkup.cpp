// A page's markup for a converter's walk; see pagemarkup.h.
#include "convert/pagemarkup.h"

#include "document/aehset.h"
#include "document/recordfields.h"
#include "markup/tokenizer.h"

namespace tarn::convert {

PageMarkup::PageMarkup(document::TAEHoggetto& page) {
  using document::DataBlock;
  if (page.Kind() == document::testoHtml && page.U8(document::field::kPageGeneration) == 1 &&
      page.Owner() != nullptr && page.Owner()->OlderTextConverter) {
    page.Owner()->OlderTextConverter(page);
  }
  const DataBlock& content = page.Content();
  if (content.source == DataBlock::Source::Memory) {
    m_keep = content.buffer;
    m_text = content.View();
  } else if (content.Present()) {
    m_copy = page.ReadContent().value_or(std::string());
    m_text = m_copy;
  }
  m_text = markup::TextPart(m_text);
}

}  // namespace tarn::convert
