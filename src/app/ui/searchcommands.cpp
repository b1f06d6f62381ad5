// The Search menu and the spell-check commands.
#include "app/ui/searchcommands.h"

#include <QAction>
#include <QComboBox>
#include <QStatusBar>

#include "app/desktopinstall.h"
#include "app/ui/commandset.h"
#include "app/ui/fcerca.h"
#include "app/ui/spellchecker.h"
#include "objects/ui/framesetwidget.h"

namespace tarn::app::ui {

SearchCommands::SearchCommands(CommandSet& commands, Host host, QObject* parent)
    : QObject(parent),
      m_commands(commands),
      m_host(std::move(host)),
      m_speller(new SpellChecker(m_host.editor, search::DictionaryFolders(),
                                 search::DefaultUserDictionary(UserDataHome()), this)) {
  m_speller->Start(m_host.registry);
  auto show = [this](TFcerca::Tab tab) { return [this, tab](const CommandCall&) { Window().ShowTab(tab); }; };
  commands.Bind("Cercasostituisci1Click", show(TFcerca::kWordTab));
  commands.Bind("Cercaconoperatori1Click", show(TFcerca::kWordTab));
  commands.Bind("CercaSostituisci2Click", show(TFcerca::kReplaceTab));
  commands.Bind("CercaKeyButtonClick", show(TFcerca::kKeywordTab));
  // F3 and F4 act on the window's active tab; before there is anything to
  // search for they open the window.
  commands.Bind("Ripetiultimaricerca1Click", [this](const CommandCall&) {
    if (Ready()) m_window->F3();
    else Window().ShowTab(TFcerca::kWordTab);
  });
  commands.Bind("RepeatSearchInHypertextClick", [this](const CommandCall&) {
    if (Ready()) m_window->F4();
    else Window().ShowTab(TFcerca::kWordTab);
  });
  commands.Bind("Controlloortografia1Click", [this](const CommandCall&) { m_speller->SpellCheckFromCaret(); });
  commands.Bind("SpellCheckHypertextClick", [this](const CommandCall&) { m_speller->SpellCheckHypertext(); });
  UpdateSpellCommands();
}

SearchCommands::~SearchCommands() = default;

bool SearchCommands::Ready() const {
  return m_window != nullptr && (m_window->isVisible() || !m_window->Word(0)->currentText().isEmpty());
}

TFcerca& SearchCommands::Window() {
  if (m_window == nullptr) {
    m_window = new TFcerca({m_host.set, m_host.editor, m_host.messages, m_host.registry,
                            [this](const QString& text) {
                              if (m_host.statusBar != nullptr) m_host.statusBar->showMessage(text);
                            }},
                           &m_host.window);
  }
  return *m_window;
}

void SearchCommands::EditModeChanged() {
  if (m_window != nullptr) m_window->ReadOnlyChanged();
  UpdateSpellCommands();
}

void SearchCommands::UpdateSpellCommands() {
  // Without an open checker the two checks have nothing to run.
  const bool open = m_speller->Checker().IsOpen();
  for (const char* method : {"Controlloortografia1Click", "SpellCheckHypertextClick"}) {
    for (QAction* action : m_commands.ActionsOf(method)) action->setEnabled(open);
  }
}

}  // namespace tarn::app::ui
