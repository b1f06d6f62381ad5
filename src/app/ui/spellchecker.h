// The main window's spell checker: the checker of one language opened at
// start with the stored options, the settings the options dialog changes,
// the spelling menu's services for the editor control, the interactive
// check of a page from the caret and of the whole hypertext, and the
// background check's engine.
#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/spellsettings.h"
#include "objects/ui/spellhandler.h"
#include "search/krspellchecker.h"

class QWidget;

namespace tarn::platform {
class Registry;
}
namespace tarn::objects::ui {
class TInsiemeCornici;
}
namespace tarn::richtext::ui {
class TAEHbox;
}

namespace tarn::app::ui {

class SpellChecker : public QObject, public SpellCheckerSettings, public objects::SpellHandler {
 public:
  // folders: where dictionaries are looked for; userDictionary: the file of
  // added words.
  SpellChecker(objects::ui::TInsiemeCornici& editor, std::vector<std::filesystem::path> folders,
               std::filesystem::path userDictionary, QObject* parent);
  ~SpellChecker() override;

  // Reads the stored options and opens the checker: the stored language, or
  // the default one; when its dictionary is missing, the desktop's language,
  // else the first installed one.
  void Start(platform::Registry& registry);
  search::TKrSpellChecker& Checker() { return m_checker; }

  // ---- The checks ----
  // From the caret of the active box (the page spell-check command).
  void SpellCheckFromCaret();
  void SpellCheckHypertext();
  // Runs a check's dialog (modal unless replaced, for tests).
  std::function<void(search::TKrSpellChecker& checker)> runDialog;

  // ---- SpellCheckerSettings ----
  std::vector<SpellLanguage> Languages() override;
  int Language() const override { return m_checker.Language(); }
  void SetLanguage(int id) override { m_checker.SetLanguage(id); }
  void Close() override;
  bool Open() override;
  int Options() const override { return m_checker.Options(); }
  void SetOptions(int bits) override;
  bool ProgressWindow() const override { return m_checker.ShowProgressWin; }
  void SetProgressWindow(bool shown) override { m_checker.ShowProgressWin = shown; }
  bool AutoCheck() const override;
  void SetAutoCheck(bool on) override;

  // ---- objects::SpellHandler ----
  std::vector<std::string> Suggest(const std::string& word) override { return m_checker.Suggest(word); }
  void IgnoreAll(const std::string& word) override { m_checker.IgnoreAll(word); }
  void AddWord(const std::string& word) override { m_checker.AddWord(word); }
  void SpellCheckFrom(objects::ui::TInsiemeCornici& frameSet, QWidget* box) override;

 private:
  struct PageCheck;
  // Connects the page shown to the checker from the paragraph and character
  // given (the page's first paragraph when paragraph is -1) and runs the
  // check; false when the user closed the dialog.
  bool CheckPage(richtext::ui::TAEHbox* box, int paragraph, int character);

  // The editor may go first when the main window's children are freed.
  QPointer<objects::ui::TInsiemeCornici> m_guard;
  objects::ui::TInsiemeCornici& m_editor;
  search::TKrSpellChecker m_checker;
};

}  // namespace tarn::app::ui
