// Following links from the main window; see linkfollower.h.
#include "app/ui/linkfollower.h"

#include <QCursor>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <fstream>

#include "app/linkedapplication.h"
#include "app/ui/commandset.h"
#include "app/ui/exportcommands.h"
#include "app/ui/fseparato.h"
#include "app/ui/mainform.h"
#include "app/ui/pagenavigation.h"
#include "base/cp1252.h"
#include "base/winpath.h"
#include "document/aehset.h"
#include "document/links.h"
#include "document/recordfields.h"
#include "objects/ui/framesetwidget.h"
#include "page/aehpage.h"
#include "platform/messages.h"
#include "platform/process.h"
#include "platform/qt/qtstrings.h"
#include "platform/registry.h"
#include "richtext/ui/aehbox.h"

namespace tarn::app::ui {
namespace {

namespace field = document::field;
using objects::ui::TInsiemeCornici;
using platform::qt::ToQString;

// Short objects may lead to special links that lead to short objects: the
// chain is followed this far at most.
constexpr int kMaxLinkDepth = 8;
constexpr std::string_view kProgramScheme = "prog:";
// The program a "prog:" link runs when its registry value is empty.
constexpr std::string_view kDefaultProgram = "c:\\windows\\notepad.exe";
// A pop-up window opens beside the pointer, this size.
constexpr int kPopupWidth = 420;
constexpr int kPopupHeight = 300;
// Separate windows open this far apart.
constexpr int kCascadeStep = 32;

// Disables a frame set while a link is followed; it may go meanwhile (a
// link that closes its own window).
class DisabledWhile {
 public:
  explicit DisabledWhile(QWidget& widget) : m_widget(&widget) { m_widget->setEnabled(false); }
  ~DisabledWhile() {
    if (m_widget) m_widget->setEnabled(true);
  }
  DisabledWhile(const DisabledWhile&) = delete;
  DisabledWhile& operator=(const DisabledWhile&) = delete;

 private:
  QPointer<QWidget> m_widget;
};

// The file part of an internal URL as written, before any folder is put
// in front of it.
std::string WrittenFile(std::string_view url) {
  const std::size_t start =
      url.starts_with(document::kInternalSchemeLong) ? document::kInternalSchemeLong.size() : document::kInternalScheme.size();
  const std::size_t bar = url.find('|', start);
  return std::string(url.substr(start, bar == std::string_view::npos ? std::string_view::npos : bar - start));
}

// The frame of the frame set whose page view is view.
objects::TAEHFrame* FrameOfView(const TInsiemeCornici& frameSet, const page::TAEHpage* view) {
  objects::TAEHFrame* top = frameSet.Model().Top();
  if (top == nullptr || view == nullptr) return nullptr;
  std::vector<objects::TAEHFrame*> leaves;
  objects::CollectLeaves(*top, leaves);
  for (objects::TAEHFrame* leaf : leaves) {
    if (frameSet.Model().ViewOf(*leaf) == view) return leaf;
  }
  return nullptr;
}

// A "prog:" address is the program (a setting's path, or a file name)
// and, after a "?", the text written to the program's parameter file.
// Address records keep nothing else; a link made in this session may carry
// the text as its free text instead.
struct ProgramAddress {
  std::string program;
  std::string parameters;
};

ProgramAddress SplitProgramAddress(std::string_view address, const document::TAEHoggetto& link) {
  const std::size_t query = address.find('?');
  ProgramAddress result{std::string(address.substr(0, query)), {}};
  if (query != std::string_view::npos) result.parameters = std::string(address.substr(query + 1));
  if (result.parameters.empty()) result.parameters = document::ExtraText(link);
  return result;
}

bool WritePrivateFile(const std::filesystem::path& path, std::string_view text) {
  std::error_code error;
  std::filesystem::create_directories(path.parent_path(), error);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  // Written from a document: readable by the author only, and never
  // executable, whatever its extension.
  std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::replace, error);
  return static_cast<bool>(out);
}

LinkFollower::FileLinkChoice AskFileLinkDialog(QWidget* parent, const document::TAEHoggetto& file) {
  QDialog dialog(parent);
  dialog.setWindowTitle(QStringLiteral("Link to file"));
  auto* label = new QLabel(QStringLiteral("The link leads to the file\n%1")
                               .arg(ToQString(document::LinkCaption(file))),
                           &dialog);
  auto* buttons = new QDialogButtonBox(&dialog);
  QPushButton* open = buttons->addButton(QStringLiteral("&Open"), QDialogButtonBox::AcceptRole);
  QPushButton* save = buttons->addButton(QStringLiteral("&Save as..."), QDialogButtonBox::ActionRole);
  buttons->addButton(QDialogButtonBox::Cancel);
  auto choice = LinkFollower::FileLinkChoice::Cancel;
  QObject::connect(open, &QPushButton::clicked, &dialog, [&] {
    choice = LinkFollower::FileLinkChoice::Open;
    dialog.accept();
  });
  QObject::connect(save, &QPushButton::clicked, &dialog, [&] {
    choice = LinkFollower::FileLinkChoice::SaveAs;
    dialog.accept();
  });
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(label);
  layout->addWidget(buttons);
  open->setDefault(true);
  dialog.exec();
  return choice;
}

}  // namespace

LinkFollower::LinkFollower(CommandSet& commands, TMainForm& window, Services services, QObject* parent)
    : QObject(parent), m_window(window), m_services(services) {
  askFileLink = [this](const document::TAEHoggetto& file) { return AskFileLinkDialog(&m_window, file); };
  askSaveFile = [this](const std::string& proposed) {
    return QFileDialog::getSaveFileName(&m_window, QString(), platform::qt::PathToQString(proposed)).toStdString();
  };
  askImportFile = [this](const std::filesystem::path& folder) {
    return QFileDialog::getOpenFileName(&m_window, QString(), platform::qt::PathToQString(folder.string()),
                                        QStringLiteral("HTML files (*.htm *.html);;All files (*)"))
        .toStdString();
  };
  // The links at the caret of the box being edited (the popups of special
  // and file links put it there).
  commands.Bind("Seguicollegamentodoppioclic1Click", [this](const CommandCall&) { FollowAtCaret(); });
  commands.Bind("Seguicollegamento1Click", [this](const CommandCall&) { FollowAtCaret(); });
  commands.Bind("SeguiGenLinkClick", [this](const CommandCall&) { FollowAtCaret(); });
}

LinkFollower::~LinkFollower() { CloseSeparateWindows(); }

void LinkFollower::NotAvailable(std::string_view what) {
  m_services.messages.Information(NotAvailableMessage(what));
}

void LinkFollower::FollowAtCaret() {
  if (richtext::ui::TAEHbox* box = m_services.editor.ActiveBox()) box->FollowLinkAtCaret();
}

// ---- Separate windows ----

std::vector<TFseparato*> LinkFollower::SeparateWindows() const {
  std::vector<TFseparato*> windows;
  for (const auto& window : m_windows) {
    if (window) windows.push_back(window);
  }
  return windows;
}

TFseparato* LinkFollower::FindSeparateWindow(const std::string& name) const {
  for (TFseparato* window : SeparateWindows()) {
    if (base::SameText(window->Name(), name)) return window;
  }
  return nullptr;
}

void LinkFollower::CloseSeparateWindows() {
  for (TFseparato* window : SeparateWindows()) {
    // Gone at once: the hypertext it shows may go next.
    window->DropHypertext();
    delete window;
  }
  m_windows.clear();
}

void LinkFollower::ShowInWindow(const std::string& name, int page, int anchor, bool near) {
  TFseparato* window = name == TFseparato::kNewWindowName ? nullptr : FindSeparateWindow(name);
  if (window == nullptr) {
    std::erase_if(m_windows, [](const QPointer<TFseparato>& w) { return w.isNull(); });
    window = new TFseparato(m_services.messages, m_services.set, m_services.clipboard, name, &m_window);
    window->Editor().OnDoLink = [this, editor = &window->Editor()](const objects::LinkSource& source,
                                                                   document::TAEHoggetto* link) {
      EditorDoLink(*editor, source, link);
    };
    m_windows.emplace_back(window);
    if (near) {
      window->resize(kPopupWidth, kPopupHeight);
      window->move(QCursor::pos() + QPoint(kCascadeStep / 4, kCascadeStep / 4));
    } else {
      // At the right of the main window's page, where the lines of its text
      // end, each further window a step down and to the left.
      const QWidget& area = m_services.editor;
      const QPoint corner = area.mapToGlobal(QPoint(area.width(), 0));
      const int step = kCascadeStep * static_cast<int>(m_windows.size());
      window->move(corner + QPoint(-window->width() - step, step));
    }
  }
  window->show();
  window->raise();
  // The window the link opened is the one read next: it takes the keys
  // (arrows scroll it, Escape closes it). The main editor keeps its own
  // focus for when the author comes back to it.
  window->activateWindow();
  window->ShowPage(page, anchor);
  window->Editor().RestoreFocus();
}

// ---- Showing pages ----

void LinkFollower::ScrollToAnchor(TInsiemeCornici& frameSet, page::TAEHpage* view, int anchor) {
  if (anchor < 0) return;
  if (view == nullptr) {
    // The view of the main page, or of the first frame that shows it.
    const int main = frameSet.Model().MainPageNumber();
    for (page::TAEHpage* candidate : frameSet.Model().Views()) {
      if (candidate->PageNumber() == main) {
        view = candidate;
        break;
      }
    }
  }
  if (view != nullptr) view->GoToAnchor(anchor);
}

void LinkFollower::ShowPageIn(TInsiemeCornici& frameSet, int page, int anchor) {
  // A link into a frame showed the layout for viewing only; a page of its
  // own ends that.
  if (frameSet.Model().ShowingTmpFrameSet()) frameSet.Model().SetShowingTmpFrameSet(false);
  frameSet.SetMainPageNumber(page);
  ScrollToAnchor(frameSet, nullptr, anchor);
}

bool LinkFollower::ShowInNamedFrame(TInsiemeCornici& frameSet, const std::string& name,
                                    const document::TAEHoggetto& target, int anchor, int mode) {
  if (frameSet.Model().FindFrame(name) == nullptr) return false;
  const bool shown = frameSet.Model().ShowInNamedFrame(name, target.GetId(), anchor, mode);
  frameSet.Sync();
  return shown;
}

void LinkFollower::NavigateToUrl(const std::string& url) {
  const document::InternalUrl parsed = document::ParseInternalUrl(m_services.set, url);
  if (!parsed.isInternal) return;
  bool sameFile = parsed.sameFile;
  if (!sameFile) {
    // A new hypertext is named "Untitled" until saved: that name is the
    // open one only while it is untitled, and no file otherwise.
    if (WrittenFile(url) == kUntitled) {
      if (m_window.FileName() != kUntitled) return;
      sameFile = true;
    }
  }
  if (!sameFile) {
    const std::filesystem::path file = base::ToLocalPath(parsed.file);
    std::error_code error;
    if (!parsed.file.empty() && !std::filesystem::exists(file, error)) {
      // Opening a missing file would leave an empty untitled hypertext in
      // place of the open one.
      m_services.messages.Error("The hypertext " + parsed.file + " was not found.");
      return;
    }
    if (m_window.IsModified()) {
      const auto answer = m_services.messages.Ask("I will load a new file. \rDo you want to save current one?", true);
      if (answer == platform::Answer::Cancel) return;
      if (answer == platform::Answer::Yes) {
        m_window.FileSave();
        if (!m_window.SaveSucceeded()) return;
      }
    }
    // A reader following links from one hypertext into another keeps
    // reading: a hypertext opens for editing only when asked to.
    const bool reading = !m_window.EditMode();
    if (parsed.file.empty()) {
      m_window.NewBlankHypertext();
    } else {
      m_window.LoadHypertext(file.string(), false);
    }
    if (reading) m_window.ContinueReading();
  }
  TInsiemeCornici& editor = m_services.editor;
  if (parsed.page >= 0 && parsed.page != editor.MainPageNumber()) {
    ShowPageIn(editor, parsed.page, -1);
  } else if (parsed.page == document::kNoPageGiven &&
             editor.MainPageNumber() != m_services.set.HeaderI32(document::header::kCoverPage)) {
    editor.ShowCover();
  }
}

// ---- Following a link ----

void LinkFollower::EditorDoLink(TInsiemeCornici& from, const objects::LinkSource& source,
                                document::TAEHoggetto* link) {
  if (m_window.Closing() || link == nullptr || m_services.editor.MainPageNumber() < 0) return;
  QPointer<TInsiemeCornici> guard(&from);
  {
    const DisabledWhile disabled(from);
    FollowByKind(from, source, *link, 0);
  }
  m_window.RefreshTextFeedback();
  if (guard) guard->RestoreFocus();
}

void LinkFollower::FollowByKind(TInsiemeCornici& from, const objects::LinkSource& source, document::TAEHoggetto& link,
                                int depth) {
  if (depth > kMaxLinkDepth) return;
  switch (link.Kind()) {
    case document::testoHtml:
      ShowPageIn(from, link.Index(), -1);
      return;
    case document::internetLink:
      FollowAddress(from, link.Str(field::kLinkUrl, field::kLinkUrlCapacity), link);
      return;
    case document::genLink:
    case document::zipLink:
      FollowFileLink(link);
      return;
    case document::speclink:
      FollowSpecial(from, source, link);
      return;
    case document::shortObj: {
      // An "open window" object in the text of a page, in preview: what it
      // refers to is followed as its link.
      if (!m_services.editor.ReadOnly() || source.page == nullptr) return;
      document::TAEHoggetto* target = m_services.set.GetObjectById(link.I32(field::kShortValue));
      if (target != nullptr && !target->IsFree() && target != &link) FollowByKind(from, source, *target, depth + 1);
      return;
    }
    default:
      m_services.messages.Information("Undefined or unsupported.");
      return;
  }
}

void LinkFollower::FollowAddress(TInsiemeCornici& from, const std::string& address, document::TAEHoggetto& link) {
  const std::string lower = base::LowerCase(address);
  if (lower.starts_with(document::kInternalScheme)) {
    const document::InternalUrl parsed = document::ParseInternalUrl(m_services.set, address);
    // A page of this hypertext shows where the link was clicked.
    if (&from != &m_services.editor && parsed.sameFile && parsed.page >= 0) {
      ShowPageIn(from, parsed.page, -1);
    } else {
      NavigateToUrl(address);
    }
  } else if (lower.starts_with(kProgramScheme)) {
    RunProgramLink(address.substr(kProgramScheme.size()), link);
  } else if (m_window.EditMode()) {
    NotAvailable("The album of links");
  } else {
    m_services.exports.OpenWithDesktop(address);
  }
}

void LinkFollower::RunProgramLink(const std::string& written, const document::TAEHoggetto& link) {
  const std::filesystem::path temp = m_services.set.TempFolder();
  const auto [address, parameters] = SplitProgramAddress(written, link);
  if (address.find('\\') != std::string::npos) {
    // A value of the author's settings names the program; the document
    // only says which value.
    platform::Registry quiet(m_services.registry.Store());
    std::string program = quiet.ReadRegistryValue(address);
    const std::filesystem::path file = temp / "params.txt";
    if (!WritePrivateFile(file, parameters)) {
      m_services.messages.Error("Could not write " + file.string());
      return;
    }
    if (program.empty()) {
      m_services.messages.Information("The registry key is void! (" + address + ")");
      program = std::string(kDefaultProgram);
    }
    // The old default editor is not here: the desktop's editor for text
    // files takes its place.
    if (program == kDefaultProgram || !m_services.process.StartDetached(program, {file.string()})) {
      m_services.exports.OpenWithDesktop(file.string());
    }
    return;
  }
  const std::filesystem::path file = temp / ("params" + base::ExtractFileExt(address));
  if (!WritePrivateFile(file, parameters)) {
    m_services.messages.Error("Could not write " + file.string());
    return;
  }
  m_services.exports.OpenWithDesktop(file.string());
}

void LinkFollower::FollowFileLink(document::TAEHoggetto& file) {
  const FileLinkChoice choice = askFileLink(file);
  if (choice == FileLinkChoice::Cancel) return;
  const std::filesystem::path written = m_services.exports.WriteFileObject(file);
  if (written.empty()) return;
  if (choice == FileLinkChoice::Open) {
    if (m_services.applications.Run(written) == LinkedApplications::kNotStarted) {
      // No program chosen for it: the desktop decides.
      m_services.exports.OpenWithDesktop(written.string());
    }
    return;
  }
  const std::string target = askSaveFile(base::ExtractFileName(document::LinkCaption(file)));
  if (target.empty()) return;
  std::error_code error;
  std::filesystem::copy_file(written, target, std::filesystem::copy_options::overwrite_existing, error);
  if (error) m_services.messages.Error("Could not write " + target + "\r" + error.message());
}

void LinkFollower::FollowSpecial(TInsiemeCornici& from, const objects::LinkSource& source,
                                 document::TAEHoggetto& link) {
  const bool preview = m_services.editor.ReadOnly();
  const int sourcePage = source.page != nullptr ? source.page->PageNumber() : from.Model().MainPageNumber();
  switch (link.Subtype()) {
    case document::kSpecialToObject: FollowToObject(from, source, link); return;
    case document::kSpecialCloseWindow:
      if (TFseparato* window = FindSeparateWindow(document::WindowName(link))) window->close();
      return;
    case document::kSpecialKeywords: NotAvailable("The keywords window"); return;
    case document::kSpecialPrevious:
    case document::kSpecialNext: {
      const int target = link.Subtype() == document::kSpecialNext ? m_services.set.NextInSequence(sourcePage)
                                                                  : m_services.set.PreviousInSequence(sourcePage);
      if (LivePage(m_services.set, target) != nullptr && target != sourcePage) ShowPageIn(from, target, -1);
      return;
    }
    case document::kSpecialAutoImport:
      if (!preview) FollowAutoImport(link);
      return;
    default: m_services.messages.Information("Undefined or unsupported."); return;
  }
}

void LinkFollower::FollowToObject(TInsiemeCornici& from, const objects::LinkSource& source,
                                  document::TAEHoggetto& link) {
  const int action = link.U8(field::kSpecialAction);
  const int anchor = link.I32(field::kSpecialAnchor);
  if (action == document::kAnchorInPage) {
    ScrollToAnchor(from, source.page, anchor);
    return;
  }
  document::TAEHoggetto* target = document::FollowSpecialLink(link);
  if (target == nullptr || target->IsFree()) return;
  const bool isPage = target->Kind() == document::testoHtml;
  TInsiemeCornici& editor = m_services.editor;
  if (!editor.ReadOnly()) {
    // While editing, a special link only changes the page being edited.
    if (isPage) ShowPageIn(editor, target->Index(), anchor);
    return;
  }
  if (editor.PageModified() &&
      m_services.messages.Ask("Save modifications to current page?") == platform::Answer::Yes) {
    m_window.CommitCurrentPage();
  }
  const int mode = link.U8(field::kSpecialTargetKind);
  const std::string name = document::WindowName(link);
  switch (action) {
    case document::kReplaceWindow: {
      // The frame the link was clicked in; a page alone in its frame set
      // gives way as a whole.
      objects::TAEHFrame* frame = FrameOfView(from, source.page);
      if (frame != nullptr && frame != from.Model().Top()) {
        ShowInNamedFrame(from, frame->Name(), *target, anchor, mode);
      } else if (isPage) {
        ShowPageIn(from, target->Index(), anchor);
      }
      return;
    }
    case document::kReplaceFrame: {
      if (ShowInNamedFrame(editor, name, *target, anchor, mode)) return;
      for (TFseparato* window : SeparateWindows()) {
        if (ShowInNamedFrame(window->Editor(), name, *target, anchor, mode)) return;
      }
      if (isPage) ShowInWindow(name, target->Index(), anchor, false);
      return;
    }
    case document::kIndependentWindow:
      if (isPage) ShowInWindow(name, target->Index(), anchor, false);
      return;
    case document::kNewBrowser:
      if (isPage) ShowInWindow(TFseparato::kNewWindowName, target->Index(), anchor, false);
      return;
    case document::kPopupWindow:
      if (isPage) ShowInWindow(TFseparato::kPopupWindowName, target->Index(), anchor, true);
      return;
    case document::kJumpTo:
    default:
      if (isPage) ShowPageIn(editor, target->Index(), anchor);
      return;
  }
}

void LinkFollower::FollowAutoImport(document::TAEHoggetto& link) {
  std::string file = link.ReadContent().value_or(std::string());
  while (!file.empty() && file.back() == '\0') file.pop_back();
  const std::filesystem::path local = base::ToLocalPath(file);
  std::error_code error;
  if (!std::filesystem::exists(local, error)) {
    const std::string question =
        "The link refers to file \"" + file + "\", not found. Do you want to suggest another file name?";
    if (m_services.messages.Ask(question) != platform::Answer::Yes) return;
    if (askImportFile(local.parent_path()).empty()) return;
  }
  NotAvailable("Importing files");
}

}  // namespace tarn::app::ui
