// tarn-cli find, replace and spell over the pages of a hypertext.
#include "search.h"

#include <cstdio>
#include <memory>

#include "app/compose.h"
#include "app/desktopinstall.h"
#include "base/cp1252.h"
#include "climessages.h"
#include "document/aehset.h"
#include "document/recordfields.h"
#include "platform/system.h"
#include "search/krspellchecker.h"
#include "search/pagetextmatch.h"

namespace tarn::cli {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

std::string Utf8(std::string_view cp1252) { return base::Cp1252ToUtf8(cp1252); }

// Words on the command line are UTF-8; the document's are cp1252.
bool ToDocument(const std::string& utf8, std::string& out) {
  auto converted = base::Utf8ToCp1252(utf8);
  if (!converted) {
    std::fprintf(stderr, "\"%s\" has characters the document's code page lacks.\n", utf8.c_str());
    return false;
  }
  out = std::move(*converted);
  return true;
}

struct Opened {
  CliMessages messages;
  platform::HostSystemInfo system;
  std::unique_ptr<document::TAEHset> set;
  bool Load(const std::string& file) {
    set = std::make_unique<document::TAEHset>(platform::Services{&messages, &system, nullptr, nullptr});
    app::Compose(*set);
    return set->LoadFromFile(file);
  }
};

// The live pages in index order.
template <typename Visit>
void ForEachPage(document::TAEHset& set, Visit visit) {
  for (int i = 0; i < set.CountOf(document::testoHtml); ++i) {
    document::TAEHoggetto* page = set.GetObject(document::testoHtml, i);
    if (page != nullptr && !page->IsFree()) visit(i, *page);
  }
}

}  // namespace

int Find(const std::vector<std::string>& args) {
  std::vector<std::string> plain;
  int options = 0;
  for (const std::string& a : args) {
    if (a == "--whole-word") options |= search::stWholeWord;
    else if (a == "--case") options |= search::stMatchCase;
    else if (a.starts_with("--")) return kExitUsage;
    else plain.push_back(a);
  }
  if (plain.size() != 2) return kExitUsage;
  std::string expression;
  if (!ToDocument(plain[1], expression)) return kExitFailed;
  search::WordCriteria words;
  std::string error;
  if (!search::ParseWordCriteria(expression, words, error)) {
    std::fprintf(stderr, "Cannot read \"%s\": %s.\n", plain[1].c_str(), error.c_str());
    return kExitUsage;
  }
  Opened opened;
  if (!opened.Load(plain[0])) return kExitFailed;
  int found = 0;
  ForEachPage(*opened.set, [&](int index, document::TAEHoggetto& page) {
    const std::string word = search::PageTextMatch(page, words.a, words.b, words.c, words.d, options);
    if (word.empty()) return;
    // The window's list sifts by substrings; whole words are honoured here
    // by looking for the word found as a word.
    if ((options & search::stWholeWord) != 0) {
      const std::string text = search::PagePlainText(page, (options & search::stMatchCase) == 0);
      if (search::FindWord(text, word, 0, options) == std::string::npos) return;
    }
    std::printf("%4d  %-40s  %s\n", index, Utf8(page.GetCaption()).c_str(), Utf8(word).c_str());
    ++found;
  });
  std::printf("%d page%s found.\n", found, found == 1 ? "" : "s");
  return kExitOk;
}

int Replace(const std::vector<std::string>& args) {
  std::vector<std::string> plain;
  std::string out;
  int options = 0;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--whole-word") options |= search::stWholeWord;
    else if (a == "--case") options |= search::stMatchCase;
    else if (a == "--out" && i + 1 < args.size()) out = args[++i];
    else if (a.starts_with("--")) return kExitUsage;
    else plain.push_back(a);
  }
  if (plain.size() != 3 || out.empty()) return kExitUsage;
  std::string word, replacement;
  if (!ToDocument(plain[1], word) || !ToDocument(plain[2], replacement)) return kExitFailed;
  if (word.empty()) return kExitUsage;
  Opened opened;
  if (!opened.Load(plain[0])) return kExitFailed;
  document::TAEHset& set = *opened.set;
  int total = 0, pages = 0;
  ForEachPage(set, [&](int index, document::TAEHoggetto& page) {
    if (page.U8(document::field::kPageGeneration) == 1 && set.OlderTextConverter) set.OlderTextConverter(page);
    std::optional<std::string> content = page.ReadContent();
    if (!content) return;
    const int count = search::ReplaceInMarkup(*content, word, replacement, options);
    if (count == 0) return;
    page.SetContent(std::move(*content));
    std::printf("%4d  %-40s  %d\n", index, Utf8(page.GetCaption()).c_str(), count);
    total += count;
    ++pages;
  });
  if (total > 0) set.SetModified(true);
  if (!set.SaveToFile(out, 2)) {
    for (const auto& e : set.SaveErrors()) opened.messages.Error(e);
    return kExitFailed;
  }
  std::printf("%d replacement%s in %d page%s.\n", total, total == 1 ? "" : "s", pages, pages == 1 ? "" : "s");
  return kExitOk;
}

int Spell(const std::vector<std::string>& args) {
  std::string file;
  std::string locale = "en_US";
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--lang" && i + 1 < args.size()) locale = args[++i];
    else if (args[i].starts_with("--") || !file.empty()) return kExitUsage;
    else file = args[i];
  }
  if (file.empty()) return kExitUsage;
  std::optional<search::DictionaryInfo> dictionary;
  const auto installed = search::FindDictionaries(search::DictionaryFolders());
  for (const auto& d : installed) {
    if (d.locale == locale) dictionary = d;
  }
  if (!dictionary) {
    std::string list;
    for (const auto& d : installed) list += " " + d.locale;
    std::fprintf(stderr, "No dictionary for %s is installed (installed:%s).\n", locale.c_str(),
                 list.empty() ? " none" : list.c_str());
    return kExitFailed;
  }
  search::HunspellEngine engine;
  if (!engine.Open(dictionary->aff, dictionary->dic, search::DefaultUserDictionary(app::UserDataHome()))) {
    std::fprintf(stderr, "The dictionary for %s cannot be read.\n", locale.c_str());
    return kExitFailed;
  }
  Opened opened;
  if (!opened.Load(file)) return kExitFailed;
  int total = 0;
  ForEachPage(*opened.set, [&](int index, document::TAEHoggetto& page) {
    const std::string text = search::PagePlainText(page, false);
    std::string words;
    int count = 0;
    std::size_t offset = 0;
    for (search::SpellResult r = engine.Check(text, 0, 2); r.status != 0 && r.length > 0;
         r = engine.Check(text, offset, 1)) {
      offset += static_cast<std::size_t>(r.offset);
      words += " " + Utf8(text.substr(offset, static_cast<std::size_t>(r.length)));
      offset += static_cast<std::size_t>(r.length);
      ++count;
    }
    if (count == 0) return;
    std::printf("%4d  %s:%s\n", index, Utf8(page.GetCaption()).c_str(), words.c_str());
    total += count;
  });
  std::printf("%d misspelled word%s.\n", total, total == 1 ? "" : "s");
  return kExitOk;
}

}  // namespace tarn::cli
