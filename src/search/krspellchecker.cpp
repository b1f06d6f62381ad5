// The spell checker and its interactive check.
#include "search/krspellchecker.h"

#include <algorithm>

#include "base/cp1252.h"

namespace tarn::search {

namespace {

constexpr int kProgressEnd = 100;

std::string StatusMessage(int status) {
  switch (status) {
    case kSpellUnknown:
    case kSpellReturningChangeOnce: return "Unknown word:";
    case kSpellInvalidHyphenation: return "Bad hypen:";
    case kSpellErrorCapitalization: return "Caps error:";
    case kSpellWordConsideredAbbreviation: return "Short form:";
    case kSpellNoSentenceStartCap: return "No sentence cap:";
    case kSpellRepeatWord: return "Repeated word:";
    case kSpellExtraSpaces: return "Extra spaces:";
    case kSpellMissingSpace: return "Missing space:";
    case kSpellInitialNumeral: return "Initial numeral:";
    default: return {};
  }
}

// The text of an extra-spaces error with the blanks before its last two
// characters taken out but one.
std::string OneBlank(std::string_view word) {
  std::string out;
  for (char c : word) {
    if (c == ' ' && !out.empty() && out.back() == ' ') continue;
    out += c;
  }
  return out;
}

}  // namespace

std::filesystem::path DefaultUserDictionary(const std::filesystem::path& dataHome) {
  return dataHome / "Tarn" / "CUSTOM.DIC";
}

TKrSpellChecker::TKrSpellChecker(std::vector<std::filesystem::path> folders, std::filesystem::path userDictionary)
    : m_folders(std::move(folders)), m_userDictionary(std::move(userDictionary)) {}

TKrSpellChecker::~TKrSpellChecker() { Close(); }

void TKrSpellChecker::SetOptions(int bits) {
  m_options = bits;
  m_engine.SetOptions(bits);
}

std::vector<DictionaryInfo> TKrSpellChecker::Languages() const {
  std::vector<DictionaryInfo> numbered;
  for (DictionaryInfo& d : FindDictionaries(m_folders)) {
    if (d.id != 0) numbered.push_back(std::move(d));
  }
  return numbered;
}

std::optional<DictionaryInfo> TKrSpellChecker::DictionaryFor(int id) const {
  const std::vector<DictionaryInfo> found = Languages();
  for (const DictionaryInfo& d : found) {
    if (d.id == id) return d;
  }
  // The primary language with its default sub-language, then any of it.
  const int primary = (id & 1023) + 1024;
  for (const DictionaryInfo& d : found) {
    if (d.id == primary) return d;
  }
  for (const DictionaryInfo& d : found) {
    if ((d.id & 1023) == (id & 1023)) return d;
  }
  return std::nullopt;
}

bool TKrSpellChecker::SetLanguage(int id) {
  if (IsOpen() || !DictionaryFor(id)) return false;
  m_language = id;
  return true;
}

std::string TKrSpellChecker::DialogCaption() const {
  std::string caption = Caption;
  if (const std::size_t at = caption.find("%s"); at != std::string::npos) caption.replace(at, 2, LanguageName(m_language));
  return caption;
}

bool TKrSpellChecker::Open() {
  if (IsOpen()) return true;
  const std::optional<DictionaryInfo> chosen = DictionaryFor(m_language);
  if (!chosen) return false;
  m_engine.SetOptions(m_options);
  if (OnOpen) OnOpen();
  return m_engine.Open(chosen->aff, chosen->dic, m_userDictionary);
}

void TKrSpellChecker::Close() {
  if (!IsOpen()) return;
  m_engine.Close();
  if (OnClose) OnClose();
}

std::vector<std::string> TKrSpellChecker::Suggest(const std::string& word) {
  return IsOpen() ? m_engine.Suggest(word) : std::vector<std::string>();
}
void TKrSpellChecker::IgnoreAll(const std::string& word) { m_engine.IgnoreAll(word); }
void TKrSpellChecker::AddWord(const std::string& word) { m_engine.AddWord(word); }

// ---- The interactive check ----

bool TKrSpellChecker::Check() {
  m_cancelled = false;
  if (!IsOpen() || !OnGetPar) return true;
  if (RunDialog) {
    RunDialog(*this);
  } else {
    Begin();
  }
  if (m_running) End();
  return !m_cancelled;
}

bool TKrSpellChecker::Begin() {
  m_cancelled = false;
  m_progress = 0;
  if (!IsOpen() || !OnGetPar) return false;
  m_running = true;
  int startpos = 0;
  m_text = OnGetPar(startpos);
  if (m_text.empty()) {
    End();
    return false;
  }
  if (startpos > 0) {
    const std::size_t blanks = std::min(m_text.size(), static_cast<std::size_t>(startpos) + 1);
    std::fill_n(m_text.begin(), blanks, ' ');
  }
  m_state = startpos == 0 ? 2 : 0;
  m_rest = 0;
  return Loop();
}

bool TKrSpellChecker::Loop() {
  while (m_running) {
    m_progress = m_progress >= kProgressEnd ? 0 : m_progress + 1;
    const SpellResult result = m_engine.Check(m_text, m_rest, m_state);
    m_state = 0;
    const int at = static_cast<int>(m_rest) + result.offset;
    if (result.status != kSpellOk && result.status != kSpellReturningChangeAlways && OnMisspelling) {
      OnMisspelling(result.status, at, result.length);
    }
    if (result.status == kSpellOk) {
      int ignored = 0;
      m_text = OnGetPar(ignored);
      if (m_text.empty()) {
        End();
        return false;
      }
      m_rest = 0;
      m_state = 2;
      continue;
    }
    m_error = {result.status, at, result.length};
    if (result.status == kSpellReturningChangeAlways) {
      const std::string with = m_engine.Replacement();
      Replace(at, result.length, with, kChangeOnce);
      // Going on after the replacement: a replacement that is itself in the
      // list would otherwise be replaced for ever.
      m_rest = static_cast<std::size_t>(at) + with.size();
      continue;
    }
    ShowError(result);
    return true;
  }
  return false;
}

void TKrSpellChecker::ShowError(const SpellResult& result) {
  const std::size_t at = static_cast<std::size_t>(m_error.offset);
  const std::size_t length = static_cast<std::size_t>(std::max(0, result.length));
  ErrorView view;
  view.status = result.status;
  view.message = StatusMessage(result.status);
  view.word = m_text.substr(at, length);
  const std::size_t lineStart = [&] {
    const std::size_t before = at == 0 ? std::string::npos : m_text.find_last_of("\r\n", at - 1);
    return before == std::string::npos ? 0 : before + 1;
  }();
  const std::size_t lineEnd = std::min(m_text.find_first_of("\r\n", at + length), m_text.size());
  view.line = m_text.substr(lineStart, lineEnd - lineStart);
  view.lineErrorStart = static_cast<int>(at - lineStart);
  switch (result.status) {
    case kSpellUnknown:
    case kSpellReturningChangeOnce:
    case kSpellInvalidHyphenation:
    case kSpellErrorCapitalization: view.suggestions = Suggest(view.word); break;
    case kSpellNoSentenceStartCap:
      if (!view.word.empty()) {
        std::string capital = view.word;
        capital[0] = base::Cp1252Upper(capital[0]);
        view.suggestions.push_back(capital);
      }
      break;
    case kSpellExtraSpaces: view.suggestions.push_back(OneBlank(view.word)); break;
    default: break;
  }
  const bool has = !view.suggestions.empty();
  view.changeEnabled = has;
  view.changeAllEnabled = has && result.status == kSpellUnknown;
  view.skipAllEnabled = result.status == kSpellUnknown;
  view.addEnabled = result.status == kSpellUnknown;
  if (result.status == kSpellRepeatWord) {
    view.deleteShown = true;
    view.changeEnabled = false;
  }
  if (result.status == kSpellReturningChangeOnce) {
    const std::string first = m_engine.Replacement();
    if (std::find(view.suggestions.begin(), view.suggestions.end(), first) == view.suggestions.end()) {
      view.suggestions.insert(view.suggestions.begin(), first);
    }
  }
  m_view = std::move(view);
}

void TKrSpellChecker::Replace(int at, int length, const std::string& with, int eventType) {
  const std::size_t from = static_cast<std::size_t>(std::max(0, at));
  m_text.replace(from, static_cast<std::size_t>(std::max(0, length)), with);
  if (OnChangeText) OnChangeText(at, length, with, eventType);
}

bool TKrSpellChecker::Change(const std::string& replacement, bool edited) {
  if (!m_running) return false;
  if (m_error.status == kSpellUnknown && !edited) m_engine.AddChange(m_view.word, replacement, false);
  Replace(m_error.offset, m_error.length, replacement, kChangeOnce);
  m_rest = static_cast<std::size_t>(m_error.offset);
  return Loop();
}

bool TKrSpellChecker::ChangeAll(const std::string& replacement) {
  if (!m_running) return false;
  m_engine.AddChange(m_view.word, replacement, true);
  Replace(m_error.offset, m_error.length, replacement, kChangeAll);
  m_rest = static_cast<std::size_t>(m_error.offset) + replacement.size();
  return Loop();
}

bool TKrSpellChecker::Skip() {
  if (!m_running) return false;
  m_rest = static_cast<std::size_t>(m_error.offset + m_error.length);
  return Loop();
}

bool TKrSpellChecker::SkipAll() {
  if (!m_running) return false;
  m_engine.IgnoreAll(m_view.word);
  return Skip();
}

bool TKrSpellChecker::Add() {
  if (!m_running) return false;
  m_engine.AddWord(m_view.word);
  m_rest = static_cast<std::size_t>(m_error.offset);
  return Loop();
}

bool TKrSpellChecker::Delete() {
  if (!m_running) return false;
  const int at = std::max(0, m_error.offset - 1);
  const int length = m_error.offset + m_error.length - at;
  Replace(at, length, {}, kChangeOnce);
  m_rest = std::min(m_text.size(), static_cast<std::size_t>(at) + 1);
  return Loop();
}

void TKrSpellChecker::SkipPage() {
  if (m_running) End();
}

void TKrSpellChecker::CloseCheck() {
  m_cancelled = true;
  if (m_running) End();
}

void TKrSpellChecker::End() {
  m_running = false;
  if (OnEnd) OnEnd();
}

}  // namespace tarn::search
