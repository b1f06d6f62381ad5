// Searching and replacing words in stored pages.
#include "search/pagetextmatch.h"

#include <array>

#include "base/cp1252.h"
#include "document/aehoggetto.h"
#include "document/recordfields.h"
#include "markup/entities.h"
#include "markup/tokenizer.h"

namespace tarn::search {

namespace {

// The case table as an array: the search lower-cases every page it reads.
const std::array<char, 256>& LowerTable() {
  static const std::array<char, 256> table = [] {
    std::array<char, 256> t{};
    for (std::size_t c = 0; c < t.size(); ++c) t[c] = base::Cp1252Lower(static_cast<char>(c));
    return t;
  }();
  return table;
}

void AppendText(std::string& out, std::string_view text, bool lower) {
  if (!lower) {
    out += text;
    return;
  }
  const std::array<char, 256>& table = LowerTable();
  const std::size_t at = out.size();
  out.resize(at + text.size());
  for (std::size_t i = 0; i < text.size(); ++i) out[at + i] = table[static_cast<unsigned char>(text[i])];
}

std::string OlderPlainText(std::string_view markup, bool lower) {
  std::string out;
  std::size_t i = 0;
  while (i < markup.size()) {
    const std::size_t tag = markup.find('<', i);
    const std::size_t end = tag == std::string_view::npos ? markup.size() : tag;
    AppendText(out, markup.substr(i, end - i), lower);
    if (tag == std::string_view::npos) break;
    const std::size_t close = markup.find('>', tag);
    if (close == std::string_view::npos) break;
    i = close + 1;
  }
  return out;
}

// The stored bytes of a page: a view when the block is in memory, else a
// copy read from the file into `keep`.
std::string_view PageMarkup(const document::TAEHoggetto& page, std::string& keep) {
  const document::DataBlock& content = page.Content();
  if (content.source == document::DataBlock::Source::Memory) return markup::TextPart(content.View());
  if (!content.Present()) return {};
  keep = page.ReadContent().value_or(std::string());
  return markup::TextPart(keep);
}

bool Occurs(std::string_view plain, std::string_view word) {
  return !word.empty() && plain.find(word) != std::string_view::npos;
}

}  // namespace

std::string MarkupPlainText(std::string_view text, bool lower, bool olderGeneration) {
  if (olderGeneration) return OlderPlainText(text, lower);
  std::string out;
  out.reserve(text.size());
  markup::Tokenizer tokens(text);
  for (markup::Token t = tokens.Next(); t.kind != markup::TokenKind::kEnd; t = tokens.Next()) {
    switch (t.kind) {
      case markup::TokenKind::kText: AppendText(out, t.text, lower); break;
      case markup::TokenKind::kEntity:
        if (t.character >= 32) {
          const char c = static_cast<char>(t.character);
          out += lower ? LowerTable()[t.character] : c;
        }
        break;
      case markup::TokenKind::kParagraphTag: out += "\r\n"; break;
      default: break;
    }
  }
  return out;
}

std::string PagePlainText(const document::TAEHoggetto& page, bool lower) {
  std::string keep;
  const std::string_view markup = PageMarkup(page, keep);
  if (markup.empty()) return {};
  return MarkupPlainText(markup, lower, page.U8(document::field::kPageGeneration) == 1);
}

std::string TextMatch(std::string_view plain, WordCriteria words, int options) {
  if (words.Empty()) return {};
  if ((options & stMatchCase) == 0) {
    for (std::string* w : {&words.a, &words.b, &words.c, &words.d}) *w = base::LowerCase(*w);
  }
  words.Normalise();
  if (Occurs(plain, words.a) && (words.b.empty() || Occurs(plain, words.b))) return words.a;
  if (!words.c.empty() && Occurs(plain, words.c) && (words.d.empty() || Occurs(plain, words.d))) return words.c;
  return {};
}

std::string PageTextMatch(const document::TAEHoggetto& page, std::string_view a, std::string_view b,
                          std::string_view c, std::string_view d, int options) {
  WordCriteria words{std::string(a), std::string(b), std::string(c), std::string(d)};
  if (words.Empty() || page.ContentLength() <= 0) return {};
  const std::string plain = PagePlainText(page, (options & stMatchCase) == 0);
  if (plain.empty()) return {};
  return TextMatch(plain, std::move(words), options);
}

int ReplaceInMarkup(std::string& text, std::string_view word, std::string_view replacement, int options) {
  if (word.empty()) return 0;
  const std::string wanted = (options & stMatchCase) != 0 ? std::string(word) : base::LowerCase(word);
  std::string escaped;
  markup::AppendEscaped(escaped, replacement);
  const std::string_view body = markup::TextPart(text);
  std::string out;
  out.reserve(text.size());
  int count = 0;
  markup::Tokenizer tokens(body);
  for (markup::Token t = tokens.Next(); t.kind != markup::TokenKind::kEnd; t = tokens.Next()) {
    if (t.kind != markup::TokenKind::kText) {
      out += t.text;
      continue;
    }
    std::size_t done = 0;
    for (std::size_t hit = FindWord(t.text, wanted, 0, options); hit != std::string_view::npos;
         hit = FindWord(t.text, wanted, done, options)) {
      out += t.text.substr(done, hit - done);
      out += escaped;
      done = hit + wanted.size();
      ++count;
    }
    out += t.text.substr(done);
  }
  if (count == 0) return 0;
  out += std::string_view(text).substr(body.size());
  text = std::move(out);
  return count;
}

}  // namespace tarn::search
