// The editor control's spelling: the spelling menu's services, handed to
// the program's checker, and the background check of the pages shown.
#include "objects/ui/framesetwidget.h"

namespace tarn::objects::ui {

std::vector<std::string> TInsiemeCornici::Suggest(const std::string& word) {
  return m_spellHandler != nullptr ? m_spellHandler->Suggest(word) : std::vector<std::string>{};
}

void TInsiemeCornici::IgnoreAll(const std::string& word) {
  if (m_spellHandler != nullptr) m_spellHandler->IgnoreAll(word);
}

void TInsiemeCornici::AddWord(const std::string& word) {
  if (m_spellHandler != nullptr) m_spellHandler->AddWord(word);
}

void TInsiemeCornici::SpellCheckFrom(QWidget* box) {
  if (m_spellHandler != nullptr) m_spellHandler->SpellCheckFrom(*this, box);
}

void TInsiemeCornici::RestartBackgroundCheck(QWidget* /*box*/) {
  // A word accepted or replaced may be marked in any paragraph: every
  // paragraph of the pages shown is checked again.
  SpellCheckPage();
}

void TInsiemeCornici::SpellCheckPage() {
  for (page::TAEHpage* view : m_model->Views()) view->StartSpellCheck(1);
}

}  // namespace tarn::objects::ui
