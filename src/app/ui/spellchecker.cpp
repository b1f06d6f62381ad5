// The main window's spell checker.
#include "app/ui/spellchecker.h"

#include <cstdlib>

#include "app/ui/spellerdialog.h"
#include "document/aehset.h"
#include "objects/ui/framesetwidget.h"
#include "page/aehpage.h"
#include "page/ui/pageview.h"
#include "platform/registry.h"
#include "richtext/ui/aehbox.h"

namespace tarn::app::ui {

namespace {

// The caption the main window gives the check's dialog.
constexpr const char* kMainCaption = "Controllo ortografico %s";

// The language of the desktop ("it_IT.UTF-8" gives 1040), or 0.
int DesktopLanguage() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') continue;
    std::string locale(value);
    locale = locale.substr(0, locale.find_first_of(".@"));
    // The portable locale speaks American English.
    if (locale == "C" || locale == "POSIX") locale = "en_US";
    return search::LanguageIdOf(locale);
  }
  return 0;
}

}  // namespace

SpellChecker::SpellChecker(objects::ui::TInsiemeCornici& editor, std::vector<std::filesystem::path> folders,
                           std::filesystem::path userDictionary, QObject* parent)
    : QObject(parent), m_guard(&editor), m_editor(editor), m_checker(std::move(folders), std::move(userDictionary)) {
  m_checker.Caption = kMainCaption;
  m_editor.SetSpellHandler(this);
  m_editor.Model().Speller = &m_checker.Engine();
}

SpellChecker::~SpellChecker() {
  if (m_guard.isNull()) return;
  m_editor.SetSpellHandler(nullptr);
  for (page::TAEHpage* view : m_editor.Model().Views()) view->StopSpellThread();
  m_editor.Model().Speller = nullptr;
}

void SpellChecker::Start(platform::Registry& registry) {
  // Until the author chooses a language, the desktop's is the better guess
  // than the fixed default when its dictionary is installed.
  if (ReadSpellOptions(registry, *this) == -1) {
    const int desktop = DesktopLanguage();
    if (desktop != 0) m_checker.SetLanguage(desktop);
  }
  if (m_checker.Open()) return;
  // The stored or default language has no dictionary here: the desktop's
  // language, else the first one installed.
  const auto installed = m_checker.Languages();
  int fallback = DesktopLanguage();
  if (fallback == 0 || !m_checker.SetLanguage(fallback)) {
    if (!installed.empty()) m_checker.SetLanguage(installed.front().id);
  }
  m_checker.Open();
}

std::vector<SpellLanguage> SpellChecker::Languages() {
  std::vector<SpellLanguage> languages;
  for (const search::DictionaryInfo& d : m_checker.Languages()) languages.push_back({d.id, d.name});
  return languages;
}

void SpellChecker::Close() {
  for (page::TAEHpage* view : m_editor.Model().Views()) view->StopSpellThread();
  m_checker.Close();
}

bool SpellChecker::Open() {
  const bool open = m_checker.Open();
  if (open) m_editor.SpellCheckPage();
  return open;
}

void SpellChecker::SetOptions(int bits) {
  m_checker.SetOptions(bits);
  if (m_checker.IsOpen()) m_editor.SpellCheckPage();
}

bool SpellChecker::AutoCheck() const { return m_editor.Model().AutoSpell; }

void SpellChecker::SetAutoCheck(bool on) {
  m_editor.Model().AutoSpell = on;
  if (on) m_editor.SpellCheckPage();
}

void SpellChecker::SpellCheckFrom(objects::ui::TInsiemeCornici& /*frameSet*/, QWidget* box) {
  auto* textBox = qobject_cast<richtext::ui::TAEHbox*>(box);
  if (textBox == nullptr) return;
  const richtext::CharPos caret = textBox->Text().SelectionStart();
  CheckPage(textBox, caret.paragraph, caret.character);
}

void SpellChecker::SpellCheckFromCaret() {
  richtext::ui::TAEHbox* box = m_editor.ActiveBox();
  if (box == nullptr) return;
  const richtext::CharPos caret = box->Text().SelectionStart();
  CheckPage(box, caret.paragraph, caret.character);
}

bool SpellChecker::CheckPage(richtext::ui::TAEHbox* box, int paragraph, int character) {
  if (!m_checker.IsOpen() || box == nullptr) return true;
  page::TAEHpage* view = m_editor.PageOfBox(box);
  auto* pageBox = view != nullptr ? dynamic_cast<page::ui::PageBox*>(view->Box()) : nullptr;
  richtext::ui::TAEHbox* widget = pageBox != nullptr ? pageBox->Widget() : nullptr;
  if (widget == nullptr) return true;
  objects::TAEHCustomFrameSet& model = m_editor.Model();
  const bool autoSpell = model.AutoSpell;
  model.AutoSpell = false;
  view->StopSpellThread();

  richtext::RichText& root = view->Box()->Text();
  const int last = static_cast<int>(root.paragraphs.size()) - view->Box()->FooterCount();
  page::TAEHpar walk(root, view->Box()->HeaderCount(), last);
  bool positioned = paragraph < 0;
  int current = -1;
  bool inPageBox = false;
  m_checker.OnGetPar = [&](int& startpos) -> std::string {
    while (walk.Next()) {
      const richtext::TAEHparag* p = walk.Current();
      if (p == nullptr) continue;
      if (!positioned) {
        if (walk.CurrentBox() != &root || walk.CurrentIndex() != paragraph) continue;
        positioned = true;
        // Checking starts at the word that holds the position.
        int i = std::min(character, static_cast<int>(p->text.size()));
        while (i > 0 && p->text[static_cast<std::size_t>(i - 1)] != ' ') --i;
        startpos = std::max(0, i - 1);
      }
      if (p->text.empty()) continue;
      current = walk.CurrentIndex();
      // FIXME: words in table cells are checked but shown and corrected only
      // once table cells have boxes of their own on screen.
      inPageBox = walk.CurrentBox() == &root;
      return p->text;
    }
    return {};
  };
  m_checker.OnMisspelling = [&](int, int at, int length) {
    if (!inPageBox) return;
    widget->SelectRange({current, at}, {current, at + length});
    widget->ScrollCaretIntoView();
    widget->setFocus(Qt::OtherFocusReason);
  };
  m_checker.OnChangeText = [&](int at, int length, const std::string& word, int) {
    if (!inPageBox) return;
    widget->SelectRange({current, at}, {current, at + length});
    widget->TextAttributes().ReplaceSelection(word);
    const int end = at + static_cast<int>(word.size());
    widget->SelectRange({current, end}, {current, end});
    widget->update();
  };
  m_checker.OnEnd = [&] {
    const richtext::CharPos caret = widget->Text().SelectionEnd();
    widget->SelectRange(caret, caret);
  };
  m_checker.RunDialog = [this](search::TKrSpellChecker& checker) {
    if (runDialog) {
      runDialog(checker);
      return;
    }
    TKrSpellerDialog dialog(checker, m_editor.window());
    dialog.Run();
  };
  m_checker.Check();
  const bool going = !m_checker.Cancelled();
  // The handlers hold this frame's variables.
  m_checker.OnGetPar = nullptr;
  m_checker.OnMisspelling = nullptr;
  m_checker.OnChangeText = nullptr;
  m_checker.OnEnd = nullptr;
  model.AutoSpell = autoSpell;
  view->StartSpellCheck(0);
  return going;
}

void SpellChecker::SpellCheckHypertext() {
  objects::TAEHCustomFrameSet& model = m_editor.Model();
  document::TAEHset* set = model.LinkedSet();
  if (!m_checker.IsOpen() || set == nullptr) return;
  const bool nested = m_editor.ShowNested();
  const long shown = m_editor.MainPageNumber();
  const bool autoSpell = model.AutoSpell;
  m_editor.SetShowNested(false);
  model.AutoSpell = false;
  m_checker.SkipPageOffered = true;
  for (int n = 0; n < set->CountOf(document::testoHtml); ++n) {
    const document::TAEHoggetto* page = set->GetObject(document::testoHtml, n);
    if (page == nullptr || page->IsFree()) continue;
    m_editor.SetMainPageNumber(n);
    richtext::ui::TAEHbox* box = model.Top() != nullptr ? m_editor.BoxOf(*model.Top()) : nullptr;
    if (!CheckPage(box, -1, 0)) break;
  }
  m_checker.SkipPageOffered = false;
  m_editor.SetShowNested(nested);
  m_editor.SetMainPageNumber(shown);
  model.AutoSpell = autoSpell;
  m_editor.SpellCheckPage();
}

}  // namespace tarn::app::ui
