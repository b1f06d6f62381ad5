// The commands of pictures, zones, controls and floating frames; see
// insertcommands.h.
#include "app/ui/insertcommands.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QFormLayout>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/selectionfeedback.h"
#include "app/ui/commandset.h"
#include "app/ui/editorcontrol.h"
#include "app/ui/speciallinkdialog.h"
#include "document/aehset.h"
#include "document/links.h"
#include "document/recordfields.h"
#include "objects/ui/visual.h"
#include "objects/ui/zone.h"
#include "objects/visual/visualrecord.h"
#include "page/ui/pageview.h"
#include "platform/messages.h"
#include "platform/qt/dialogbuttons.h"
#include "platform/qt/qtstrings.h"
#include "richtext/ui/aehbox.h"

namespace tarn::app::ui {
using namespace document::field;
using objects::TMyyImage;
using objects::TMyyVisual;
using objects::TMyyZona;

namespace {

constexpr std::string_view kObjectInsertion = "Object insertion";
constexpr int kDefaultFramePercent = 50;
constexpr int kDefaultEditSize = 20;

QString Q(std::string_view text) { return platform::qt::ToQString(text); }
std::string FromQ(const QString& text) { return platform::qt::FromQString(text).value_or(std::string()); }

// The compact dialog of the program's object properties: a form of rows
// over the Ok/Cancel row.
class PropertiesDialog : public QDialog {
 public:
  PropertiesDialog(QWidget* parent, const QString& title, const char* name) : QDialog(parent) {
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    form = new QFormLayout;
    layout->addLayout(form);
    layout->addLayout(platform::qt::OkCancelRow(this));
  }
  QSpinBox* Number(const char* name, const QString& label, int value, int low, int high) {
    auto* spin = new QSpinBox(this);
    spin->setObjectName(QString::fromLatin1(name));
    spin->setRange(low, high);
    spin->setValue(std::clamp(value, low, high));
    form->addRow(label, spin);
    return spin;
  }
  QLineEdit* Text(const char* name, const QString& label, const QString& value, int capacity) {
    auto* edit = new QLineEdit(value, this);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(capacity);
    form->addRow(label, edit);
    return edit;
  }
  QComboBox* Choice(const char* name, const QString& label, const QStringList& items, int current) {
    auto* combo = new QComboBox(this);
    combo->setObjectName(QString::fromLatin1(name));
    combo->addItems(items);
    combo->setCurrentIndex(std::clamp(current, 0, static_cast<int>(items.size()) - 1));
    form->addRow(label, combo);
    return combo;
  }
  QFormLayout* form;
};

QStringList PageTitles(const document::TAEHset& set, std::vector<int>& indexes) {
  QStringList titles;
  for (int i = 0; i < set.CountOf(document::testoHtml); ++i) {
    const document::TAEHoggetto* page = set.GetObject(document::testoHtml, i);
    if (page == nullptr || page->IsFree()) continue;
    indexes.push_back(i);
    titles << QStringLiteral("%1  %2").arg(i).arg(Q(page->GetCaption()));
  }
  return titles;
}

}  // namespace

SelectedObject SelectedKindOf(QWidget* object, SelectedObject textBox) {
  if (qobject_cast<TMyyZona*>(object) != nullptr) return SelectedObject::Image;
  auto* visual = qobject_cast<TMyyVisual*>(object);
  if (visual == nullptr) return qobject_cast<richtext::ui::TAEHbox*>(object) != nullptr ? textBox : SelectedObject::OtherVisual;
  switch (visual->Class()) {
    case objects::visual::VisualClass::Image: return SelectedObject::Image;
    case objects::visual::VisualClass::Floating: return SelectedObject::FloatingFrame;
    case objects::visual::VisualClass::Button: return SelectedObject::Button;
    default: return SelectedObject::OtherVisual;
  }
}

bool DescribeObject(QWidget* object, std::string& sizeText, std::string& panelText) {
  if (auto* zone = qobject_cast<TMyyZona*>(object)) object = zone->parentWidget();
  auto* visual = qobject_cast<TMyyVisual*>(object);
  if (visual == nullptr || visual->Record() == nullptr) return false;
  const document::TAEHoggetto& record = *visual->Record();
  switch (visual->Class()) {
    case objects::visual::VisualClass::Image:
      sizeText = ImageSizePanelText(visual->width(), visual->height(), false, record.I16(kPlacedNaturalWidth),
                                    record.I16(kPlacedNaturalHeight));
      panelText = ImagePanelText();
      return true;
    case objects::visual::VisualClass::Floating: {
      const bool percent = record.U8(kFramePercent) != 0;
      sizeText = FloatingSizePanelText(percent ? record.I16(kFrameWidth) : visual->width(),
                                       percent ? record.I16(kFrameHeight) : visual->height(), percent);
      const int page = objects::visual::FloatingPage(record);
      const document::TAEHoggetto* shown =
          record.Owner() != nullptr && page >= 0 ? record.Owner()->GetObject(document::testoHtml, page) : nullptr;
      panelText = FloatingPanelText(shown == nullptr, shown != nullptr ? shown->GetCaption() : std::string(),
                                    record.Str(kObjectName, kFormNameCapacity));
      return true;
    }
    default:
      sizeText = std::to_string(visual->width()) + "x" + std::to_string(visual->height());
      panelText = FormControlPanelText(record.Kind(), visual->Class() == objects::visual::VisualClass::BelPanel);
      return true;
  }
}

InsertCommands::InsertCommands(CommandSet& commands, Host host, QObject* parent)
    : QObject(parent), m_commands(commands), m_host(std::move(host)) {
  commands.Bind("ImageButtonClick", [this](const CommandCall&) {
    const std::string path = m_host.choosePicture ? m_host.choosePicture() : std::string();
    if (!path.empty() && !InsertPicture(path)) {
      m_host.messages.Error("Cannot read the picture " + path);
    }
  });
  commands.Bind("FloatingButtonClick", [this](const CommandCall&) {
    std::vector<int> indexes;
    const QStringList titles = PageTitles(m_host.set, indexes);
    PropertiesDialog dialog(&m_host.window, QStringLiteral("Floating frame"), "FFloating");
    QComboBox* page = dialog.Choice("cbPage", QStringLiteral("Page shown:"), titles, 0);
    QSpinBox* w = dialog.Number("seWidth", QStringLiteral("Width (%):"), kDefaultFramePercent, 1, 100);
    QSpinBox* h = dialog.Number("seHeight", QStringLiteral("Height (%):"), kDefaultFramePercent, 1, 100);
    if (dialog.exec() != QDialog::Accepted || indexes.empty()) return;
    InsertFloatingFrame(indexes[static_cast<std::size_t>(std::max(0, page->currentIndex()))], w->value(), h->value());
  });
  commands.Bind("InputsButtonClick", [this](const CommandCall&) { FormElement(); });
  commands.Bind("ButtonButtonClick", [this](const CommandCall&) {
    PropertiesDialog dialog(&m_host.window, QStringLiteral("Button"), "FButton");
    QComboBox* kind = dialog.Choice("cbKind", QStringLiteral("Kind:"),
                                    {QStringLiteral("Submit"), QStringLiteral("Push button"), QStringLiteral("Reset")}, 0);
    QLineEdit* caption = dialog.Text("eCaption", QStringLiteral("Caption:"), QStringLiteral("Send"), kFieldValueCapacity);
    if (dialog.exec() != QDialog::Accepted) return;
    InsertButton(kind->currentIndex() + 1, FromQ(caption->text()));
  });
  commands.Bind("Marcatorediiniziomodulo1Click", [this](const CommandCall&) {
    PropertiesDialog dialog(&m_host.window, QStringLiteral("Start form marker"), "FFormStart");
    QLineEdit* action = dialog.Text("eAction", QStringLiteral("Action:"), {}, kFormStartNameCapacity);
    if (dialog.exec() == QDialog::Accepted) InsertFormStart(FromQ(action->text()));
  });
  commands.Bind("AddClickZoneClick", [this](const CommandCall&) {
    if (TMyyImage* image = FocusedImage()) image->AddZone();
  });
  commands.Bind("CancelClickZoneClick", [this](const CommandCall&) {
    if (TMyyImage* image = FocusedImage()) image->DeleteSelectedZone();
  });
  commands.Bind("PrimoPianoClick", [this](const CommandCall&) {
    if (TMyyZona* zone = FocusedZone()) FocusedImage()->BringZoneToFront(zone);
  });
  commands.Bind("SecondoPianoClick", [this](const CommandCall&) {
    if (TMyyZona* zone = FocusedZone()) FocusedImage()->SendZoneToBack(zone);
  });
  commands.Bind("Img100percClick", [this](const CommandCall&) {
    if (TMyyImage* image = FocusedImage()) image->Zoom(100);
  });
  commands.Bind("Img50percClick", [this](const CommandCall&) {
    if (TMyyImage* image = FocusedImage()) image->Zoom(50);
  });
  commands.Bind("SeguiCollZoneClick", [this](const CommandCall&) {
    TMyyZona* zone = FocusedZone();
    if (zone == nullptr || zone->Link() == 0) return;
    if (objects::FrameSetInterface* fs = zone->GetFrameSet()) fs->FollowLink(zone->Link(), FocusedImage()->Box());
  });
  commands.Bind("Segui1Click", [this](const CommandCall&) {
    if (TMyyImage* image = FocusedImage()) image->ActivateLink();
  });
  commands.Bind("LinkZoneClick", [this](const CommandCall&) { ZoneLink(); });
  commands.Bind("DefCollSpecZoneClick", [this](const CommandCall&) { ZoneSpecialLink(); });
  commands.Bind("DefCollSpecImageClick", [this](const CommandCall&) { ImageSpecialLink(); });
  commands.Bind("Definiscicollancora1Click", [this](const CommandCall&) { SetZoneLinkToLastAnchor(); });
  if (QMenu* zoneMenu = commands.Menu("PopupMenuZona")) {
    // The zone's menu shows what its link is, and offers the last anchor
    // only once one has been inserted.
    connect(zoneMenu, &QMenu::aboutToShow, this, [this] {
      TMyyZona* zone = FocusedZone();
      const document::TAEHoggetto* special = ZoneSpecialLinkRecord();
      if (QAction* a = m_commands.Action("Definiscicollancora1")) a->setEnabled(lastInsertedAnchor >= 0);
      if (QAction* a = m_commands.Action("ZoSpecialLink")) {
        a->setCheckable(true);
        a->setChecked(special != nullptr);
      }
      for (QAction* a : m_commands.ActionsOf("LinkZoneClick")) {
        a->setCheckable(true);
        a->setChecked(zone != nullptr && zone->Link() != 0 && zone->Link() != -1 && special == nullptr);
      }
    });
  }
  commands.Bind("ProprietImmag1Click", [this](const CommandCall&) {
    if (TMyyImage* image = FocusedImage()) ImageProperties(*image);
  });
  // A double click on an object asks for its properties; its popup menu is
  // the table's popup of its kind.
  TMyyVisual::propertiesRequested = [this](TMyyVisual& object) {
    if (object.Class() == objects::visual::VisualClass::Image) {
      ImageProperties(object);
    } else {
      ObjectProperties(object);
    }
  };
  TMyyVisual::menuFor = [this](TMyyVisual& object) -> QMenu* {
    switch (object.Class()) {
      case objects::visual::VisualClass::Image: return m_commands.Menu("PopupMenuImmagine");
      default: return nullptr;
    }
  };
  TMyyZona::menu = [this] { return m_commands.Menu("PopupMenuZona"); };
}

InsertCommands::~InsertCommands() {
  TMyyVisual::propertiesRequested = nullptr;
  TMyyVisual::menuFor = nullptr;
  TMyyZona::menu = nullptr;
}

TMyyVisual* InsertCommands::FocusedObject() const {
  for (QWidget* w = QApplication::focusWidget(); w != nullptr; w = w->parentWidget()) {
    if (auto* visual = qobject_cast<TMyyVisual*>(w)) return visual;
  }
  return nullptr;
}

TMyyImage* InsertCommands::FocusedImage() const { return qobject_cast<TMyyImage*>(FocusedObject()); }

TMyyZona* InsertCommands::FocusedZone() const {
  for (QWidget* w = QApplication::focusWidget(); w != nullptr; w = w->parentWidget()) {
    if (auto* zone = qobject_cast<TMyyZona*>(w)) return zone;
  }
  return nullptr;
}

richtext::ui::TAEHbox* InsertCommands::ActiveBox() const {
  for (QWidget* w = QApplication::focusWidget(); w != nullptr; w = w->parentWidget()) {
    if (auto* box = qobject_cast<richtext::ui::TAEHbox*>(w)) return box;
  }
  // Without the focus in a page, the first box the editor shows.
  QWidget* editor = m_host.editor.Widget();
  if (editor == nullptr) return nullptr;
  for (auto* box : editor->findChildren<richtext::ui::TAEHbox*>()) {
    if (box->isVisible() && !box->ReadOnly()) return box;
  }
  return nullptr;
}

bool InsertCommands::InsertRecord(std::unique_ptr<document::TAEHoggetto> record, std::string_view caption) {
  richtext::ui::TAEHbox* box = ActiveBox();
  if (box == nullptr) return false;
  if (!page::ui::PageBox::InsertObject(*box, std::move(record), caption)) return false;
  box->setFocus(Qt::OtherFocusReason);
  return true;
}

bool InsertCommands::InsertPicture(const std::string& path) {
  document::TAEHoggetto* image = m_host.set.AddImageFile(path);
  if (image == nullptr) return false;
  return InsertRecord(m_host.set.AddImmagineNew(image), kObjectInsertion);
}

bool InsertCommands::InsertFloatingFrame(int page, int widthPercent, int heightPercent) {
  auto frame = m_host.set.NewObject(document::inputStat);
  frame->SetSubtype(kFloatingFrame);
  frame->SetStr(kObjectName, kFormNameCapacity, "frame");
  frame->SetI32(kFrameTarget, page);
  frame->SetU8(kFrameShowNested, 0);
  frame->SetU8(kFrameAutoJump, 0);
  frame->SetU8(kFramePercent, 1);
  frame->SetI16(kFrameWidth, static_cast<std::int16_t>(widthPercent));
  frame->SetI16(kFrameHeight, static_cast<std::int16_t>(heightPercent));
  return InsertRecord(std::move(frame), kObjectInsertion);
}

bool InsertCommands::InsertFormField(int subtype, const std::string& name, const std::string& value) {
  auto field = m_host.set.NewObject(document::inputStat);
  field->SetSubtype(subtype);
  field->SetStr(kObjectName, kFormNameCapacity, name);
  field->SetStr(kFieldValue, kFieldValueCapacity, value);
  field->SetU8(kFieldHasValue, value.empty() ? 0 : 1);
  field->SetU8(kFieldChecked, 0);
  field->SetU8(kFieldColumns, 30);
  field->SetU8(kFieldRows, 4);
  field->SetU8(kFieldSize, subtype == kFieldList ? 4 : kDefaultEditSize);
  field->SetU8(kFieldMultiple, 0);
  if (subtype == kFieldList || subtype == kFieldCombo) {
    // The value names the items, one per comma; each sends itself.
    std::string items;
    std::string rest = value.empty() ? std::string("One,Two,Three") : value;
    std::size_t start = 0;
    while (start <= rest.size()) {
      const std::size_t comma = rest.find(',', start);
      const std::string item = rest.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
      items += item + "\r\n" + item + "\r\nn\r\n";
      if (comma == std::string::npos) break;
      start = comma + 1;
    }
    field->SetContent(items);
    field->SetStr(kFieldValue, kFieldValueCapacity, "");
  }
  return InsertRecord(std::move(field), kObjectInsertion);
}

bool InsertCommands::InsertButton(int subtype, const std::string& caption) {
  auto button = m_host.set.NewObject(document::bottoneCGI);
  button->SetSubtype(subtype);
  button->SetStr(kObjectName, kFormNameCapacity, "");
  button->SetStr(kFieldValue, kFieldValueCapacity, caption);
  button->SetI32(kButtonImage, -1);
  button->SetI32(kButtonLink, -1);
  return InsertRecord(std::move(button), kObjectInsertion);
}

bool InsertCommands::InsertFormStart(const std::string& action) {
  auto form = m_host.set.NewObject(document::inizioForm);
  form->SetSubtype(kFormGet);
  form->SetStr(kObjectName, kFormStartNameCapacity, action);
  form->SetStr(kFormEncoding, kFormEncodingCapacity, "");
  return InsertRecord(std::move(form), kObjectInsertion);
}

void InsertCommands::FormElement() {
  PropertiesDialog dialog(&m_host.window, QStringLiteral("Form element"), "FFormElement");
  const QStringList kinds = {QStringLiteral("Edit box"),  QStringLiteral("Password"), QStringLiteral("File"),
                             QStringLiteral("Memo"),      QStringLiteral("Hidden"),   QStringLiteral("Radio button"),
                             QStringLiteral("Check box"), QStringLiteral("List"),     QStringLiteral("Combo list")};
  QComboBox* kind = dialog.Choice("cbKind", QStringLiteral("Kind:"), kinds, 0);
  QLineEdit* name = dialog.Text("eName", QStringLiteral("Name:"), QStringLiteral("field"), kFormNameCapacity);
  QLineEdit* value = dialog.Text("eValue", QStringLiteral("Value (list items separated by commas):"), {},
                                 kFieldValueCapacity);
  if (dialog.exec() != QDialog::Accepted) return;
  InsertFormField(kind->currentIndex() + 1, FromQ(name->text()), FromQ(value->text()));
}

void InsertCommands::ImageProperties(TMyyVisual& object) {
  document::TAEHoggetto* record = object.Record();
  if (record == nullptr || object.ReadOnly()) return;
  PropertiesDialog dialog(&m_host.window, QStringLiteral("Image properties"), "FImageProperties");
  QLineEdit* alt = dialog.Text("eAlt", QStringLiteral("Alternative text:"),
                               Q(record->Str(kPlacedAltText, kPlacedAltTextCapacity)), kPlacedAltTextCapacity);
  QSpinBox* w = dialog.Number("seWidth", QStringLiteral("Width:"), record->I16(kPlacedWidth), 1,
                              objects::visual::kMaxObjectSize);
  QSpinBox* h = dialog.Number("seHeight", QStringLiteral("Height:"), record->I16(kPlacedHeight), 1,
                              objects::visual::kMaxObjectSize);
  QComboBox* align = dialog.Choice(
      "cbAlign", QStringLiteral("Alignment:"),
      {QStringLiteral("Left"), QStringLiteral("Right"), QStringLiteral("Centre"), QStringLiteral("Top"),
       QStringLiteral("Middle"), QStringLiteral("Bottom")},
      record->U8(kPlacedAlignment));
  if (dialog.exec() != QDialog::Accepted) return;
  object.CreateUndo(objects::visual::UndoCaption(object.Class()));
  record->SetStr(kPlacedAltText, kPlacedAltTextCapacity, FromQ(alt->text()));
  record->SetU8(kPlacedAlignment, static_cast<std::uint8_t>(align->currentIndex()));
  if (auto* image = qobject_cast<TMyyImage*>(&object)) image->WriteToRecord();
  objects::visual::ResizeImage(*record, w->value(), h->value());
  object.LoadFromRecord();
  object.RequestRelayout();
}

void InsertCommands::ObjectProperties(TMyyVisual& object) {
  document::TAEHoggetto* record = object.Record();
  if (record == nullptr || object.ReadOnly()) return;
  const int kind = record->Kind();
  if (kind != document::inputStat && kind != document::bottoneCGI) return;
  PropertiesDialog dialog(&m_host.window, QStringLiteral("Form element"), "FFormElement");
  QLineEdit* name =
      dialog.Text("eName", QStringLiteral("Name:"), Q(record->Str(kObjectName, kFormNameCapacity)), kFormNameCapacity);
  QLineEdit* value = dialog.Text("eValue", QString::fromLatin1(kind == document::bottoneCGI ? "Caption:" : "Value:"),
                                 Q(record->Str(kFieldValue, kFieldValueCapacity)), kFieldValueCapacity);
  QCheckBox* checked = nullptr;
  if (kind == document::inputStat && (record->Subtype() == kFieldRadio || record->Subtype() == kFieldCheckBox)) {
    checked = new QCheckBox(&dialog);
    checked->setObjectName(QStringLiteral("cbChecked"));
    checked->setChecked(record->U8(kFieldChecked) != 0);
    dialog.form->addRow(QStringLiteral("Checked at first:"), checked);
  }
  if (dialog.exec() != QDialog::Accepted) return;
  object.CreateUndo(objects::visual::UndoCaption(object.Class()));
  record->SetStr(kObjectName, kFormNameCapacity, FromQ(name->text()));
  record->SetStr(kFieldValue, kFieldValueCapacity, FromQ(value->text()));
  if (kind == document::inputStat) record->SetU8(kFieldHasValue, value->text().isEmpty() ? 0 : 1);
  if (checked != nullptr) record->SetU8(kFieldChecked, checked->isChecked() ? 1 : 0);
  object.LoadFromRecord();
  object.RequestRelayout();
}

bool InsertCommands::SetZoneLinkToPage(int page) {
  const document::TAEHoggetto* target = m_host.set.GetObject(document::testoHtml, page);
  if (target == nullptr || target->IsFree()) return false;
  auto link = m_host.set.NewObject(document::speclink);
  link->SetSubtype(document::kSpecialToObject);
  link->SetI32(kSpecialTarget, target->GetId());
  link->SetU8(kSpecialTargetKind, 1);
  link->SetU8(kSpecialAction, document::kReplaceWindow);
  link->SetI32(kSpecialAnchor, -1);
  return SetZoneLink(std::move(link));
}

bool InsertCommands::SetZoneLinkToUrl(const std::string& url) {
  if (url.empty()) return false;
  auto link = m_host.set.NewObject(document::internetLink);
  link->SetSubtype(url.starts_with("mailto:") ? kLinkMail : kLinkWeb);
  link->SetStr(kLinkUrl, kLinkUrlCapacity, url);
  return SetZoneLink(std::move(link));
}

bool InsertCommands::SetZoneLink(std::unique_ptr<document::TAEHoggetto> link) {
  TMyyZona* zone = FocusedZone();
  TMyyImage* image = FocusedImage();
  if (zone == nullptr || image == nullptr || image->Box() == nullptr) return false;
  image->CreateUndo("Modify image");
  const std::int32_t value = page::ui::PageBox::AddLink(*image->Box(), std::move(link));
  if (value == -1) return false;
  zone->SetLink(value);
  image->WriteToRecord();
  return true;
}

void InsertCommands::ZoneLink() {
  if (FocusedZone() == nullptr) return;
  std::vector<int> indexes;
  QStringList titles = PageTitles(m_host.set, indexes);
  titles.prepend(QStringLiteral("(an address)"));
  PropertiesDialog dialog(&m_host.window, QStringLiteral("Link for click area"), "FZoneLink");
  QComboBox* page = dialog.Choice("cbPage", QStringLiteral("Page:"), titles, 0);
  QLineEdit* url = dialog.Text("eUrl", QStringLiteral("Address:"), QStringLiteral("http://"), kLinkUrlCapacity);
  if (dialog.exec() != QDialog::Accepted) return;
  if (page->currentIndex() > 0) {
    SetZoneLinkToPage(indexes[static_cast<std::size_t>(page->currentIndex() - 1)]);
  } else {
    SetZoneLinkToUrl(FromQ(url->text()));
  }
}

int InsertCommands::lastInsertedAnchor = -1;

const document::TAEHoggetto* InsertCommands::ZoneSpecialLinkRecord() const {
  TMyyZona* zone = FocusedZone();
  TMyyImage* image = FocusedImage();
  if (zone == nullptr || image == nullptr || image->Box() == nullptr) return nullptr;
  const std::int32_t value = zone->Link();
  if (value == 0 || value == -1) return nullptr;
  const document::TAEHoggetto* record = page::ui::PageBox::LinkRecord(*image->Box(), value);
  return record != nullptr && record->Kind() == document::speclink ? record : nullptr;
}

bool InsertCommands::SetZoneLinkToLastAnchor() {
  if (FocusedZone() == nullptr) {
    m_host.messages.Information("Problem detected #3. (Definiscicollancora1)");
    return false;
  }
  if (lastInsertedAnchor < 0) return false;
  auto link = m_host.set.NewObject(document::speclink);
  link->SetSubtype(document::kSpecialToObject);
  link->SetI32(kSpecialTarget, -1);
  // An anchor of the current page: no target object, a jump within the page.
  link->SetU8(kSpecialTargetKind, 6);
  link->SetU8(kSpecialAction, document::kAnchorInPage);
  link->SetI32(kSpecialAnchor, lastInsertedAnchor);
  return SetZoneLink(std::move(link));
}

bool InsertCommands::SetZoneSpecialLink(const SpecialLink& fields) {
  if (FocusedZone() == nullptr) {
    m_host.messages.Information("Problem detected #2. (DefCollSpecZoneClick)");
    return false;
  }
  return SetZoneLink(richtext::NewSpecialLink(m_host.set, fields));
}

void InsertCommands::ZoneSpecialLink() {
  if (FocusedZone() == nullptr) {
    m_host.messages.Information("Problem detected #2. (DefCollSpecZoneClick)");
    return;
  }
  // The dialog starts from the zone's special link when it has one.
  const document::TAEHoggetto* old = ZoneSpecialLinkRecord();
  SpecialLink fields = old != nullptr ? richtext::ReadSpecialLink(*old) : SpecialLink{};
  if (EditSpecialLink(m_host.set, fields, QStringLiteral("Special link for click area"), "FZoneSpecialLink",
                      &m_host.window)) {
    SetZoneSpecialLink(fields);
  }
}

// The picture's own link is the link of its character: the character is
// selected and given the new link like any text.
bool InsertCommands::SetImageSpecialLink(const SpecialLink& fields) {
  TMyyImage* image = FocusedImage();
  richtext::ui::TAEHbox* box = image != nullptr ? image->Box() : nullptr;
  const TMyyVisual::Place place = image != nullptr ? image->FindInText() : TMyyVisual::Place{};
  if (box == nullptr || place.paragraph < 0) {
    m_host.messages.Information("Problem detected #2. (DefCollSpecImageClick)");
    return false;
  }
  const std::int32_t value = page::ui::PageBox::AddLink(*box, richtext::NewSpecialLink(m_host.set, fields));
  if (value == -1) return false;
  box->Text().SelectRange({place.paragraph, place.character}, {place.paragraph, place.character + 1});
  return box->TextAttributes().SetLink(value);
}

void InsertCommands::ImageSpecialLink() {
  TMyyImage* image = FocusedImage();
  if (image == nullptr || image->Box() == nullptr || image->FindInText().paragraph < 0) {
    m_host.messages.Information("Problem detected #2. (DefCollSpecImageClick)");
    return;
  }
  const TMyyVisual::Place place = image->FindInText();
  const std::int32_t link =
      image->Box()->Text().Paragraph(place.paragraph).infos[static_cast<std::size_t>(place.character)].link;
  const document::TAEHoggetto* old = link != -1 ? page::ui::PageBox::LinkRecord(*image->Box(), link) : nullptr;
  SpecialLink fields = old != nullptr ? richtext::ReadSpecialLink(*old) : SpecialLink{};
  if (EditSpecialLink(m_host.set, fields, QStringLiteral("Special link for image"), "FImageSpecialLink",
                      &m_host.window)) {
    SetImageSpecialLink(fields);
  }
}

}  // namespace tarn::app::ui
