// Tokenizes arbitrary bytes as markup. Every scanner of markup reads through
// the tokenizer, so its tokens must cover the text exactly, one after
// another, and the references it reports must stand where it says.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "markup/tokenizer.h"
#include "richtext/localform.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarn::markup;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  Tokenizer tokens(text);
  std::size_t expected = 0;
  for (Token t = tokens.Next();; t = tokens.Next()) {
    if (t.at != expected) std::abort();
    if (t.kind == TokenKind::kEnd) break;
    if (t.text.empty() || t.End() > text.size() || t.text.data() != text.data() + t.at) std::abort();
    if (!t.closed && t.End() != text.size()) std::abort();
    expected = t.End();
  }
  if (expected != text.size()) std::abort();

  // Reading a paragraph tag where a paragraph is expected moves forward.
  Tokenizer paragraphs(text);
  for (Token t = paragraphs.NextAsParagraphTag(); t.kind != TokenKind::kEnd;
       t = paragraphs.NextAsParagraphTag()) {
    if (t.text.front() != '<' || t.End() <= t.at) std::abort();
  }

  std::size_t last = 0;
  ForEachReference(text, [&](const Token& t) {
    if (t.at < last || text.substr(t.at, 2) != "<$") std::abort();
    last = t.at + 1;
  });
  // Rewriting every reference to itself changes nothing but the case of
  // its digits.
  const std::string same = tarn::richtext::RewriteTags(text, [](std::uint32_t v) { return v; });
  if (same.size() != text.size()) std::abort();
  for (std::size_t i = 0; i < same.size(); ++i) {
    const char c = text[i] >= 'A' && text[i] <= 'F' ? static_cast<char>(text[i] - 'A' + 'a') : text[i];
    if (same[i] != text[i] && same[i] != c) std::abort();
  }
  return 0;
}
