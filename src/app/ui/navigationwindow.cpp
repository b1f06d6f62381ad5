// The main window's side of page navigation and feedback: it makes the
// page number, visited pages and go-to menus, the link follower, the
// window's feedback and the runner of linked applications, tells them when
// the editor shows another page, and takes files dropped on it.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QMimeData>
#include <QStatusBar>
#include <QUrl>

#include <fstream>

#include "app/documentfiles.h"
#include "app/linkedapplication.h"
#include "app/ui/exportcommands.h"
#include "app/ui/linkfollower.h"
#include "app/ui/mainform.h"
#include "app/ui/pagenavigation.h"
#include "app/ui/pagetreecommands.h"
#include "app/ui/toolwindows.h"
#include "app/ui/windowfeedback.h"
#include "document/aehset.h"
#include "objects/ui/framesetwidget.h"
#include "platform/qt/qtstrings.h"
#include "richtext/ui/aehbox.h"

namespace tarn::app::ui {
namespace {

// The comment by which pages exported from a hypertext are recognised.
constexpr std::string_view kExportedPageMarker = "<!--pageTarn=";
// The marker stands near the top of an exported page.
constexpr std::streamsize kMarkerSearchBytes = 4096;

bool ExportedFromHypertext(const std::string& file) {
  std::ifstream in(std::filesystem::path(file), std::ios::binary);
  std::string head(static_cast<std::size_t>(kMarkerSearchBytes), '\0');
  in.read(head.data(), kMarkerSearchBytes);
  head.resize(static_cast<std::size_t>(in.gcount()));
  return head.find(kExportedPageMarker) != std::string::npos;
}

}  // namespace

void TMainForm::MakeNavigation() {
  auto& editor = static_cast<objects::ui::TInsiemeCornici&>(*m_editor);
  m_feedback = new WindowFeedback({*m_set, editor, *m_commands, *statusBar(), [this] { return m_editModeUsed; }}, this);
  m_navigation = new PageNavigation(
      *m_commands,
      {*m_set, editor, [this] { return m_fileName; }, [this](const std::string& url) { NavigateToUrl(url); }}, this);
  m_applications = std::make_unique<LinkedApplications>(LinkedApplications::Host{
      m_registry, *m_process, *m_loop, [this](const std::filesystem::path& file) { return AskApplication(file); }, {}});
  m_links = new LinkFollower(*m_commands, *this,
                             {*m_set, editor, *m_messages, *m_process, m_registry, &m_clipboard, *m_applications,
                              *m_exports},
                             this);
}

void TMainForm::EditorPageChanged() {
  // A hint of the page left (a link under the pointer) goes with it.
  m_feedback->ShowHint({});
  if (m_pages != nullptr) m_pages->PageChanged();
  m_navigation->EditorPageChanged();
  UpdateStatus();
}

void TMainForm::EndTemporaryFrameSet() {
  auto& editor = static_cast<objects::ui::TInsiemeCornici&>(*m_editor);
  if (editor.Model().ShowingTmpFrameSet()) editor.Model().SetShowingTmpFrameSet(false);
}

void TMainForm::NavigateToUrl(const std::string& address) { m_links->NavigateToUrl(address); }

void TMainForm::ContinueReading() {
  if (!EditMode()) return;
  SwitchMode(false);
  m_editModeUsed = false;
  UpdateStatus();
}

void TMainForm::RefreshTextFeedback() { m_feedback->UpdateTextFeedback(); }

bool TMainForm::RunLinkedApplication(const std::filesystem::path& file, std::function<void()> ended) {
  return m_applications->Run(file, std::move(ended)) != LinkedApplications::kNotStarted;
}

std::string TMainForm::AskApplication(const std::filesystem::path& file) {
  const QString program = QFileDialog::getOpenFileName(this, QStringLiteral("Choose application:"),
                                                       QStringLiteral("/usr/bin"));
  (void)file;
  return program.toStdString();
}

// ---- Dropped files ----

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
  std::vector<std::string> files;
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile()) files.push_back(url.toLocalFile().toStdString());
  }
  if (files.empty()) return;
  event->acceptProposedAction();
  FilesDropped(files);
}

void TMainForm::FilesDropped(const std::vector<std::string>& files) {
  const DroppedFiles dropped = ClassifyDroppedFiles(files);
  switch (dropped.kind) {
    case OpenKind::Hypertext:
      if (QuerySaveChanges()) LoadHypertext(dropped.files.front(), false);
      return;
    case OpenKind::CdProject:
    case OpenKind::CustomLibrary: OpenDocumentFile(dropped.files.front(), false); return;
    case OpenKind::Image:
      // A picture goes into the text being edited, through the image dialog.
      if (EditMode() && static_cast<objects::ui::TInsiemeCornici&>(*m_editor).ActiveBox() != nullptr) {
        NotYet("Inserting images");
      }
      return;
    case OpenKind::Import:
    case OpenKind::Html:
      if (dropped.kind == OpenKind::Html && ExportedFromHypertext(dropped.files.front())) {
        NotYet("Pasting a page from another hypertext");
      } else {
        Exports().OpenImportDialog(dropped.files);
      }
      return;
    case OpenKind::Other: return;
  }
}

void TMainForm::Imported(int page) {
  SetModified(true);
  m_pages->HypertextChanged();
  if (page >= 0) m_editor->SetMainPageNumber(page);
  UpdateStatus();
}

}  // namespace tarn::app::ui
