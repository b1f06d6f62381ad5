// The screen objects of records; see visual.h.
#include "objects/ui/visual.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMovie>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>

#include "document/aehpicture.h"
#include "document/aehset.h"
#include "document/links.h"
#include "document/placedrecords.h"
#include "document/recordfields.h"
#include "objects/ui/visualpaint.h"
#include "objects/ui/zone.h"
#include "platform/qt/qtstrings.h"
#include "richtext/ui/aehbox.h"
#include "undo/aehundolist.h"
#include "undo/tbobackup.h"

namespace tarn::objects {
using namespace document::field;
using visual::VisualClass;

std::function<void(TMyyVisual&)> TMyyVisual::propertiesRequested;
std::function<QMenu*(TMyyVisual&)> TMyyVisual::menuFor;

namespace {

QString Q(std::string_view text) { return platform::qt::ToQString(text); }
std::string FromQ(const QString& text) { return platform::qt::FromQString(text).value_or(std::string()); }

constexpr int kZonePasteOffset = 5;

}  // namespace

// ---- TMyyVisual ----

TMyyVisual::TMyyVisual(VisualClass visualClass, QWidget* parent) : TDragCustomControl(parent), m_class(visualClass) {
  setObjectName(QString::fromLatin1(visual::ClassName(visualClass).data(),
                                    static_cast<qsizetype>(visual::ClassName(visualClass).size())));
  resize(visual::kCreatedSize, visual::kCreatedSize);
  setFocusPolicy(Qt::ClickFocus);
}

TMyyVisual::~TMyyVisual() = default;

TMyyVisual* TMyyVisual::Create(document::TAEHoggetto& record, QWidget* parent) {
  TMyyVisual* made = nullptr;
  switch (visual::ClassOf(record)) {
    case VisualClass::None: return nullptr;
    case VisualClass::Image: made = new TMyyImage(parent); break;
    case VisualClass::BelPanel: made = new TMyyBelPanel(parent); break;
    case VisualClass::InizioForm: made = new TMyyInizioForm(parent); break;
    case VisualClass::Button: made = new TMyyButton(parent); break;
    case VisualClass::Multimedia: made = new TMyyMultimedia(parent); break;
    case VisualClass::Edit: made = new TMyyEdit(parent); break;
    case VisualClass::Memo: made = new TMyyMemo(parent); break;
    case VisualClass::RadioButton: made = new TMyyRadioButton(parent); break;
    case VisualClass::CheckBox: made = new TMyyCheckBox(parent); break;
    case VisualClass::ListBox: made = new TMyyListBox(parent); break;
    case VisualClass::ComboBox: made = new TMyyComboBox(parent); break;
    case VisualClass::Floating: made = new TMyyFloating(parent); break;
  }
  // Hidden until the layout places it.
  made->hide();
  made->Group().SetMode(visual::Resizable(record) ? 2 : 1);
  if (auto* box = qobject_cast<richtext::ui::TAEHbox*>(parent)) made->SetReadOnly(box->ReadOnly());
  made->SetRecord(&record);
  return made;
}

void TMyyVisual::SetRecord(document::TAEHoggetto* record) {
  if (record == m_record) return;
  m_record = record;
  if (m_record != nullptr) LoadFromRecord();
}

void TMyyVisual::LoadFromRecord() { UpdateView(); }

void TMyyVisual::UpdateView() {
  RefreshHint();
  SetAvailableWidth(m_availableWidth);
}

void TMyyVisual::RefreshHint() {
  if (m_record == nullptr) return;
  setToolTip(Q(document::GetDescription(*m_record)));
}

int TMyyVisual::ContainerHeight() const {
  for (QWidget* w = parentWidget(); w != nullptr; w = w->parentWidget()) {
    if (auto* area = qobject_cast<QAbstractScrollArea*>(w)) return area->viewport()->height();
  }
  return parentWidget() != nullptr ? parentWidget()->height() : 0;
}

void TMyyVisual::SetAvailableWidth(int width) {
  m_availableWidth = width;
  if (m_record == nullptr) return;
  const visual::PixelSize size =
      visual::ResolveSize(visual::ObjectScreenSize(*m_record), width, ContainerHeight());
  ApplySize(size.width, size.height);
}

void TMyyVisual::ApplySize(int width, int height) {
  if (width != this->width() || height != this->height()) SetBounds(x(), y(), width, height);
}

void TMyyVisual::DoubleClickAction() {
  if (propertiesRequested && !ReadOnly()) propertiesRequested(*this);
}

richtext::ui::TAEHbox* TMyyVisual::Box() const { return qobject_cast<richtext::ui::TAEHbox*>(parentWidget()); }

TMyyVisual::Place TMyyVisual::FindInText() const {
  richtext::ui::TAEHbox* box = Box();
  if (box == nullptr || m_embedded == nullptr) return {};
  const auto& ps = box->Text().Text().paragraphs;
  for (std::size_t i = 0; i < ps.size(); ++i) {
    const richtext::TAEHparag& p = *ps[i];
    for (int c = 0; c < p.Length(); ++c) {
      const std::int32_t o = p.infos[static_cast<std::size_t>(c)].object;
      if (o >= 0 && static_cast<std::size_t>(o) < p.objects.size() && p.objects[static_cast<std::size_t>(o)] == m_embedded) {
        return {static_cast<int>(i), c};
      }
    }
  }
  return {};
}

void TMyyVisual::RequestRelayout() {
  richtext::ui::TAEHbox* box = Box();
  const Place place = FindInText();
  if (box == nullptr || place.paragraph < 0) return;
  // The object is the same; only its size changed: its paragraph is laid
  // out again and the ones after it move.
  box->Text().LayoutRange(place.paragraph, place.paragraph);
  box->update();
}

void TMyyVisual::SelectReference() {
  richtext::ui::TAEHbox* box = Box();
  const Place place = FindInText();
  if (box == nullptr || place.paragraph < 0) return;
  box->SelectRange({place.paragraph, place.character}, {place.paragraph, place.character + 1});
}

void TMyyVisual::EnsureRegistered() {
  if (m_undoNumber < 0) return;
  richtext::ui::TAEHbox* box = Box();
  undo::UndoControl* boxControl = box != nullptr ? box->UndoControl() : nullptr;
  undo::TAEHundoIndiciList* list = boxControl != nullptr ? boxControl->UndoList() : nullptr;
  if (list != nullptr && list->Lookup(m_undoNumber) != this) list->Put(this, m_undoNumber);
}

void TMyyVisual::CreateUndo(std::string_view caption) {
  if (m_record == nullptr || m_record->Owner() == nullptr || caption.empty()) return;
  undo::TAEHundoList* list = undo::UndoListOf(*m_record->Owner());
  EnsureRegistered();
  if (list == nullptr || UndoList() == nullptr) return;
  undo::TimBackup::Create(*list, *this, std::string(caption));
}

richtext::BoxText* TMyyVisual::HoldingText() {
  richtext::ui::TAEHbox* box = Box();
  return box != nullptr ? &box->Text() : nullptr;
}

void TMyyVisual::Restored(int) {
  LoadFromRecord();
  RequestRelayout();
}

bool TMyyVisual::UndoFocus() {
  if (!isVisible() || !isEnabled()) return false;
  setFocus(Qt::OtherFocusReason);
  return true;
}

void TMyyVisual::SetReadOnly(bool value) {
  const bool changed = value != ReadOnly();
  TDragCustomControl::SetReadOnly(value);
  if (changed && m_record != nullptr && WantsReloadOnModeChange(true)) UpdateView();
}

void TMyyVisual::SetLocked(bool value) { TDragCustomControl::SetLocked(value); }

void TMyyVisual::BeginResize() { CreateUndo(visual::ResizeCaption(m_class)); }

void TMyyVisual::EndResize() {
  StoreSize();
  RequestRelayout();
  setFocus(Qt::OtherFocusReason);
  // The status bar shows the new size at once, not at the next selection.
  if (FrameSetInterface* fs = GetFrameSet()) fs->ObjectChanged(this);
}

void TMyyVisual::mousePressEvent(QMouseEvent* event) {
  MoveStart = event->position().toPoint();
  if (SuppressNextUp) return;
  if (event->button() != Qt::LeftButton) return;
  if (!ReadOnly() && !Locked() && !hasFocus() && focusPolicy() != Qt::NoFocus) {
    IgnoreMove = true;
    setFocus(Qt::MouseFocusReason);
  }
  DragPending = true;
  DragOrigin = MoveStart;
}

void TMyyVisual::mouseMoveEvent(QMouseEvent* event) {
  if (IgnoreMove || !DragPending || SuppressNextUp) return;
  const QPoint d = event->position().toPoint() - DragOrigin;
  const int major = std::max(std::abs(d.x()), std::abs(d.y()));
  const int minor = std::min(std::abs(d.x()), std::abs(d.y()));
  if (major < kDragStartMajor || minor < kDragStartMinor) return;
  DragPending = false;
  // Moving an object is moving its character: the box selects it, and the
  // box's own commands (cut, paste, delete) act on it.
  if (ReadOnly()) return;
  SelectReference();
  // Dragged on, the character travels as the box's selection: dropped in
  // the same box it moves there, as one undo step.
  if (richtext::ui::TAEHbox* box = Box(); box != nullptr && !Locked()) box->DragSelection();
}

void TMyyVisual::mouseReleaseEvent(QMouseEvent* event) {
  MoveStart = event->position().toPoint();
  IgnoreMove = false;
  if (SuppressNextUp) {
    SuppressNextUp = false;
    return;
  }
  DragPending = false;
  if (event->button() == Qt::LeftButton && (ReadOnly() || Locked())) ActivateLink();
}

void TMyyVisual::mouseDoubleClickEvent(QMouseEvent*) {
  DragPending = false;
  SuppressNextUp = true;
  DoubleClickAction();
}

void TMyyVisual::keyPressEvent(QKeyEvent* event) {
  const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  const int key = event->key();
  const bool acts = key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down ||
                    key == Qt::Key_Delete;
  richtext::ui::TAEHbox* box = Box();
  if (plain && acts && !ReadOnly() && !Locked() && box != nullptr) {
    // The key acts on the object's character as on any character.
    SelectReference();
    box->setFocus(Qt::OtherFocusReason);
    QKeyEvent copy(event->type(), key, event->modifiers(), event->text());
    QApplication::sendEvent(box, &copy);
    return;
  }
  TDragCustomControl::keyPressEvent(event);
}

void TMyyVisual::focusInEvent(QFocusEvent* event) {
  IgnoreMove = false;
  TDragCustomControl::focusInEvent(event);
}

void TMyyVisual::contextMenuEvent(QContextMenuEvent* event) {
  QMenu* menu = ownMenu ? ownMenu.data() : (menuFor ? menuFor(*this) : nullptr);
  if (menu == nullptr) return;
  if (!ReadOnly() && !Locked()) setFocus(Qt::MouseFocusReason);
  menu->popup(event->globalPos());
}

// ---- TMyyImage ----

TMyyImage::TMyyImage(QWidget* parent) : TMyyVisual(VisualClass::Image, parent) {
  SetSelectOnFocus(false);
  setMouseTracking(true);
}

TMyyImage::~TMyyImage() {
  if (m_movie) m_movie->stop();
}

void TMyyImage::ClearZones() {
  for (TMyyZona* zone : m_zones) delete zone;
  m_zones.clear();
}

TMyyZona* TMyyImage::MakeZone(const visual::Zone& zone, int tableIndex) {
  auto* made = new TMyyZona(*this, tableIndex);
  made->LoadZone(zone);
  made->SetReadOnly(ReadOnly() || Locked());
  made->SetShowBox(true);
  made->show();
  return made;
}

void TMyyImage::LoadFromRecord() {
  ClearZones();
  UpdateView();
  if (Record() == nullptr) return;
  const std::vector<visual::Zone> zones = visual::ReadZones(*Record());
  // From the last entry to the first: entry 0 ends topmost.
  for (int i = static_cast<int>(zones.size()) - 1; i >= 0; --i) {
    TMyyZona* zone = MakeZone(zones[static_cast<std::size_t>(i)], i);
    zone->raise();
    m_zones.push_back(zone);
  }
}

void TMyyImage::WriteToRecord() {
  if (Record() == nullptr) return;
  std::vector<visual::Zone> zones;
  int index = 0;
  for (auto it = m_zones.rbegin(); it != m_zones.rend(); ++it) {
    (*it)->TableIndex = index++;
    zones.push_back((*it)->SaveZone());
  }
  visual::WriteZones(*Record(), zones);
}

void TMyyImage::UpdateView() {
  RefreshHint();
  if (Record() != nullptr) {
    const std::string alt = Record()->Str(kPlacedAltText, kPlacedAltTextCapacity);
    if (!alt.empty()) setToolTip(toolTip().isEmpty() ? Q(alt) : toolTip() + QStringLiteral(" - ") + Q(alt));
  }
  SetAvailableWidth(0);
  StartAnimation();
  update();
}

void TMyyImage::SetAvailableWidth(int width) {
  if (Record() == nullptr) return;
  TMyyVisual::SetAvailableWidth(width);
  const visual::PixelSize size = visual::ImageDisplaySize(*Record());
  if (Record()->Owner() != nullptr) m_picture = Record()->Owner()->SharedPicture(Record());
  ApplySize(size.width, size.height);
}

void TMyyImage::StartAnimation() {
  document::TAEHpicture* picture = Record() != nullptr ? Record()->GetPicture() : nullptr;
  const bool animate = ReadOnly() && picture != nullptr && picture->FrameCount() > 1;
  if (!animate) {
    if (m_movie) m_movie->stop();
    delete m_movie;
    return;
  }
  if (m_movie) return;
  // The movie reads the file's bytes from a buffer of its own.
  auto* buffer = new QBuffer(this);
  buffer->setData(QByteArray(picture->AnimationBytes().data(), static_cast<qsizetype>(picture->AnimationBytes().size())));
  m_movie = new QMovie(buffer, QByteArray("gif"), this);
  connect(m_movie, &QMovie::frameChanged, this, [this] { update(); });
  connect(m_movie, &QObject::destroyed, buffer, &QObject::deleteLater);
  m_movie->start();
}

bool TMyyImage::IsOpaque() const {
  const document::TAEHpicture* picture = Record() != nullptr ? Record()->GetPicture() : nullptr;
  return picture != nullptr && !picture->Transparent() && !picture->Bitmap().Empty();
}

void TMyyImage::paintEvent(QPaintEvent*) {
  if (Record() == nullptr) return;
  QPainter painter(this);
  const QRect r = rect();
  if (m_movie && m_movie->state() == QMovie::Running) {
    painter.drawPixmap(r, m_movie->currentPixmap());
    return;
  }
  document::TAEHpicture* picture = nullptr;
  if (m_hover && !Selected()) {
    if (document::TAEHoggetto* over = document::PlacedRollOverPicture(*Record())) picture = over->GetPicture();
  }
  if (picture == nullptr) picture = m_picture ? m_picture.get() : Record()->GetPicture();
  if (picture != nullptr && PaintPicture(painter, r, *picture)) return;
  PaintPlaceholder(painter, r, Q(visual::PlaceholderName(*Record())));
}

void TMyyImage::enterEvent(QEnterEvent* event) {
  m_hover = true;
  if (Record() != nullptr && document::PlacedRollOverPicture(*Record()) != nullptr) update();
  TMyyVisual::enterEvent(event);
}

void TMyyImage::leaveEvent(QEvent* event) {
  m_hover = false;
  if (Record() != nullptr && document::PlacedRollOverPicture(*Record()) != nullptr) update();
  TMyyVisual::leaveEvent(event);
}

void TMyyImage::ActivateLink() {
  // The image's own link is the link of its character in the text.
  richtext::ui::TAEHbox* box = Box();
  const Place place = FindInText();
  if (box == nullptr || place.paragraph < 0) return;
  const richtext::TAEHparag& p = box->Text().Paragraph(place.paragraph);
  const std::int32_t link = p.infos[static_cast<std::size_t>(place.character)].link;
  if (link == -1) return;
  if (FrameSetInterface* fs = GetFrameSet()) fs->FollowLink(link, box);
}

void TMyyImage::DoubleClickAction() {
  if (!ReadOnly()) {
    ActivateLink();
    TMyyVisual::DoubleClickAction();
  }
}

void TMyyImage::StoreSize() {
  if (Record() == nullptr) return;
  // The zones on screen go to the record, which scales them with the size.
  WriteToRecord();
  const visual::PixelSize before{Record()->I16(kPlacedWidth), Record()->I16(kPlacedHeight)};
  visual::ResizeImage(*Record(), width(), height());
  if (before.width != width() || before.height != height()) LoadFromRecord();
}

void TMyyImage::EndResize() { TMyyVisual::EndResize(); }

void TMyyImage::SetReadOnly(bool value) {
  TMyyVisual::SetReadOnly(value);
  for (TMyyZona* zone : m_zones) {
    zone->SetReadOnly(value || Locked());
    zone->SetShowBox(true);
    zone->update();
  }
  StartAnimation();
}

void TMyyImage::Zoom(int percent) {
  if (Record() == nullptr || FindInText().paragraph < 0) return;
  CreateUndo("Image resize");
  WriteToRecord();
  visual::ZoomImage(*Record(), percent);
  LoadFromRecord();
  RequestRelayout();
  setFocus(Qt::OtherFocusReason);
}

TMyyZona* TMyyImage::AddZone() {
  CreateUndo("Clic area add");
  const visual::Zone placed = visual::NewZoneAt(MoveStart.x(), MoveStart.y(), width(), height());
  TMyyZona* zone = MakeZone(placed, -1);
  m_zones.insert(m_zones.begin(), zone);
  zone->raise();
  zone->setFocus(Qt::OtherFocusReason);
  zone->SetSelected(true);
  return zone;
}

void TMyyImage::DeleteZone(TMyyZona* zone) {
  auto it = std::find(m_zones.begin(), m_zones.end(), zone);
  if (it == m_zones.end()) return;
  CreateUndo("Clic area deletion");
  // The step saved the zones with this one; now it goes.
  it = std::find(m_zones.begin(), m_zones.end(), zone);
  m_zones.erase(it);
  zone->hide();
  zone->deleteLater();
  if (!ReadOnly()) setFocus(Qt::OtherFocusReason);
  update();
}

bool TMyyImage::DeleteSelectedZone() {
  TMyyZona* zone = SelectedZoneControl();
  if (zone == nullptr) return false;
  DeleteZone(zone);
  return true;
}

TMyyZona* TMyyImage::SelectedZoneControl() const {
  for (auto it = m_zones.rbegin(); it != m_zones.rend(); ++it) {
    if ((*it)->Selected()) return *it;
  }
  return nullptr;
}

int TMyyImage::SelectedZone() const {
  const TMyyZona* zone = SelectedZoneControl();
  if (zone == nullptr) return -1;
  const auto at = std::find(m_zones.begin(), m_zones.end(), zone) - m_zones.begin();
  return static_cast<int>(m_zones.size()) - 1 - static_cast<int>(at);
}

void TMyyImage::BringZoneToFront(TMyyZona* zone) {
  auto it = std::find(m_zones.begin(), m_zones.end(), zone);
  if (it == m_zones.end()) return;
  CreateUndo("Bring to front clic area");
  m_zones.erase(std::find(m_zones.begin(), m_zones.end(), zone));
  m_zones.push_back(zone);
  zone->raise();
  zone->Group().BringDecorationToFront();
  zone->setFocus(Qt::OtherFocusReason);
}

void TMyyImage::SendZoneToBack(TMyyZona* zone) {
  auto it = std::find(m_zones.begin(), m_zones.end(), zone);
  if (it == m_zones.end()) return;
  CreateUndo("Send to back clic area");
  m_zones.erase(std::find(m_zones.begin(), m_zones.end(), zone));
  m_zones.insert(m_zones.begin(), zone);
  zone->lower();
  zone->setFocus(Qt::OtherFocusReason);
}

std::string TMyyImage::CopyZone(const TMyyZona& zone) const { return visual::ZoneClipboardBytes(zone.SaveZone()); }

TMyyZona* TMyyImage::PasteZone(std::string_view bytes) {
  visual::Zone entry;
  if (ReadOnly() || !visual::ZoneFromClipboardBytes(bytes, entry)) return nullptr;
  CreateUndo("Clipboard insertion");
  entry.left += kZonePasteOffset;
  entry.top += kZonePasteOffset;
  TMyyZona* zone = MakeZone(entry, -1);
  m_zones.insert(m_zones.begin(), zone);
  zone->raise();
  zone->setFocus(Qt::OtherFocusReason);
  zone->SetSelected(true);
  return zone;
}

void TMyyImage::Restored(int zone) {
  LoadFromRecord();
  RequestRelayout();
  const int at = static_cast<int>(m_zones.size()) - 1 - zone;
  if (zone >= 0 && at >= 0 && at < static_cast<int>(m_zones.size())) {
    m_zones[static_cast<std::size_t>(at)]->setFocus(Qt::OtherFocusReason);
    m_zones[static_cast<std::size_t>(at)]->SetSelected(true);
  } else if (!ReadOnly()) {
    setFocus(Qt::OtherFocusReason);
  }
  Group().SetSizing(false);
}

// ---- TMyyBelPanel ----

TMyyBelPanel::TMyyBelPanel(QWidget* parent, VisualClass visualClass) : TMyyVisual(visualClass, parent) {
  m_reloadOnModeChange = true;
}

void TMyyBelPanel::UpdateView() {
  RefreshHint();
  if (Record() == nullptr) return;
  const visual::Glyph glyph = visual::GlyphOf(*Record());
  ApplySize(glyph.width, visual::kGlyphSize);
  update();
}

bool TMyyBelPanel::ShownInMode() const {
  return !ReadOnly() || (Record() != nullptr && visual::GlyphOf(*Record()).name == "triang");
}

bool TMyyBelPanel::WantsReloadOnModeChange(bool value) const {
  if (Record() != nullptr && Record()->Kind() == document::shortObj && Record()->Subtype() == kShortMarker) {
    return false;
  }
  return value;
}

void TMyyBelPanel::ActivateLink() {
  // An anchor leads nowhere by itself; other markers have no link.
}

void TMyyBelPanel::paintEvent(QPaintEvent*) {
  if (Record() == nullptr || !ShownInMode()) return;
  QPainter painter(this);
  const visual::Glyph glyph = visual::GlyphOf(*Record());
  if (width() > 2 * visual::kGlyphSize) {
    // Wide panels show what follows the first ": " of their hint.
    QString text = toolTip();
    const qsizetype colon = text.indexOf(QStringLiteral(": "));
    if (colon >= 0) text = text.mid(colon + 2);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(Qt::blue);
    painter.drawLine(0, 0, width() - 1, 0);
    QFont font = painter.font();
    font.setPointSize(8);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(visual::kGlyphSize, 0, width() - visual::kGlyphSize, height()),
                     Qt::AlignVCenter | Qt::AlignLeft, text);
  }
  if (glyph.name.empty()) {
    painter.fillRect(QRect(0, 0, visual::kGlyphSize, visual::kGlyphSize), QColor(192, 192, 192));
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, visual::kGlyphSize - 1, visual::kGlyphSize - 1);
    return;
  }
  PaintGlyph(painter, rect(), glyph.name);
}

// ---- Controls ----

void TMyyControlHost::Adopt(QWidget* control) {
  m_control = control;
  control->setParent(this);
  control->setGeometry(rect());
  control->installEventFilter(this);
  control->setFocusPolicy(Qt::ClickFocus);
  control->show();
  SetReadOnly(ReadOnly());
}

void TMyyControlHost::SetReadOnly(bool value) {
  TMyyVisual::SetReadOnly(value);
  // While the page is edited a click selects the object; a reader uses
  // the control.
  if (m_control) m_control->setAttribute(Qt::WA_TransparentForMouseEvents, !value);
}

void TMyyControlHost::resizeEvent(QResizeEvent* event) {
  TMyyVisual::resizeEvent(event);
  if (m_control) m_control->setGeometry(rect());
}

bool TMyyControlHost::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_control && event->type() == QEvent::MouseButtonDblClick) {
    DoubleClickAction();
    return true;
  }
  return TMyyVisual::eventFilter(watched, event);
}

TMyyButton::TMyyButton(QWidget* parent) : TMyyControlHost(VisualClass::Button, parent) {
  SetSelectOnFocus(false);
  auto* button = new QPushButton(this);
  Adopt(button);
  connect(button, &QPushButton::clicked, this, [this] {
    if (ReadOnly() || Locked()) ActivateLink();
  });
}

void TMyyButton::UpdateView() {
  RefreshHint();
  if (Record() == nullptr) return;
  const bool plain = Record()->I32(kButtonImage) < 0;
  if (auto* button = qobject_cast<QPushButton*>(Control())) {
    button->setText(Q(Record()->Str(kFieldValue, kFieldValueCapacity)));
    button->setToolTip(toolTip());
    button->setVisible(plain);
  }
  setCursor(plain ? Qt::ArrowCursor : Qt::PointingHandCursor);
  SetAvailableWidth(AvailableWidth());
  update();
}

void TMyyButton::SetAvailableWidth(int width) {
  if (Record() != nullptr && Record()->I32(kButtonImage) >= 0) {
    // An image button starts at its picture's size.
    document::TAEHoggetto* image = document::ImageByField(Record()->Owner(), Record()->I32(kButtonImage));
    const document::TAEHpicture* picture = image != nullptr ? image->GetPicture() : nullptr;
    if (picture != nullptr && !picture->Empty() &&
        (picture->Width() != Record()->I16(kButtonNaturalWidth) ||
         picture->Height() != Record()->I16(kButtonNaturalHeight))) {
      Record()->SetI16(kButtonNaturalWidth, static_cast<std::int16_t>(picture->Width()));
      Record()->SetI16(kButtonNaturalHeight, static_cast<std::int16_t>(picture->Height()));
      visual::ResizeButton(*Record(), picture->Width(), picture->Height());
    }
  }
  TMyyVisual::SetAvailableWidth(width);
}

void TMyyButton::ActivateLink() {
  if (Record() == nullptr) return;
  const std::int32_t link = Record()->I32(kButtonLink);
  if (link != -1) {
    if (FrameSetInterface* fs = GetFrameSet()) fs->FollowLink(link, Box());
  }
  if (Record()->Subtype() == kButtonReset) ResetForm();
}

void TMyyButton::ResetForm() {
  richtext::ui::TAEHbox* box = Box();
  if (box == nullptr) return;
  // The objects of the box in text order.
  std::vector<TMyyVisual*> objects;
  for (const auto& p : box->Text().Text().paragraphs) {
    for (int c = 0; c < p->Length(); ++c) {
      const std::int32_t o = p->infos[static_cast<std::size_t>(c)].object;
      if (o < 0 || static_cast<std::size_t>(o) >= p->objects.size()) continue;
      for (TMyyVisual* v : box->findChildren<TMyyVisual*>(Qt::FindDirectChildrenOnly)) {
        if (v->Embedded() == p->objects[static_cast<std::size_t>(o)]) objects.push_back(v);
      }
    }
  }
  const auto self = std::find(objects.begin(), objects.end(), this);
  if (self == objects.end()) return;
  auto start = objects.begin();
  for (auto it = objects.begin(); it != self; ++it) {
    if ((*it)->Class() == VisualClass::InizioForm) start = it;
  }
  // The form ends where the next one starts.
  for (auto it = start; it != objects.end(); ++it) {
    if (it != start && (*it)->Class() == VisualClass::InizioForm && it > self) break;
    (*it)->UpdateView();
  }
}

void TMyyButton::StoreSize() {
  if (Record() != nullptr) visual::ResizeButton(*Record(), width(), height());
}

void TMyyButton::paintEvent(QPaintEvent*) {
  if (Record() == nullptr || Record()->I32(kButtonImage) < 0) return;
  QPainter painter(this);
  PaintRecord(painter, rect(), *Record(), !ReadOnly());
}

TMyyEdit::TMyyEdit(QWidget* parent) : TMyyControlHost(VisualClass::Edit, parent) { Adopt(new QLineEdit(this)); }

void TMyyEdit::UpdateView() {
  TMyyVisual::UpdateView();
  auto* edit = qobject_cast<QLineEdit*>(Control());
  if (Record() == nullptr || edit == nullptr) return;
  edit->setEchoMode(Record()->Subtype() == kFieldPassword ? QLineEdit::Password : QLineEdit::Normal);
  edit->setText(Record()->U8(kFieldHasValue) != 0 ? Q(Record()->Str(kFieldValue, kFieldValueCapacity)) : QString());
  edit->setToolTip(toolTip());
}

std::string TMyyEdit::GetValue() const {
  auto* edit = qobject_cast<QLineEdit*>(Control());
  return edit != nullptr ? FromQ(edit->text()) : std::string();
}

void TMyyEdit::SetValue(const std::string& text) {
  if (auto* edit = qobject_cast<QLineEdit*>(Control())) edit->setText(Q(text));
}

TMyyMemo::TMyyMemo(QWidget* parent) : TMyyControlHost(VisualClass::Memo, parent) {
  auto* memo = new QPlainTextEdit(this);
  memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Adopt(memo);
}

void TMyyMemo::UpdateView() {
  TMyyVisual::UpdateView();
  auto* memo = qobject_cast<QPlainTextEdit*>(Control());
  if (Record() == nullptr || memo == nullptr) return;
  QString text;
  if (Record()->Kind() == document::inputStat && Record()->U8(kFieldHasValue) != 0) {
    if (auto content = Record()->ReadContent()) text = Q(*content);
  }
  memo->setPlainText(text);
}

std::string TMyyMemo::GetValue() const {
  auto* memo = qobject_cast<QPlainTextEdit*>(Control());
  return memo != nullptr ? FromQ(memo->toPlainText()) : std::string();
}

void TMyyMemo::SetValue(const std::string& text) {
  if (auto* memo = qobject_cast<QPlainTextEdit*>(Control())) memo->setPlainText(Q(text));
}

void TMyyCheckedControl::UpdateView() {
  TMyyVisual::UpdateView();
  if (Record() != nullptr) SetChecked(Record()->U8(kFieldChecked) != 0);
}

void TMyyCheckedControl::SetChecked(bool on) {
  if (on == m_checked) return;
  m_checked = on;
  // Radio buttons of one name exclude each other.
  if (on && Class() == VisualClass::RadioButton && Record() != nullptr && parentWidget() != nullptr) {
    const std::string name = Record()->Str(kObjectName, kFormNameCapacity);
    for (TMyyVisual* other : parentWidget()->findChildren<TMyyVisual*>(Qt::FindDirectChildrenOnly)) {
      auto* radio = qobject_cast<TMyyRadioButton*>(other);
      if (radio == nullptr || radio == this || radio->Record() == nullptr) continue;
      if (radio->Record()->Str(kObjectName, kFormNameCapacity) == name) radio->SetChecked(false);
    }
  }
  update();
}

std::string TMyyCheckedControl::GetValue() const {
  return Record() != nullptr ? visual::CheckedValue(*Record(), m_checked) : std::string();
}

void TMyyCheckedControl::SetValue(const std::string& text) {
  SetChecked(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())).compare(
                 QStringLiteral("checked"), Qt::CaseInsensitive) == 0);
}

void TMyyCheckedControl::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) m_pressed = true;
  TMyyVisual::mousePressEvent(event);
  update();
}

void TMyyCheckedControl::mouseReleaseEvent(QMouseEvent* event) {
  const bool inside = rect().contains(event->position().toPoint());
  if (m_pressed && inside && event->button() == Qt::LeftButton) Clicked();
  m_pressed = false;
  update();
  TMyyVisual::mouseReleaseEvent(event);
}

void TMyyCheckedControl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  painter.setPen(QColor(96, 96, 96));
  painter.setBrush(m_pressed ? QColor(208, 208, 208) : QColor(Qt::white));
  if (Class() == VisualClass::CheckBox) {
    painter.drawRect(r);
    if (m_checked) {
      painter.setPen(QPen(Qt::black, 2));
      painter.drawLine(QPointF(3, height() / 2.0), QPointF(width() / 2.0 - 1, height() - 3));
      painter.drawLine(QPointF(width() / 2.0 - 1, height() - 3), QPointF(width() - 2.5, 3));
    }
  } else {
    painter.drawEllipse(r);
    if (m_checked) {
      painter.setBrush(Qt::black);
      painter.drawEllipse(r.adjusted(3.5, 3.5, -3.5, -3.5));
    }
  }
}

TMyyListBox::TMyyListBox(QWidget* parent) : TMyyControlHost(VisualClass::ListBox, parent) {
  Adopt(new QListWidget(this));
}

void TMyyListBox::UpdateView() {
  TMyyVisual::UpdateView();
  auto* list = qobject_cast<QListWidget*>(Control());
  if (Record() == nullptr || list == nullptr) return;
  const bool multiple = Record()->U8(kFieldMultiple) != 0;
  list->clear();
  list->setSelectionMode(multiple ? QAbstractItemView::MultiSelection : QAbstractItemView::SingleSelection);
  if (Record()->Kind() != document::inputStat) return;
  const auto items = document::ListItems(*Record());
  for (const document::ListItem& item : items) list->addItem(Q(item.shown));
  if (multiple) {
    for (std::size_t i = 0; i < items.size(); ++i) {
      list->item(static_cast<int>(i))->setSelected(visual::ItemFlagged(items[i]));
    }
  } else {
    const int selected = visual::InitialSelection(items, false);
    if (selected >= 0) list->setCurrentRow(selected);
  }
}

std::string TMyyListBox::GetValue() const {
  auto* list = qobject_cast<QListWidget*>(Control());
  if (Record() == nullptr || list == nullptr || Record()->U8(kFieldMultiple) != 0) return {};
  const QList<QListWidgetItem*> selected = list->selectedItems();
  if (selected.isEmpty()) return {};
  return visual::ItemValue(document::ListItems(*Record()), list->row(selected.front()));
}

void TMyyListBox::SetValue(const std::string& text) {
  auto* list = qobject_cast<QListWidget*>(Control());
  if (Record() == nullptr || list == nullptr) return;
  const auto items = document::ListItems(*Record());
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].value == text) list->setCurrentRow(static_cast<int>(i));
  }
}

TMyyComboBox::TMyyComboBox(QWidget* parent) : TMyyControlHost(VisualClass::ComboBox, parent) {
  Adopt(new QComboBox(this));
}

void TMyyComboBox::UpdateView() {
  TMyyVisual::UpdateView();
  auto* combo = qobject_cast<QComboBox*>(Control());
  if (Record() == nullptr || combo == nullptr) return;
  combo->clear();
  if (Record()->Kind() != document::inputStat) return;
  const auto items = document::ListItems(*Record());
  for (const document::ListItem& item : items) combo->addItem(Q(item.shown));
  combo->setCurrentIndex(visual::InitialSelection(items, true));
}

std::string TMyyComboBox::GetValue() const {
  auto* combo = qobject_cast<QComboBox*>(Control());
  if (Record() == nullptr || combo == nullptr) return {};
  return visual::ItemValue(document::ListItems(*Record()), combo->currentIndex());
}

void TMyyComboBox::SetValue(const std::string& text) {
  auto* combo = qobject_cast<QComboBox*>(Control());
  if (Record() == nullptr || combo == nullptr) return;
  const auto items = document::ListItems(*Record());
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].value == text) combo->setCurrentIndex(static_cast<int>(i));
  }
}

// ---- Multimedia and floating frames ----

TMyyMultimedia::TMyyMultimedia(QWidget* parent) : TMyyVisual(VisualClass::Multimedia, parent) {
  SetSelectOnFocus(false);
}

void TMyyMultimedia::UpdateView() {
  TMyyVisual::UpdateView();
  update();
}

bool TMyyMultimedia::ShownInMode() const {
  // Glyphs show while editing only.
  return !ReadOnly() || Record() == nullptr || visual::GlyphOf(*Record()).name.empty();
}

void TMyyMultimedia::StoreSize() {
  if (Record() != nullptr) visual::ResizeMultimedia(*Record(), width(), height(), AvailableWidth(), ContainerHeight());
}

void TMyyMultimedia::paintEvent(QPaintEvent*) {
  if (Record() == nullptr) return;
  QPainter painter(this);
  PaintRecord(painter, rect(), *Record(), !ReadOnly());
}

TMyyFloating::TMyyFloating(QWidget* parent) : TMyyVisual(VisualClass::Floating, parent) { SetSelectOnFocus(false); }

void TMyyFloating::UpdateView() {
  TMyyVisual::UpdateView();
  update();
}

void TMyyFloating::StoreSize() {
  if (Record() != nullptr) visual::ResizeFloating(*Record(), width(), height(), AvailableWidth(), ContainerHeight());
}

void TMyyFloating::paintEvent(QPaintEvent*) {
  if (Record() == nullptr) return;
  QPainter painter(this);
  PaintRecord(painter, rect(), *Record(), !ReadOnly());
}

}  // namespace tarn::objects
