// Imports arbitrary bytes as an HTML page into a new hypertext. Bytes after
// a NUL, "CSS" and NUL are the style sheet any LINK element reads. The page
// must start with a paragraph tag and every table in it must be followed by
// exactly its cells.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/compose.h"
#include "convert/aehtohtml.h"
#include "document/aehset.h"
#include "document/aehtesto.h"
#include "platform/testing/testplatform.h"

namespace {

using namespace tarn;

bool TablesWhole(const document::TAEHset& set, std::string_view m) {
  std::vector<int> left;
  for (std::size_t i = 0; i < m.size(); ++i) {
    if (m[i] != '<') continue;
    const std::size_t close = m.find('>', i);
    if (close == std::string_view::npos) return left.empty();
    const std::string_view tag = m.substr(i, close + 1 - i);
    i = close;
    if (tag == "<T>") {
      if (left.empty()) return false;
      if (--left.back() == 0) left.pop_back();
    } else if (tag.size() == 11 && tag.starts_with("<$08")) {
      const auto* t = set.GetObjectById(static_cast<document::ObjectId>(std::strtoul(std::string(tag.substr(2, 8)).c_str(), nullptr, 16)));
      if (t == nullptr) return false;
      left.push_back(t->U8(93) * t->U8(94));
    }
  }
  return left.empty();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  constexpr std::string_view kSeparator("\0CSS\0", 5);
  const std::size_t split = input.find(kSeparator);
  const std::string_view html = input.substr(0, split);
  const std::string css(split == std::string_view::npos ? std::string_view() : input.substr(split + kSeparator.size()));

  platform::testing::RecordingMessages messages;
  document::TAEHset set({&messages, nullptr, nullptr, nullptr});
  app::Compose(set);
  set.NewHypertext();
  convert::TAEHtoHtml converter;
  converter.SetLinkedAEHset(&set);
  converter.ImportFileReader = [&css](const std::filesystem::path&, std::string& out) {
    out = css;
    return true;
  };
  const int page = converter.ImportHtmlSource(html, "/nonexistent/fuzz/page.html");
  const auto* text = dynamic_cast<const document::TAEHtesto*>(set.GetObject(document::testoHtml, page));
  if (text == nullptr) std::abort();
  const std::string markup = text->Markup();
  if (!markup.starts_with("<Z S")) std::abort();
  if (!TablesWhole(set, markup.substr(0, markup.find('\0')))) std::abort();
  return 0;
}
