// The main window's own commands from the command table: documents, modes,
// pages, options, help. The editor's commands and the export commands are
// bound from their own files.
#include <QAction>

#include <filesystem>

#include "app/ui/commandset.h"
#include "app/ui/editorcontrol.h"
#include "app/ui/mainform.h"
#include "app/ui/tipform.h"

namespace tarn::app::ui {

void TMainForm::BindWindowCommands() {
  CommandSet& c = *m_commands;
  c.Bind("FileNew", [this](const CommandCall&) {
    if (QuerySaveChanges()) NewBlankHypertext();
  });
  c.Bind("FileOpen", [this](const CommandCall&) {
    if (!QuerySaveChanges()) return;
    const std::string name = AskOpenFileName();
    if (!name.empty()) OpenDocumentFile(name, false);
  });
  c.Bind("FileSave", [this](const CommandCall&) { FileSave(); });
  c.Bind("FileSaveAs", [this](const CommandCall&) { FileSaveAs(); });
  c.Bind("Salvacomemodello1Click", [this](const CommandCall&) { SaveAsTemplate(); });
  c.Bind("FileExit", [this](const CommandCall&) { close(); });
  c.Bind("CoverButtonClick", [this](const CommandCall&) {
    m_editor->ShowCover();
    m_editor->RestoreFocus();
  });
  c.Bind("SummaryButtonClick", [this](const CommandCall&) {
    m_editor->ShowContents();
    m_editor->RestoreFocus();
  });
  // "&Read only" is the edit button inverted; either switches.
  c.Bind("Sololettura1Click", [this](const CommandCall& call) { SwitchMode(!call.checked); });
  c.Bind("EditButtonClick", [this](const CommandCall& call) { SwitchMode(call.checked); });
  c.Bind("Ricaricapagina1Click", [this](const CommandCall&) {
    const long page = m_editor->MainPageNumber();
    m_editor->SetMainPageNumber(-1);
    m_editor->SetMainPageNumber(page);
  });
  c.Bind("Vediquery1Click", [this](const CommandCall&) {
    QAction* button = Action("BDBloc");
    button->setChecked(!button->isChecked());
  });
  c.Bind("Opzionidelprogramma1Click", [this](const CommandCall&) { ShowOptions(0); });
  c.Bind("Opzioni2Click", [this](const CommandCall&) { ShowOptions(3); });
  c.Bind("HelpAbout", [this](const CommandCall&) {
    TFabout about(this);
    about.exec();
    m_editor->RestoreFocus();
  });
  // The help index and search are hidden; all they do is give the focus back.
  c.Bind("HelpContents", [this](const CommandCall&) { m_editor->RestoreFocus(); });
  c.Bind("HelpSearch", [this](const CommandCall&) { m_editor->RestoreFocus(); });
  c.Bind("Esempi1Click", [this](const CommandCall&) { OpenExamples(); });
}

void TMainForm::SaveAsTemplate() {
  std::error_code error;
  std::filesystem::create_directories(m_folders.HypTemplates(), error);
  const std::string stem =
      m_fileName == kUntitled ? std::string("Untitled1") : std::filesystem::path(m_fileName).stem().string();
  int filterIndex = 1;
  const std::string chosen = AskSaveFileName((m_folders.HypTemplates() / stem).string(), filterIndex);
  if (!chosen.empty()) SaveDocument(chosen, filterIndex, true, true);
  m_editor->RestoreFocus();
}

}  // namespace tarn::app::ui
