// Opening an HTML file from the File menu: the author chooses what the file
// becomes (TFScegliApriHtml), and the choice runs through the importers or,
// for a page this program exported, through the hypertext it came from.
#include <system_error>

#include "app/ui/editorcontrol.h"
#include "app/ui/exportcommands.h"
#include "app/ui/fscegliaprihtml.h"
#include "app/ui/mainform.h"
#include "convert/aehtohtml.h"
#include "document/aehset.h"

namespace tarn::app::ui {

void TMainForm::OpenHtmlFile(const std::string& name, bool askSave) {
  const convert::PageMarker marker = convert::TAEHtoHtml::ReadPageMarker(name);
  const bool native = marker.found && !marker.hypertext.empty();
  TFScegliApriHtml dialog(name, native, this);
  if (m_exports->DialogRunner(dialog) != QDialog::Accepted) {
    m_editor->RestoreFocus();
    return;
  }
  std::error_code ec;
  const HtmlOpenChoice choice =
      EffectiveHtmlOpenChoice(dialog.Choice(), native && std::filesystem::is_regular_file(marker.hypertext, ec));
  // Every choice but adding to the open hypertext replaces it.
  if (choice != HtmlOpenChoice::InsertPage && choice != HtmlOpenChoice::InsertNativePage && askSave &&
      !QuerySaveChanges()) {
    return;
  }
  switch (choice) {
    case HtmlOpenChoice::InsertPage:
    case HtmlOpenChoice::InsertNativePage:
      // A copy of an exported page comes through its own HTML: pages are not
      // copied between hypertexts record by record yet.
      m_exports->ImportDirectly(name);
      m_editor->RestoreFocus();
      return;
    case HtmlOpenChoice::NewWithPage:
    case HtmlOpenChoice::NewWithNativePage:
      NewBlankHypertext();
      m_exports->ImportDirectly(name);
      break;
    case HtmlOpenChoice::EditPageSet:
      NewBlankHypertext();
      if (m_exports->OpenAutomaticImport(name) < 0) m_editor->ShowCover();
      break;
    case HtmlOpenChoice::EditNative:
      LoadHypertext(marker.hypertext, false);
      if (m_set->GetObject(document::testoHtml, marker.page) != nullptr) m_editor->SetMainPageNumber(marker.page);
      break;
    case HtmlOpenChoice::CopyOfNative: LoadHypertext(marker.hypertext, true); break;
  }
  SetModified(true);
  SwitchMode(true);
  m_editor->RestoreFocus();
}

}  // namespace tarn::app::ui
