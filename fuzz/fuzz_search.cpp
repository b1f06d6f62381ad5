// Stored markup searched and replaced, and any text checked for spelling:
// the plain text, the word criteria, the replacement (which must leave a
// text whose tags read the same), and the engine's walk over words, which
// must report errors inside the text it was given.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "markup/tokenizer.h"
#include "search/hunspellengine.h"
#include "search/pagetextmatch.h"

namespace {

tarn::search::HunspellEngine& Engine() {
  static tarn::search::HunspellEngine engine;
  static const bool opened = [] {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "tarn-fuzz-search";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "xx.aff") << "SET UTF-8\n";
    std::ofstream(folder / "xx.dic") << "3\nthe\ncat\ndog\n";
    engine.SetOptions(tarn::search::spoFindRepeatWord | tarn::search::spoFindUncappedSentences);
    return engine.Open(folder / "xx.aff", folder / "xx.dic", {});
  }();
  (void)opened;
  return engine;
}

std::size_t Tags(std::string_view text) {
  std::size_t tags = 0;
  tarn::markup::Tokenizer tokens(tarn::markup::TextPart(text));
  for (auto t = tokens.Next(); t.kind != tarn::markup::TokenKind::kEnd; t = tokens.Next()) {
    if (t.kind != tarn::markup::TokenKind::kText && t.kind != tarn::markup::TokenKind::kControls &&
        t.kind != tarn::markup::TokenKind::kEntity) {
      ++tags;
    }
  }
  return tags;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const int options = data[0] & 3;
  const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::size_t split = rest.find('\x01');
  const std::string_view word = split == std::string_view::npos ? std::string_view("a") : rest.substr(0, split);
  const std::string_view markup = split == std::string_view::npos ? rest : rest.substr(split + 1);

  const std::string plain = tarn::search::MarkupPlainText(markup, (options & 2) == 0);
  tarn::search::TextMatch(plain, {std::string(word), "b", "", "c"}, options);
  std::string replaced(markup);
  const std::size_t before = Tags(replaced);
  tarn::search::ReplaceInMarkup(replaced, word, "<&x>", options);
  if (Tags(replaced) != before) __builtin_trap();

  auto& engine = Engine();
  std::size_t offset = 0;
  int state = 2;
  for (int steps = 0; steps < 10000; ++steps) {
    const tarn::search::SpellResult r = engine.Check(markup, offset, state);
    if (r.status == 0) break;
    if (r.offset < 0 || r.length <= 0 || offset + static_cast<std::size_t>(r.offset + r.length) > markup.size()) {
      __builtin_trap();
    }
    offset += static_cast<std::size_t>(r.offset + r.length);
    state = 1;
  }
  return 0;
}
