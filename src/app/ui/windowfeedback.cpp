// The main window's feedback; see windowfeedback.h.
#include "app/ui/windowfeedback.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFontComboBox>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QSpinBox>
#include <QStatusBar>

#include "app/selectionfeedback.h"
#include "app/ui/commandset.h"
#include "app/ui/formattoolbars.h"
#include "app/ui/insertcommands.h"
#include "document/aehset.h"
#include "document/objectkinds.h"
#include "document/recordfields.h"
#include "objects/ui/framesetwidget.h"
#include "objects/ui/tablebox.h"
#include "page/aehpage.h"
#include "platform/qt/qtstrings.h"
#include "richtext/ui/aehbox.h"

namespace tarn::app::ui {
namespace {

using platform::qt::ToQString;
namespace style = document::field::style;

void EnableAll(CommandSet& commands, std::string_view method, bool enabled) {
  for (QAction* action : commands.ActionsOf(method)) action->setEnabled(enabled);
}

// The link of the character at the caret, or of the one before it.
std::int32_t LinkAtCaret(richtext::ui::TAEHbox& box) {
  const richtext::CharPos caret = box.Text().Caret();
  if (caret.paragraph < 0 || caret.paragraph >= box.Text().ParagraphCount()) return -1;
  const richtext::TAEHparag& p = box.Text().Paragraph(caret.paragraph);
  const auto at = [&p](int c) { return p.infos[static_cast<std::size_t>(c)].link; };
  std::int32_t link = caret.character < p.Length() ? at(caret.character) : -1;
  if (link == -1 && caret.character > 0 && caret.character <= p.Length()) link = at(caret.character - 1);
  return link;
}

// The caret's line among the box's own text, and its column, from 1.
std::pair<int, int> CaretLineAndColumn(richtext::ui::TAEHbox& box) {
  richtext::BoxText& text = box.Text();
  const richtext::TextPos pos = text.CaretPos();
  int line = 1;
  for (int i = text.FirstOwn(); i < pos.paragraphIndex && i < text.ParagraphCount(); ++i) {
    line += std::max<int>(1, static_cast<int>(text.Paragraph(i).lines.size()));
  }
  line += pos.line;
  int column = pos.charIndex + 1;
  if (pos.paragraph != nullptr && pos.line >= 0 && static_cast<std::size_t>(pos.line) < pos.paragraph->lines.size()) {
    column = pos.charIndex - pos.paragraph->lines[static_cast<std::size_t>(pos.line)].firstChar + 1;
  }
  return {line, column};
}

}  // namespace

WindowFeedback::WindowFeedback(Host host, QObject* parent) : QObject(parent), m_host(std::move(host)) {
  QStatusBar& bar = m_host.statusBar;
  for (int i = 0; i < kStatusPanels; ++i) {
    auto* panel = new QLabel(&bar);
    panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    panel->setMinimumWidth(kStatusPanelWidths[i]);
    panel->setFrameShape(QFrame::StyledPanel);
    if (i == 1) panel->setAlignment(Qt::AlignCenter);
    // The last panel takes what the others leave.
    bar.addWidget(panel, i == kStatusPanels - 1 ? 1 : 0);
    m_panels[static_cast<std::size_t>(i)] = panel;
  }
  m_simple = new QLabel(&bar);
  m_simple->setObjectName(QStringLiteral("StatusSimple"));
  bar.addWidget(m_simple, 1);
  m_simple->hide();
  connect(QApplication::clipboard(), &QClipboard::dataChanged, this, [this] { ClipboardChanged(); });
  ClipboardChanged();
}

// ---- Objects and their tools ----

void WindowFeedback::EditorEditStart(QWidget* object) {
  m_active = object;
  auto* box = qobject_cast<richtext::ui::TAEHbox*>(object);
  SelectedObject kind = box != nullptr ? SelectedObject::TextBox : SelectedKindOf(object, SelectedObject::TextBox);
  if (objects::ui::TableOfBox(box) != nullptr) kind = SelectedObject::TableCell;
  const Feedback feedback = SelectionFeedback(kind);
  CommandSet& commands = m_host.commands;
  commands.SetObjectCommands(ApplyFeedback(commands.ObjectCommands(), feedback));
  for (const std::string& name : TextOnlyCommands()) {
    if (QMenu* menu = commands.Menu(name)) {
      menu->setEnabled(feedback.textCommands);
    } else if (QAction* action = commands.Action(name)) {
      action->setEnabled(feedback.textCommands);
    }
  }
  EditorSelectionChange(object);
}

void WindowFeedback::EditorSelectionChange(QWidget* object) {
  if (object != nullptr) m_active = object;
  if (qobject_cast<richtext::ui::TAEHbox*>(m_active.data()) != nullptr) UpdateTextFeedback();
  UpdateStatus();
}

richtext::ui::TAEHbox* WindowFeedback::ShownBox() const {
  // The box last reported is taken only while a page shown still holds
  // it: the box of a page just closed lingers until its deletion runs, and
  // its styles went with the hypertext that was closed.
  auto* box = qobject_cast<richtext::ui::TAEHbox*>(m_active.data());
  return box != nullptr && ViewOfBox(box) != nullptr ? box : m_host.editor.ActiveBox();
}

void WindowFeedback::UpdateTextFeedback() {
  richtext::ui::TAEHbox* box = ShownBox();
  if (box == nullptr || m_updatingControls) return;
  m_updatingControls = true;
  CommandSet& commands = m_host.commands;
  richtext::BoxText& text = box->Text();
  const richtext::CharPos caret = text.Caret();
  if (caret.paragraph >= 0 && caret.paragraph < text.ParagraphCount()) {
    // The link at the caret names itself on the link button.
    const std::int32_t link = LinkAtCaret(*box);
    QAction* linkButton = commands.Action("LinkButton");
    const QString description = link != -1 ? m_host.editor.LinkDescription(link) : QString();
    if (linkButton != nullptr) {
      linkButton->setChecked(link != -1);
      linkButton->setToolTip(description.isEmpty() ? QStringLiteral("Link")
                                                   : QStringLiteral("Link to: ") + description.section('|', 0, 0));
    }
    if (QAction* properties = commands.Action("Proprietcollegamento2")) {
      // A special link opens the special-link dialog, any other the link dialog.
      properties->setEnabled(link != -1);
    }
    ShowFormatFeedback(commands, *box, m_host.set);
  }
  // Cut and copy need a selection while editing.
  if (!box->ReadOnly()) EnableClipboardCommands(text.HasSelection());
  m_updatingControls = false;
}

void WindowFeedback::EnableClipboardCommands(bool enabled) {
  EnableAll(m_host.commands, "EditCopy", enabled);
  EnableAll(m_host.commands, "EditCut", enabled);
}

void WindowFeedback::ClipboardChanged() {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  const bool something = data != nullptr && !data->formats().isEmpty();
  EnableAll(m_host.commands, "EditPaste", something);
}

// ---- The status bar ----

page::TAEHpage* WindowFeedback::ViewOfBox(richtext::ui::TAEHbox* box) const {
  return box != nullptr ? m_host.editor.PageOfBox(box) : nullptr;
}

void WindowFeedback::SetEditMode(bool edit) {
  m_edit = edit;
  for (QLabel* panel : m_panels) {
    panel->setVisible(edit);
    if (!edit) panel->clear();
  }
  m_simple->setVisible(!edit);
  if (edit) {
    // Copy and cut wait for a selection again.
    UpdateTextFeedback();
  } else {
    EnableClipboardCommands(true);
  }
  UpdateStatus();
}

void WindowFeedback::ShowHint(const QString& hint) {
  // Hints are "short|long": the bar shows the long part.
  const QString text = hint.contains(QLatin1Char('|')) ? hint.section(QLatin1Char('|'), 1) : hint;
  if (text.isEmpty()) {
    m_host.statusBar.clearMessage();
  } else {
    m_host.statusBar.showMessage(text);
  }
}

void WindowFeedback::ShowBoxStatus(richtext::ui::TAEHbox* box) {
  page::TAEHpage* view = ViewOfBox(box);
  const document::TAEHoggetto* page = view != nullptr ? view->WorkingPage() : nullptr;
  const std::string title = page != nullptr ? page->GetCaption() : std::string();
  if (!m_edit) {
    m_simple->setText(view != nullptr ? ToQString(PreviewTextBoxText(title)) : QString());
    return;
  }
  if (view == nullptr) {
    m_panels[0]->clear();
    m_panels[3]->clear();
    return;
  }
  const auto [line, column] = CaretLineAndColumn(*box);
  m_panels[0]->setText(ToQString(CaretPanelText(line, column)));
  std::string frameName;
  bool mainFrame = true;
  if (objects::TAEHFrame* top = m_host.editor.Model().Top()) {
    std::vector<objects::TAEHFrame*> leaves;
    objects::CollectLeaves(*top, leaves);
    for (objects::TAEHFrame* leaf : leaves) {
      if (m_host.editor.Model().ViewOf(*leaf) != view) continue;
      frameName = leaf->Name();
      mainFrame = leaf == top;
    }
  }
  m_panels[3]->setText(
      ToQString(TextBoxPanelText(title, view->PageNumber(), view->IsNewPage(), frameName, mainFrame)));
}

void WindowFeedback::UpdateStatus() {
  richtext::ui::TAEHbox* box = ShownBox();
  if (m_edit) {
    const bool counts = m_host.editModeUsed();
    m_panels[1]->setText(counts && m_host.set.IsModified() ? ToQString(kHypertextModifiedText) : QString());
    m_panels[2]->setText(counts && m_host.editor.PageModified() ? ToQString(kPageModifiedText) : QString());
  }
  // A picture, a zone, a control or a floating frame describes itself.
  std::string size;
  std::string text;
  if (m_edit && box != m_active.data() && DescribeObject(m_active.data(), size, text)) {
    m_panels[0]->setText(ToQString(size));
    m_panels[3]->setText(ToQString(text));
    return;
  }
  ShowBoxStatus(box);
}

}  // namespace tarn::app::ui
