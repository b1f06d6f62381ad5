// Anchors from the window; see anchordialog.h.
#include "app/ui/anchordialog.h"

#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <string>

#include "app/ui/commandset.h"
#include "app/ui/insertcommands.h"
#include "app/ui/krlanguager.h"
#include "document/aehset.h"
#include "document/links.h"
#include "document/recordfields.h"
#include "objects/ui/framesetwidget.h"
#include "objects/ui/visual.h"
#include "objects/visual/visualrecord.h"
#include "page/aehpage.h"
#include "page/ui/pageview.h"
#include "platform/messages.h"
#include "platform/qt/dialogbuttons.h"
#include "richtext/formatting.h"
#include "richtext/formattinglinks.h"
#include "richtext/ui/aehbox.h"

namespace tarn::app::ui {
namespace {

using richtext::TAEHParaAttributes;
using richtext::TAEHTextAttributes;
using richtext::ui::TAEHbox;

std::vector<int> OtherAnchors(page::TAEHpage& view, int except) {
  std::vector<int> numbers;
  bool skipped = false;
  for (const page::TAEHpage::AnchorPlace& anchor : view.Anchors()) {
    // The anchor being edited is left out once; a second one with its
    // number is another anchor.
    if (anchor.number == except && !skipped) {
      skipped = true;
      continue;
    }
    numbers.push_back(anchor.number);
  }
  return numbers;
}

void InsertAnchor(objects::ui::TInsiemeCornici& editor, document::TAEHset& set, TAEHbox& box) {
  page::TAEHpage* view = editor.PageOfBox(&box);
  platform::Messages* messages = set.Services().messages;
  if (view == nullptr) return;
  const int number = view->NextAnchorNumber();
  if (!page::ui::PageBox::InsertObject(box, richtext::NewAnchorRecord(set, number), richtext::kCaptionObject)) {
    // A cell's text places its objects through its table, which does not
    // take new ones yet.
    if (messages != nullptr) messages->Information("An anchor can only be placed in the text of the page.");
    return;
  }
  // The click-zone command "link to last inserted anchor" reads it.
  InsertCommands::lastInsertedAnchor = number;
}

// The anchor dialog for an anchor glyph of a page being edited.
void AnchorProperties(objects::ui::TInsiemeCornici& editor, document::TAEHset& set, objects::TMyyVisual& object) {
  document::TAEHoggetto* record = object.Record();
  TAEHbox* box = object.Box();
  platform::Messages* messages = set.Services().messages;
  if (record == nullptr || box == nullptr || messages == nullptr || object.ReadOnly() || box->ReadOnly()) return;
  page::TAEHpage* view = editor.PageOfBox(box);
  if (view == nullptr) return;
  const int number = richtext::AnchorNumberOf(*record);
  TFAnchor dialog(number, OtherAnchors(*view, number), *messages, editor.Widget());
  if (dialog.exec() != QDialog::Accepted) return;
  if (dialog.DeleteChosen()) {
    const objects::TMyyVisual::Place place = object.FindInText();
    if (place.paragraph < 0) return;
    box->SelectRange({place.paragraph, place.character}, {place.paragraph, place.character + 1});
    box->Format([](TAEHTextAttributes& text, TAEHParaAttributes&) { text.DeleteSelection(); });
    return;
  }
  if (dialog.Number() == number) return;
  object.CreateUndo(objects::visual::UndoCaption(object.Class()));
  record->SetI32(document::field::kShortValue, dialog.Number());
  object.LoadFromRecord();
  object.update();
}

}  // namespace

TFAnchor::TFAnchor(int number, std::vector<int> taken, platform::Messages& messages, QWidget* parent)
    : QDialog(parent), m_taken(std::move(taken)), m_messages(messages) {
  setObjectName(QStringLiteral("FAnchor"));
  setWindowTitle(QStringLiteral("Anchor"));
  m_number = new QSpinBox(this);
  m_number->setObjectName(QStringLiteral("AnchorNumber"));
  m_number->setRange(0, richtext::kMaxAnchorNumber);
  m_number->setPrefix(QStringLiteral("a"));
  m_number->setValue(std::max(number, 0));
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Anchor name:"), m_number);
  auto* buttons = platform::qt::OkCancelRow(this);
  auto* remove = platform::qt::NamedButton(this, "bDelete", QStringLiteral("&Delete anchor"));
  buttons->insertWidget(0, remove);
  connect(remove, &QPushButton::clicked, this, [this] {
    m_delete = true;
    QDialog::accept();
  });
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(buttons);
  m_languager = new TKrLanguager(this);
  ApplyWindowTable(*m_languager, objectName());
}

int TFAnchor::Number() const { return m_number->value(); }

void TFAnchor::accept() {
  if (std::find(m_taken.begin(), m_taken.end(), Number()) != m_taken.end()) {
    m_messages.Warning("The page has an anchor " + document::AnchorCaption(Number()) + " already.");
    return;
  }
  QDialog::accept();
}

void BindAnchorCommands(CommandSet& commands, objects::ui::TInsiemeCornici& editor, document::TAEHset& set,
                        std::function<void()> changed) {
  commands.Bind("Ancora1Click", [&editor, &set, changed](const CommandCall&) {
    TAEHbox* box = editor.ReadOnly() ? nullptr : editor.ActiveBox();
    if (box != nullptr) InsertAnchor(editor, set, *box);
    editor.RestoreFocus();
    if (changed) changed();
  });
  // A double click on an anchor opens the anchor dialog; other objects keep
  // the answer they had.
  auto previous = objects::TMyyVisual::propertiesRequested;
  objects::TMyyVisual::propertiesRequested = [&editor, &set, changed, previous](objects::TMyyVisual& object) {
    if (object.Record() == nullptr || richtext::AnchorNumberOf(*object.Record()) < 0) {
      if (previous) previous(object);
      return;
    }
    AnchorProperties(editor, set, object);
    if (changed) changed();
  };
}

}  // namespace tarn::app::ui
