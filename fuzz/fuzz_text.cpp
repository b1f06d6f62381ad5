// Reads arbitrary bytes as a text file (its encoding recognised) into pages,
// as pasted text in both modes, and as markup written out as plain text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/compose.h"
#include "convert/aehtotxt.h"
#include "document/aehset.h"
#include "platform/testing/testplatform.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarn;
  static platform::testing::RecordingMessages messages;
  messages.Clear();
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  document::TAEHset set({&messages, nullptr, nullptr, nullptr});
  app::Compose(set);
  convert::TAEHtoTxt text;
  text.SetLinkedAEHset(&set);
  text.ParagraphsPerPage = size > 0 ? data[0] % 4 : 0;
  text.ImportFileText(bytes);
  std::string container;
  text.ConvertPaste(bytes, container, 0, 2);
  container.clear();
  text.ConvertPaste(bytes, container, 1, 0);
  text.PlainText(bytes);
  for (int i = 0; i < set.CountOf(document::testoHtml); ++i) {
    document::TAEHoggetto* page = set.GetObject(document::testoHtml, i);
    if (page != nullptr) text.PlainText(page->ReadContent().value_or(std::string()));
  }
  return 0;
}
