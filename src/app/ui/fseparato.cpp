// A separate page window; see fseparato.h.
#include "app/ui/fseparato.h"

#include <QShortcut>
#include <QVBoxLayout>

#include "document/aehset.h"
#include "objects/ui/framesetwidget.h"
#include "page/aehpage.h"
#include "platform/qt/qtstrings.h"

namespace tarn::app::ui {

TFseparato::TFseparato(platform::Messages& messages, document::TAEHset& set, platform::Clipboard* clipboard,
                       std::string name, QWidget* owner)
    : QWidget(owner, Qt::Window), m_name(std::move(name)), m_editor(new objects::ui::TAEHframeSet(messages, this)) {
  setObjectName(QStringLiteral("Fseparato"));
  setAttribute(Qt::WA_DeleteOnClose);
  m_editor->SetClipboard(clipboard);
  // A window only shows: its pages are never written back, and links go to
  // the main window, which decides where their pages show.
  m_editor->Model().SaveOnExit = false;
  m_editor->Model().SetAutoJump(false);
  m_editor->SetLinkedAEHset(&set);
  m_editor->SetReadOnly(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_editor);
  resize(600, 450);
  // Escape closes the window: a pop-up read in passing goes as it came,
  // without reaching for the title bar.
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, this, &QWidget::close);
}

TFseparato::~TFseparato() { m_editor->SetLinkedAEHset(nullptr); }

void TFseparato::ShowPage(int page, int anchor) {
  m_editor->SetMainPageNumber(page);
  const document::TAEHset* set = m_editor->Model().LinkedSet();
  const document::TAEHoggetto* record =
      set != nullptr && page >= 0 ? set->GetObject(document::testoHtml, page) : nullptr;
  const QString title = record != nullptr ? platform::qt::ToQString(record->GetCaption()) : QString();
  setWindowTitle(title.isEmpty() ? platform::qt::ToQString(m_name) : title);
  if (anchor >= 0) {
    for (page::TAEHpage* view : m_editor->Model().Views()) {
      if (view->PageNumber() == page && view->GoToAnchor(anchor)) break;
    }
  }
}

void TFseparato::DropHypertext() { m_editor->SetLinkedAEHset(nullptr); }

}  // namespace tarn::app::ui
