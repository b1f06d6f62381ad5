// The format commands of the window; see formatcommands.h.
#include "app/ui/formatcommands.h"

#include <QAction>
#include <QComboBox>
#include <QFontComboBox>
#include <QFontDialog>
#include <QSpinBox>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/commandtable.h"
#include "app/ui/commandset.h"
#include "app/ui/formattoolbars.h"
#include "app/ui/linkdialog.h"
#include "app/ui/pagepropertiesdialog.h"
#include "app/ui/paragraphdialog.h"
#include "app/ui/speciallinkdialog.h"
#include "app/ui/stylesdialog.h"
#include "document/aehset.h"
#include "document/objectkinds.h"
#include "document/recordfields.h"
#include "objects/ui/framesetwidget.h"
#include "page/aehpage.h"
#include "page/workingcopy.h"
#include "platform/messages.h"
#include "platform/qt/qtstrings.h"
#include "document/links.h"
#include "richtext/formattinglinks.h"
#include "richtext/formattingstyles.h"
#include "richtext/ui/aehbox.h"

namespace tarn::app::ui {
namespace {

using richtext::TAEHParaAttributes;
using richtext::TAEHTextAttributes;
using richtext::ui::TAEHbox;
namespace style = document::field::style;

// The indent buttons move the left margin by this much.
constexpr double kIndentStepMm = 10.0;
constexpr std::string_view kNoLinkAtCaret = "There is no link at the caret.";

using TextCommand = std::function<void(TAEHTextAttributes&, TAEHParaAttributes&)>;

TAEHbox* EditedBox(objects::ui::TInsiemeCornici& editor) {
  return editor.ReadOnly() ? nullptr : editor.ActiveBox();
}

std::string Bytes(const QString& text) {
  // Face names are cp1252 in the markup; one outside it cannot be stored.
  return platform::qt::FromQString(text).value_or(std::string());
}

// The record behind a link value of the box's page: a link made in this
// session lives in the page's working copy until the page is committed.
const document::TAEHoggetto* LinkRecord(objects::ui::TInsiemeCornici& editor, document::TAEHset& set,
                                        TAEHbox& box, std::int32_t link) {
  if (link == -1) return nullptr;
  if ((static_cast<std::uint32_t>(link) >> 24) == richtext::kLocalLinkKind) {
    page::TAEHpage* view = editor.PageOfBox(&box);
    return view != nullptr && view->Working() != nullptr ? view->Working()->Link(link) : nullptr;
  }
  return set.GetObjectById(link);
}

// Registers a link record with the box's page and gives the selection its
// value, as one undo step.
void ApplyLinkRecord(objects::ui::TInsiemeCornici& editor, TAEHbox& box, std::unique_ptr<document::TAEHoggetto> link) {
  page::TAEHpage* view = editor.PageOfBox(&box);
  if (view == nullptr || view->Working() == nullptr || link == nullptr) return;
  const int n = view->Working()->AddLink(std::move(link));
  box.Format([n](TAEHTextAttributes& text, TAEHParaAttributes&) { text.SetLink(page::LocalLinkValue(n)); });
}

void MakeLink(objects::ui::TInsiemeCornici& editor, document::TAEHset& set, TAEHbox& box, const std::string& url) {
  if (!url.empty()) ApplyLinkRecord(editor, box, set.NewLink(url));
}

// The page a box shows: its stored index, -1 for a page not stored yet.
int PageIndexOf(objects::ui::TInsiemeCornici& editor, TAEHbox& box) {
  page::TAEHpage* view = editor.PageOfBox(&box);
  return view != nullptr ? view->PageNumber() : -1;
}

// The anchors the link dialog offers: the page being edited knows its own
// (also those not stored yet); other pages are read as stored.
std::function<std::vector<int>(int)> AnchorSource(objects::ui::TInsiemeCornici& editor, document::TAEHset& set,
                                                  TAEHbox& box) {
  page::TAEHpage* view = editor.PageOfBox(&box);
  const int current = PageIndexOf(editor, box);
  return [view, current, &set](int page) {
    if (page == current && view != nullptr) {
      std::vector<int> numbers;
      for (const page::TAEHpage::AnchorPlace& anchor : view->Anchors()) {
        if (std::find(numbers.begin(), numbers.end(), anchor.number) == numbers.end()) numbers.push_back(anchor.number);
      }
      return numbers;
    }
    return richtext::StoredPageAnchors(set, page);
  };
}

// Links the selection to what the dialog chose: a new page (made now), an
// anchor of a page (a special link), or a URL.
void ApplyChosenLink(objects::ui::TInsiemeCornici& editor, document::TAEHset& set, TAEHbox& box,
                     const TFLink& dialog) {
  if (dialog.RemoveChosen()) {
    box.Format([](TAEHTextAttributes& text, TAEHParaAttributes&) { text.SetLink(-1); });
    return;
  }
  if (dialog.Kind() == TFLink::Target::NewPage) {
    const int page = richtext::AddTitledPage(set, dialog.NewPageTitle());
    if (page >= 0 && box.Text().HasSelection()) {
      MakeLink(editor, set, box, document::MakeInternalUrl(set, set.AEHFileName().string(), page));
    }
    return;
  }
  if (dialog.Kind() == TFLink::Target::Page && dialog.ChosenAnchor() >= 0) {
    const int page = dialog.ChosenPage();
    ApplyLinkRecord(editor, box,
                    richtext::NewAnchorLink(set, page, dialog.ChosenAnchor(), page == PageIndexOf(editor, box)));
    return;
  }
  MakeLink(editor, set, box, dialog.Url());
}

void LinkDialog(objects::ui::TInsiemeCornici& editor, document::TAEHset& set, TAEHbox& box) {
  if (!box.Text().HasSelection()) {
    // The command tells the author that it needs a selection.
    box.TextAttributes().SetLink(-1);
    return;
  }
  const std::int32_t link = box.TextAttributes().Link();
  const document::TAEHoggetto* record = LinkRecord(editor, set, box, link);
  std::string url;
  if (record != nullptr && record->Kind() == document::internetLink) {
    url = record->Str(document::field::kLinkUrl, document::field::kLinkUrlCapacity);
  }
  TFLink dialog(set, url, link != -1, editor.Widget());
  dialog.SetAnchorSource(AnchorSource(editor, set, box), PageIndexOf(editor, box));
  richtext::PageTarget target;
  if (record != nullptr && richtext::ReadPageTarget(*record, target)) dialog.ShowPageTarget(target.page, target.anchor);
  if (dialog.exec() != QDialog::Accepted) return;
  ApplyChosenLink(editor, set, box, dialog);
}

// The link the author means: that of the selection, or else the run of
// characters around the caret that carry the link at the caret, which is
// selected so that the change covers the whole link. -1: no link there.
std::int32_t LinkToEdit(TAEHbox& box) {
  richtext::BoxText& text = box.Text();
  if (text.HasSelection()) return box.TextAttributes().Link();
  const richtext::CharPos caret = text.Caret();
  if (caret.paragraph < 0 || caret.paragraph >= text.ParagraphCount()) return -1;
  const richtext::TAEHparag& p = text.Paragraph(caret.paragraph);
  const auto linkAt = [&p](int c) { return p.infos[static_cast<std::size_t>(c)].link; };
  int at = std::min(caret.character, p.Length());
  std::int32_t link = at < p.Length() ? linkAt(at) : -1;
  if (link == -1 && at > 0) link = linkAt(--at);
  if (link == -1) return -1;
  int from = at;
  int to = at + 1;
  while (from > 0 && linkAt(from - 1) == link) --from;
  while (to < p.Length() && linkAt(to) == link) ++to;
  text.SelectRange({caret.paragraph, from}, {caret.paragraph, to});
  return link;
}

// "Special link...": the special-link dialog for the selection, starting
// from the special link it has; without a selection the command says that
// it needs one.
void SpecialLinkDialog(objects::ui::TInsiemeCornici& editor, document::TAEHset& set, TAEHbox& box) {
  if (!box.Text().HasSelection()) {
    box.TextAttributes().SetLink(-1);
    return;
  }
  const document::TAEHoggetto* record = LinkRecord(editor, set, box, box.TextAttributes().Link());
  richtext::SpecialLinkFields fields =
      record != nullptr ? richtext::ReadSpecialLink(*record) : richtext::SpecialLinkFields{};
  if (EditSpecialLink(set, fields, QStringLiteral("Special link"), "FSpecialLink", editor.Widget())) {
    ApplyLinkRecord(editor, box, richtext::NewSpecialLink(set, fields));
  }
}

// "Link properties...": the dialog of the link at the caret, the special-link
// dialog for a special link and the link dialog for any other.
void LinkProperties(objects::ui::TInsiemeCornici& editor, document::TAEHset& set, TAEHbox& box) {
  const std::int32_t link = LinkToEdit(box);
  if (link == -1) {
    if (platform::Messages* messages = set.Services().messages) messages->Information(kNoLinkAtCaret);
    return;
  }
  const document::TAEHoggetto* record = LinkRecord(editor, set, box, link);
  if (record == nullptr || record->Kind() != document::speclink) {
    LinkDialog(editor, set, box);
    return;
  }
  richtext::SpecialLinkFields fields = richtext::ReadSpecialLink(*record);
  if (EditSpecialLink(set, fields, QStringLiteral("Link properties"), "FSpecialLink", editor.Widget())) {
    ApplyLinkRecord(editor, box, richtext::NewSpecialLink(set, fields));
  }
}

// "Add new page": the link dialog in its new-page mode. The page is made
// with the title typed; a selection is linked to it, and without one the
// new page is shown.
void NewPageDialog(objects::ui::TInsiemeCornici& editor, document::TAEHset& set, TAEHbox* box) {
  TFLink dialog(set, {}, false, editor.Widget());
  dialog.SetTarget(TFLink::Target::NewPage);
  if (box != nullptr) dialog.SetAnchorSource(AnchorSource(editor, set, *box), PageIndexOf(editor, *box));
  if (dialog.exec() != QDialog::Accepted) return;
  if (dialog.Kind() == TFLink::Target::NewPage && (box == nullptr || !box->Text().HasSelection())) {
    const int page = richtext::AddTitledPage(set, dialog.NewPageTitle());
    if (page >= 0) editor.SetMainPageNumber(page);
    return;
  }
  if (box != nullptr) ApplyChosenLink(editor, set, *box, dialog);
}

// The page-properties dialog for the page of the box, on one of its tabs.
// The page is shown again afterwards: its header, footer and background
// are read when a page is shown.
void PageProperties(objects::ui::TInsiemeCornici& editor, document::TAEHset& set, TAEHbox& box,
                    TFPageProperties::Tab tab) {
  page::TAEHpage* view = editor.PageOfBox(&box);
  if (view == nullptr || view->Working() == nullptr || view->Working()->page == nullptr) return;
  document::TAEHoggetto& page = *view->Working()->page;
  TFPageProperties dialog(set, page, view->PageNumber(), tab, editor.Widget());
  if (dialog.exec() != QDialog::Accepted || !dialog.ApplyTo(page, set)) return;
  view->SetModified(true);
  editor.SetPageModified(true);
  const long shown = editor.MainPageNumber();
  editor.SetMainPageNumber(-1);
  editor.SetMainPageNumber(shown);
}

std::uint8_t StyleBitsOf(const QFont& font) {
  std::uint8_t bits = 0;
  if (font.bold()) bits |= style::kBold;
  if (font.italic()) bits |= style::kItalic;
  if (font.underline()) bits |= style::kUnderline;
  if (font.strikeOut()) bits |= style::kStrikeout;
  return bits;
}

// The font dialog, limited to what a character format holds: face, size
// and the four style bits. Only what changed is applied.
void FontDialog(TAEHbox& box, QWidget* parent) {
  const richtext::TMyFont current = box.TextAttributes().CaretFont();
  QFont initial(platform::qt::ToQString(current.face));
  initial.setPointSize(std::max(current.size, 1));
  initial.setBold((current.style & style::kBold) != 0);
  initial.setItalic((current.style & style::kItalic) != 0);
  initial.setUnderline((current.style & style::kUnderline) != 0);
  initial.setStrikeOut((current.style & style::kStrikeout) != 0);
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, initial, parent, QStringLiteral("Font"));
  if (!ok) return;
  const std::string face = Bytes(chosen.family());
  const std::int32_t size = chosen.pointSize() > 0 ? chosen.pointSize() : current.size;
  const std::uint8_t bits = StyleBitsOf(chosen);
  box.Format([&](TAEHTextAttributes& text, TAEHParaAttributes&) {
    if (!face.empty() && face != current.face) text.SetFace(face);
    if (size != current.size) text.SetSize(size);
    if (bits != (current.style & 0x0F)) text.SetStyleBits(bits);
  });
}

}  // namespace

void BindFormatCommands(CommandSet& commands, objects::ui::TInsiemeCornici& editor, document::TAEHset& set,
                        std::function<void()> changed, std::function<void()> pagesChanged) {
  ConnectFormatControls(commands);
  // Binds an operation that runs a command on the edited box.
  const auto bind = [&commands, &editor, changed](std::string_view method,
                                                  std::function<void(const CommandCall&, TAEHbox&)> run) {
    commands.Bind(method, [&editor, changed, run](const CommandCall& call) {
      if (TAEHbox* box = EditedBox(editor)) run(call, *box);
      editor.RestoreFocus();
      if (changed) changed();
    });
  };
  const auto bindText = [&bind](std::string_view method, std::function<TextCommand(const CommandCall&)> make) {
    bind(method, [make](const CommandCall& call, TAEHbox& box) { box.Format(make(call)); });
  };

  // The three buttons share one operation; the tag says which alignment.
  bindText("AlignButtonClick", [](const CommandCall& call) -> TextCommand {
    const int tag = call.entry.tag;
    return [tag](TAEHTextAttributes&, TAEHParaAttributes& p) {
      if (tag >= 0 && tag <= 2) p.SetAlignment(static_cast<std::uint8_t>(tag));
    };
  });
  const auto toggle = [](std::uint8_t bit) {
    return [bit](const CommandCall& call) -> TextCommand {
      const bool on = call.checked;
      return [bit, on](TAEHTextAttributes& t, TAEHParaAttributes&) {
        t.ChangeStyleBits(on ? bit : 0, on ? 0 : bit);
      };
    };
  };
  bindText("BoldButtonClick", toggle(style::kBold));
  bindText("ItalicButtonClick", toggle(style::kItalic));
  const auto position = [](std::uint8_t value) {
    return [value](const CommandCall&) -> TextCommand {
      return [value](TAEHTextAttributes& t, TAEHParaAttributes&) { t.SetPosition(value); };
    };
  };
  bindText("Normale1Click", position(0));
  bindText("Pedice1Click", position(1));
  bindText("Apice1Click", position(2));
  bindText("BulletsButtonClick", [&commands](const CommandCall&) -> TextCommand {
    std::uint8_t kind = style::kListNone;
    if (QAction* bullets = commands.Action("BulletsButton"); bullets != nullptr && bullets->isChecked()) {
      kind = style::kListBullet;
    } else if (QAction* numbers = commands.Action("NumberButton"); numbers != nullptr && numbers->isChecked()) {
      kind = style::kListNumbered;
    }
    return [kind](TAEHTextAttributes&, TAEHParaAttributes& p) { p.SetListKind(kind); };
  });
  bindText("RiduciRientroButtonClick", [](const CommandCall&) -> TextCommand {
    return [](TAEHTextAttributes&, TAEHParaAttributes& p) { p.ShiftLeftMargin(-kIndentStepMm); };
  });
  bindText("AumentaRientroButtonClick", [](const CommandCall&) -> TextCommand {
    return [](TAEHTextAttributes&, TAEHParaAttributes& p) { p.ShiftLeftMargin(kIndentStepMm); };
  });
  bindText("Riformatta1Click", [](const CommandCall&) -> TextCommand {
    return [](TAEHTextAttributes&, TAEHParaAttributes& p) { p.Reformat(); };
  });

  // The boxes of the toolbars.
  bindText("FontNameClick", [&commands](const CommandCall&) -> TextCommand {
    auto* box = qobject_cast<QFontComboBox*>(commands.Control("FontName"));
    const std::string face = box != nullptr ? Bytes(box->currentText().trimmed()) : std::string();
    return [face](TAEHTextAttributes& t, TAEHParaAttributes&) {
      if (!face.empty()) t.SetFace(face);
    };
  });
  bindText("FontColorClick", [&commands](const CommandCall&) -> TextCommand {
    auto* box = qobject_cast<QComboBox*>(commands.Control("FontColor"));
    if (box == nullptr || box->currentIndex() < 0) return [](TAEHTextAttributes&, TAEHParaAttributes&) {};
    const std::uint32_t colour = box->currentData(Qt::UserRole).toUInt();
    return [colour](TAEHTextAttributes& t, TAEHParaAttributes&) { t.SetColor(colour); };
  });
  bindText("FontSizeBtnClick", [&commands](const CommandCall&) -> TextCommand {
    auto* box = qobject_cast<QSpinBox*>(commands.Control("FontSize"));
    const int size = box != nullptr ? box->value() : 0;
    return [size](TAEHTextAttributes& t, TAEHParaAttributes&) {
      if (size > 0) t.SetSize(size);
    };
  });
  bindText("ParStyleClick", [&commands](const CommandCall&) -> TextCommand {
    auto* box = qobject_cast<QComboBox*>(commands.Control("ParStyle"));
    // The first choice names no style: choosing it changes nothing.
    const std::string name =
        box != nullptr && box->currentIndex() > 0 ? Bytes(box->currentText()) : std::string();
    return [name](TAEHTextAttributes&, TAEHParaAttributes& p) {
      if (!name.empty()) p.ApplyStyle(name);
    };
  });

  // Dialogs and links.
  bind("SelectFont", [&editor](const CommandCall&, TAEHbox& box) { FontDialog(box, editor.Widget()); });
  bind("Stileparagrafo1Click", [&editor](const CommandCall&, TAEHbox& box) {
    TFParagraph dialog(box.ParaAttributes(), editor.Widget());
    if (dialog.exec() != QDialog::Accepted) return;
    box.Format([&dialog](TAEHTextAttributes&, TAEHParaAttributes& p) { dialog.ApplyTo(p); });
  });
  // The page list follows when a link made a new page.
  const auto withPages = [&set, pagesChanged](const std::function<void()>& run) {
    const int pages = set.CountOf(document::testoHtml);
    run();
    if (pagesChanged && set.CountOf(document::testoHtml) != pages) pagesChanged();
  };
  bind("LinkButtonClick", [&editor, &set, withPages](const CommandCall&, TAEHbox& box) {
    withPages([&] { LinkDialog(editor, set, box); });
  });
  bind("Collegamentospeciale1Click",
       [&editor, &set](const CommandCall&, TAEHbox& box) { SpecialLinkDialog(editor, set, box); });
  for (const std::string_view method : {"Proprietcollegamento2Click", "Proprietcollegamento1Click"}) {
    bind(method, [&editor, &set, withPages](const CommandCall&, TAEHbox& box) {
      withPages([&] { LinkProperties(editor, set, box); });
    });
  }
  commands.Bind("NuovaPaginaClick", [&editor, &set, changed, withPages](const CommandCall&) {
    if (editor.ReadOnly()) return;
    withPages([&] { NewPageDialog(editor, set, editor.ActiveBox()); });
    editor.RestoreFocus();
    if (changed) changed();
  });
  bind("DiPagina1Click", [&editor, &set](const CommandCall& call, TAEHbox& box) {
    switch (call.entry.tag) {
      case 2: PageProperties(editor, set, box, TFPageProperties::kTextTab); return;
      case 3: PageProperties(editor, set, box, TFPageProperties::kHeaderFooterTab); return;
      default:
        // The script, frame and slide tabs come with the objects they edit.
        if (platform::Messages* messages = set.Services().messages) {
          messages->Information(NotAvailableMessage(NotAvailableWhat(call.entry)));
        }
        return;
    }
  });
  bind("Collegamentoautoreferente1Click", [&editor, &set](const CommandCall&, TAEHbox& box) {
    // The selected text is itself the address.
    std::string url = box.TextAttributes().SelectedText();
    if (url.size() > static_cast<std::size_t>(document::field::kLinkUrlCapacity)) {
      url.resize(static_cast<std::size_t>(document::field::kLinkUrlCapacity));
    }
    if (!url.empty()) MakeLink(editor, set, box, url);
  });
  commands.Bind("StyleParButtonClick", [&editor, &set, &commands, changed](const CommandCall&) {
    platform::Messages* messages = set.Services().messages;
    if (messages == nullptr) return;
    // The shown page works on copies of the styles it names: it is written
    // back first and read again afterwards, in the styles as they are now.
    const long page = editor.MainPageNumber();
    editor.SetMainPageNumber(-1);
    {
      TFStyles dialog(set, *messages, editor.Widget());
      dialog.exec();
    }
    editor.SetMainPageNumber(page);
    if (TAEHbox* box = EditedBox(editor)) ShowFormatFeedback(commands, *box, set);
    editor.RestoreFocus();
    if (changed) changed();
  });
  bind("Nuovostile1Click", [&set, &commands](const CommandCall&, TAEHbox& box) {
    richtext::AddNewStyle(set);
    ShowFormatFeedback(commands, box, set);
  });
}

}  // namespace tarn::app::ui
