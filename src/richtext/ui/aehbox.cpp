// The text box; see aehbox.h.
#include "richtext/ui/aehbox.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDrag>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolTip>
#include <QUrl>

#include <algorithm>

#include "document/objectkinds.h"
#include "platform/clipboard.h"
#include "platform/qt/qtcanvas.h"
#include "platform/qt/qtstrings.h"

namespace tarn::richtext::ui {
namespace {

TAEHbox* g_dragSource = nullptr;

// The frame set's own items of the spelling menu carry this tag and stay.
constexpr int kSpellMenuKeepTag = 10;

std::size_t Index(int i) { return static_cast<std::size_t>(i); }

QByteArray ToBytes(const std::string& s) { return QByteArray(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

TAEHbox::TAEHbox(TextHost& host, QWidget* parent, platform::TextMeasurer* layoutMeasurer)
    : objects::TDragCustomControl(parent),
      m_ownMeasurer(layoutMeasurer == nullptr ? std::make_unique<platform::qt::QtCanvas>() : nullptr),
      m_text(host, layoutMeasurer != nullptr ? *layoutMeasurer : *m_ownMeasurer, nullptr),
      m_textAttributes(m_text),
      m_paraAttributes(m_text),
      m_caret(new TAEHcursor(this)),
      m_dropCaret(new TAEHcursor(this)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAcceptDrops(true);
  setMouseTracking(true);
  setFocusPolicy(Qt::ClickFocus);
  setCursor(PointerShape(PointerSlot::Text));
  beep = [] { QApplication::beep(); };
  m_text.onUpdateEnded = [this] { update(); };
  m_text.Layout().onRepaint = [this](int from, int to) {
    if (m_text.UpdateDepth() == 0) update(0, from, width(), std::max(to - from, 1));
  };
  m_text.Layout().onVerticalRange = [this](int) { UpdateExtent(); };
  m_text.Layout().onHorizontalRange = [this](int) { UpdateExtent(); };
}

TAEHbox::~TAEHbox() {
  if (g_dragSource == this) g_dragSource = nullptr;
}

TAEHbox* TAEHbox::DragSource() { return g_dragSource; }

undo::TextBoxControl& TAEHbox::AttachUndo(document::TAEHset& set) {
  m_undo = std::make_unique<undo::TextBoxControl>(set, m_text);
  m_undo->onRestored = [this] {
    UpdateExtent();
    Changed();
    ScrollCaretIntoView();
  };
  m_undo->onFocus = [this] {
    if (!isVisible() || !isEnabled() || !Editable()) return false;
    setFocus(Qt::OtherFocusReason);
    return true;
  };
  return *m_undo;
}

// ---- Loading, size and painting ----

bool TAEHbox::LoadText(std::string_view content, std::string_view header, std::string_view footer, int version) {
  TextLayout& layout = m_text.Layout();
  const int width = std::max(m_clientWidth > 0 ? m_clientWidth : this->width(), kMinimumWidth);
  layout.layoutWidth = width;
  layout.widestExtent = width;
  layout.editablePageBox = Editable();
  const bool loaded = m_text.LoadText(content, header, footer, version);
  m_textAttributes.EndRuns();
  UpdateExtent();
  Changed();
  update();
  return loaded;
}

void TAEHbox::SetBackgroundColour(std::uint32_t colour) {
  m_background = colour;
  update();
}

void TAEHbox::SetPaintsBackground(bool on) {
  m_paintsBackground = on;
  setAttribute(Qt::WA_OpaquePaintEvent, on);
  update();
}

void TAEHbox::SetPageClientWidth(int width) {
  width = std::max(width, kMinimumWidth);
  if (width == m_clientWidth) return;
  m_clientWidth = width;
  TextLayout& layout = m_text.Layout();
  layout.layoutWidth = width;
  layout.widestExtent = width;
  if (!m_text.Text().paragraphs.empty()) layout.LayoutAll();
  UpdateExtent();
  UpdateCaret();
  update();
}

void TAEHbox::SetRequestedSize(int width, int height) {
  m_requestedWidth = std::max(width, kMinimumWidth);
  m_requestedHeight = height;
  UpdateExtent();
}

void TAEHbox::UpdateExtent() {
  const TextLayout& layout = m_text.Layout();
  const int w = std::max({m_requestedWidth, layout.widestExtent, m_clientWidth, kMinimumWidth});
  const int h = std::max(m_requestedHeight, layout.ContentHeight() + 1);
  if (w != width() || h != height()) {
    resize(w, h);
    emit ExtentChanged(size());
  }
}

void TAEHbox::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  if (m_paintsBackground) painter.fillRect(event->rect(), platform::qt::ToQColor(m_background));
  if (m_text.Text().paragraphs.empty()) return;
  painter.setRenderHint(QPainter::TextAntialiasing);
  platform::qt::QtCanvas canvas(&painter);
  const QRect r = event->rect();
  const Selection selection = m_selectionShown ? m_text.LayoutSelection() : Selection{};
  m_text.Layout().Paint(canvas, {r.left(), r.top(), r.right() + 1, r.bottom() + 1}, selection);
  // Screen objects and screen tables draw themselves; the tables are moved
  // to where this layout put them.
  PlaceTables();
}

// ---- Caret, selection and the frame set ----

void TAEHbox::SelectRange(CharPos from, CharPos to) {
  m_text.SelectRange(from, to);
  Changed();
}

void TAEHbox::SelectAll() {
  m_text.SelectAll();
  Changed();
}

void TAEHbox::UpdateCaret() {
  if (m_text.Text().paragraphs.empty()) return;
  m_caret->SetPosition(m_text.CaretPos());
  if (hasFocus() && Editable() && !m_text.HasSelection() && !m_dragging) {
    m_caret->StartBlinking();
  } else {
    m_caret->StopBlinking();
  }
}

void TAEHbox::Changed() {
  UpdateCaret();
  update();
  emit CaretMoved();
  if (objects::FrameSetInterface* fs = GetFrameSet()) fs->CaretChanged(this);
}

QAbstractScrollArea* TAEHbox::PageArea() const {
  for (QWidget* w = parentWidget(); w != nullptr; w = w->parentWidget()) {
    if (auto* area = qobject_cast<QAbstractScrollArea*>(w)) return area;
  }
  return nullptr;
}

void TAEHbox::ScrollCaretIntoView() {
  auto* area = qobject_cast<QScrollArea*>(PageArea());
  if (area == nullptr || area->widget() == nullptr) return;
  const TextPos pos = m_text.CaretPos();
  const QPoint centre = mapTo(area->widget(), QPoint(pos.x, pos.y + pos.height / 2));
  area->ensureVisible(centre.x(), centre.y(), TAEHcursor::kWidth, pos.height / 2 + 1);
}

void TAEHbox::SetReadOnly(bool value) {
  objects::TDragCustomControl::SetReadOnly(value);
  m_text.Layout().editablePageBox = Editable();
  setCursor(PointerShape(Editable() ? PointerSlot::Text : PointerSlot::Default));
  UpdateCaret();
  update();
}

void TAEHbox::SetLocked(bool value) {
  objects::TDragCustomControl::SetLocked(value);
  m_text.Layout().editablePageBox = Editable();
  UpdateCaret();
  update();
}

// ---- Keyboard ----

void TAEHbox::keyPressEvent(QKeyEvent* event) {
  if (m_text.UpdateDepth() > 0 || m_text.Text().paragraphs.empty()) return;
  const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
  const bool ctrl = mods & Qt::ControlModifier;
  const bool shift = mods & Qt::ShiftModifier;
  const int key = event->key();
  if (FormatKey(event)) return;
  if (!Editable()) {
    // Browsing: the arrows scroll the page.
    QAbstractScrollArea* area = PageArea();
    if (area == nullptr) return;
    QScrollBar* h = area->horizontalScrollBar();
    QScrollBar* v = area->verticalScrollBar();
    switch (key) {
      case Qt::Key_Left: h->setValue(h->value() - kReadOnlyScrollStep); break;
      case Qt::Key_Right: h->setValue(h->value() + kReadOnlyScrollStep); break;
      case Qt::Key_Up: v->setValue(v->value() - kReadOnlyScrollStep); break;
      case Qt::Key_Down: v->setValue(v->value() + kReadOnlyScrollStep); break;
      default: break;
    }
    return;
  }
  switch (key) {
    case Qt::Key_Left: Navigate(ctrl ? CaretMove::WordLeft : CaretMove::CharLeft, 1, false, shift); return;
    case Qt::Key_Right: Navigate(ctrl ? CaretMove::WordRight : CaretMove::CharRight, 1, true, shift); return;
    case Qt::Key_Up: Navigate(ctrl ? CaretMove::ParagraphUp : CaretMove::LineUp, 1, false, shift); return;
    case Qt::Key_Down: Navigate(ctrl ? CaretMove::ParagraphDown : CaretMove::LineDown, 1, true, shift); return;
    case Qt::Key_Home: Navigate(ctrl ? CaretMove::TextStart : CaretMove::LineStart, 1, false, shift); return;
    case Qt::Key_End: Navigate(ctrl ? CaretMove::TextEnd : CaretMove::LineEnd, 1, true, shift); return;
    case Qt::Key_PageUp: Navigate(CaretMove::LineUp, kPageLines, false, shift); return;
    case Qt::Key_PageDown: Navigate(CaretMove::LineDown, kPageLines, true, shift); return;
    case Qt::Key_Backspace:
      if (mods == Qt::NoModifier) {
        m_textAttributes.DeletePrevious();
        Changed();
        ScrollCaretIntoView();
      }
      return;
    case Qt::Key_Delete:
      if (mods == Qt::NoModifier) {
        m_textAttributes.DeleteNext();
        Changed();
        ScrollCaretIntoView();
      } else if (mods == Qt::ShiftModifier) {
        Cut();
      }
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      m_textAttributes.SplitParagraph();
      Changed();
      ScrollCaretIntoView();
      return;
    case Qt::Key_F9: FollowLinkAtCaret(); return;
    default: break;
  }
  // Characters; Ctrl and Alt combinations are commands, not text (AltGr
  // arrives as both and types its character).
  const bool altGr = (mods & Qt::ControlModifier) && (mods & Qt::AltModifier);
  if ((ctrl || (mods & Qt::AltModifier)) && !altGr) {
    event->ignore();
    return;
  }
  if (!event->text().isEmpty()) TypeText(event->text());
}

void TAEHbox::TypeText(const QString& text) {
  bool typed = false;
  for (const char32_t code : text.toUcs4()) {
    if (code < 32 || code == 127) continue;
    // Only characters of the document's code page can be stored; anything
    // else is refused audibly rather than kept as a different character.
    const std::optional<std::string> byte = platform::qt::FromQString(QString::fromUcs4(&code, 1));
    if (!byte || byte->size() != 1) {
      if (beep) beep();
      continue;
    }
    m_textAttributes.autoEngQuote = GetFrameSet() != nullptr && GetFrameSet()->AutoEngQuote();
    m_textAttributes.TypeChar(static_cast<unsigned char>((*byte)[0]));
    typed = true;
  }
  if (typed) {
    Changed();
    ScrollCaretIntoView();
  }
}

void TAEHbox::Navigate(CaretMove move, int times, bool toEnd, bool extend) {
  m_textAttributes.EndRuns();
  if (!extend && m_text.HasSelection()) {
    // A shown selection collapses to the end the key points to.
    const CharPos to = toEnd ? m_text.SelectionEnd() : m_text.SelectionStart();
    m_text.SetCaret(to);
    m_text.ClearSelection();
  } else {
    const CharPos anchor = m_text.HasSelection() ? m_text.Anchor() : m_text.Caret();
    TextPos pos = m_text.CaretPos();
    for (int i = 0; i < times; ++i) pos = m_text.Move(move, pos);
    const Boundary status = m_text.LastBoundary();
    m_text.SetCaret(pos);
    if (extend) {
      m_text.SetSelection(anchor, m_text.Caret());
    } else {
      m_text.ClearSelection();
    }
    HandleBoundary(status);
  }
  Changed();
  ScrollCaretIntoView();
}

void TAEHbox::HandleBoundary(Boundary status) { HandleTableBoundary(status); }

void TAEHbox::FollowLinkAtCaret() {
  objects::FrameSetInterface* fs = GetFrameSet();
  if (fs == nullptr || !fs->Enabled()) return;
  const CharPos caret = m_text.Caret();
  const TAEHparag& p = m_text.Paragraph(caret.paragraph);
  std::int32_t link = caret.character < p.Length() ? p.infos[Index(caret.character)].link : -1;
  if (link == -1 && caret.character > 0) link = p.infos[Index(caret.character - 1)].link;
  if (link == -1) return;
  m_text.ClearSelection();
  m_caret->StopBlinking();
  update();
  fs->FollowLink(link, this);
}

// ---- Mouse ----

std::int32_t TAEHbox::LinkAt(const TextPos& pos) const {
  if (pos.paragraph == nullptr || pos.charIndex >= pos.paragraph->Length()) return -1;
  return pos.paragraph->infos[Index(pos.charIndex)].link;
}

void TAEHbox::ResetMouse() {
  m_pressed = false;
  m_pressedInText = false;
  m_selecting = false;
  m_pressedInSelection = false;
  m_dragging = false;
}

void TAEHbox::mousePressEvent(QMouseEvent* event) {
  if (m_text.UpdateDepth() > 0 || m_doubleClicked || m_text.Text().paragraphs.empty()) return;
  const QPoint point = event->position().toPoint();
  ResetMouse();
  m_pressed = true;
  m_pressPoint = point;
  m_dragButton = event->button();
  m_dragCopy = event->modifiers() & Qt::ControlModifier;
  const TextPos own = m_text.Layout().HitTest(point.x(), point.y(), HitScope::Text);
  const TextPos all = m_text.Layout().HitTest(point.x(), point.y(), HitScope::All);
  if (own.paragraph == nullptr) return;
  if (Locked() || (!ReadOnly() && !m_text.IsOwn(all.paragraphIndex))) return;
  m_textAttributes.EndRuns();
  m_pressedInText = true;
  const CharPos at{own.paragraphIndex, own.charIndex};
  m_pressPos = at;
  if (m_text.HasSelection() && m_text.InSelection(at)) {
    m_pressedInSelection = true;
    return;
  }
  if (event->button() == Qt::RightButton && m_text.HasSelection()) return;
  m_text.SetCaret(own);
  m_text.ClearSelection();
  if (ReadOnly()) {
    if (objects::FrameSetInterface* fs = GetFrameSet()) fs->TakeFocus();
  } else {
    setFocus(Qt::MouseFocusReason);
  }
  Changed();
}

void TAEHbox::mouseMoveEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  if (event->buttons() == Qt::NoButton || !m_pressedInText) {
    ShowHover(point);
    return;
  }
  if (!m_selecting && !m_dragging) {
    const QPoint d = point - m_pressPoint;
    if (std::abs(d.x()) <= kDragDistance && std::abs(d.y()) <= kDragDistance) return;
    if (m_pressedInSelection) {
      if (Editable()) StartDrag();
      return;
    }
    m_selecting = true;
    m_caret->StopBlinking();
  }
  if (m_selecting) {
    const TextPos own = m_text.Layout().HitTest(point.x(), point.y(), HitScope::Text);
    if (own.paragraph == nullptr) return;
    m_text.SetSelection(m_pressPos, {own.paragraphIndex, own.charIndex});
    m_text.SetCaret(own);
    Changed();
    ScrollCaretIntoView();
  }
}

void TAEHbox::ShowHover(QPoint point) {
  if (m_text.Text().paragraphs.empty()) return;
  const TextPos all = m_text.Layout().HitTest(point.x(), point.y(), HitScope::All);
  const bool shared = !m_text.IsOwn(all.paragraphIndex);
  const std::int32_t link = LinkAt(all);
  objects::FrameSetInterface* fs = GetFrameSet();
  if (link != -1) {
    if (link != m_hoverLink) {
      // A description is "caption|long text": the tooltip shows the
      // caption, the status bar the long text.
      const QString hint = fs != nullptr ? fs->LinkDescription(link) : QString();
      setToolTip(hint.section(QLatin1Char('|'), 0, 0));
      if (fs != nullptr) fs->ShowHint(hint);
    }
    setCursor(PointerShape(ReadOnly() || shared ? PointerSlot::HandPoint : PointerSlot::EditHand));
  } else {
    if (m_hoverLink != -1) {
      setToolTip({});
      if (fs != nullptr) fs->ShowHint({});
    }
    if (m_text.InSelection({all.paragraphIndex, all.charIndex}) && !shared) {
      setCursor(PointerShape(PointerSlot::DragSelection));
    } else {
      setCursor(PointerShape(ReadOnly() || shared ? PointerSlot::Default : PointerSlot::Text));
    }
  }
  m_hoverLink = link;
}

void TAEHbox::mouseReleaseEvent(QMouseEvent* event) {
  if (m_doubleClicked) {
    m_doubleClicked = false;
    ResetMouse();
    return;
  }
  if (!m_pressed || m_text.Text().paragraphs.empty()) return;
  const QPoint point = event->position().toPoint();
  const bool selecting = m_selecting;
  const bool dragging = m_dragging;
  const bool inText = m_pressedInText;
  ResetMouse();
  if (selecting || dragging) {
    Changed();
    return;
  }
  const TextPos all = m_text.Layout().HitTest(point.x(), point.y(), HitScope::All);
  if (!Editable() || event->button() == Qt::RightButton) {
    const std::int32_t link = LinkAt(all);
    objects::FrameSetInterface* fs = GetFrameSet();
    if (link != -1 && !m_text.HasSelection() && fs != nullptr) {
      const int kind = fs->LinkRecordKind(link);
      if (Editable() && event->button() == Qt::RightButton &&
          (kind == document::genLink || kind == document::speclink)) {
        QMenu* menu = kind == document::speclink ? fs->PopupSpecLink() : fs->PopupGenLink();
        // The menu's "Follow link" follows the link at the caret: it goes
        // to the link clicked.
        m_text.SetCaret(CharPos{all.paragraphIndex, all.charIndex});
        Changed();
        if (menu != nullptr) menu->popup(mapToGlobal(point));
      } else {
        fs->FollowLink(link, this);
      }
      return;
    }
    ShowContextMenu(point);
    return;
  }
  if (!inText || event->button() != Qt::LeftButton) return;
  // FIXME: a release on a table puts the caret at the start of its first cell.
  const TextPos own = m_text.Layout().HitTest(point.x(), point.y(), HitScope::Text);
  m_text.ClearSelection();
  m_text.SetCaret(own);
  Changed();
}

void TAEHbox::leaveEvent(QEvent* event) {
  // The pointer left while over a link: its hint goes with it.
  if (m_hoverLink != -1) {
    m_hoverLink = -1;
    setToolTip({});
    if (objects::FrameSetInterface* fs = GetFrameSet()) fs->ShowHint({});
  }
  objects::TDragCustomControl::leaveEvent(event);
}

void TAEHbox::mouseDoubleClickEvent(QMouseEvent* event) {
  if (m_text.Text().paragraphs.empty()) return;
  m_doubleClicked = true;
  const QPoint point = event->position().toPoint();
  const TextPos all = m_text.Layout().HitTest(point.x(), point.y(), HitScope::All);
  objects::FrameSetInterface* fs = GetFrameSet();
  const std::int32_t link = LinkAt(all);
  if (link != -1 && !m_text.HasSelection()) {
    if (fs != nullptr) fs->FollowLink(link, this);
  } else if (Editable() && m_text.IsOwn(all.paragraphIndex)) {
    m_textAttributes.EndRuns();
    m_text.SelectWordAt({all.paragraphIndex, all.charIndex});
    Changed();
  }
  if (fs != nullptr) fs->DoubleClicked(this);
}

// ---- Menus ----

void TAEHbox::ShowContextMenu(QPoint point) {
  const TextPos all = m_text.Layout().HitTest(point.x(), point.y(), HitScope::All);
  objects::FrameSetInterface* fs = GetFrameSet();
  QMenu* menu = popupMenu;
  const bool shared = all.paragraph != nullptr && !m_text.IsOwn(all.paragraphIndex);
  if (Locked() || (!ReadOnly() && shared)) {
    menu = fs != nullptr ? fs->PopupInactive() : nullptr;
  } else if (all.paragraph != nullptr && Index(all.charIndex) < all.paragraph->spellingMarks.size() &&
             all.paragraph->spellingMarks[Index(all.charIndex)] == '!' && fs != nullptr && fs->PopupSpell() != nullptr) {
    menu = fs->PopupSpell();
    BuildSpellMenu(*menu, {all.paragraphIndex, all.charIndex});
  }
  if (menu != nullptr) menu->popup(mapToGlobal(point));
}

void TAEHbox::BuildSpellMenu(QMenu& menu, CharPos at) {
  objects::FrameSetInterface* fs = GetFrameSet();
  const TAEHparag& p = m_text.Paragraph(at.paragraph);
  const std::string& marks = p.spellingMarks;
  auto marked = [&marks](int i) { return i >= 0 && Index(i) < marks.size() && marks[Index(i)] == '!'; };
  int start = at.character;
  while (marked(start - 1)) --start;
  int end = at.character;
  while (marked(end) && end < p.Length()) ++end;
  const std::string word = p.text.substr(Index(start), Index(end - start));
  const CharPos from{at.paragraph, start};
  const CharPos to{at.paragraph, end};

  for (QAction* action : menu.actions()) {
    if (!action->data().isValid() || action->data().toInt() != kSpellMenuKeepTag) {
      menu.removeAction(action);
      action->deleteLater();
    }
  }
  QAction* first = menu.actions().isEmpty() ? nullptr : menu.actions().front();
  auto add = [&](const QString& text, int tag) {
    auto* action = new QAction(text, &menu);
    action->setData(tag);
    menu.insertAction(first, action);
    return action;
  };
  const std::vector<std::string> suggestions = fs != nullptr ? fs->Suggest(word) : std::vector<std::string>{};
  for (const std::string& suggestion : suggestions) {
    QAction* action = add(platform::qt::ToQString(suggestion), -1);
    connect(action, &QAction::triggered, this, [this, from, to, suggestion] {
      m_text.SelectRange(from, to);
      m_textAttributes.ReplaceSelection(suggestion);
      Changed();
      if (objects::FrameSetInterface* f = GetFrameSet()) f->RestartBackgroundCheck(this);
    });
  }
  if (suggestions.empty()) add(tr("(no suggestions)"), -1)->setEnabled(false);
  add(QString(), -1)->setSeparator(true);
  connect(add(tr("&Ignore all"), 0), &QAction::triggered, this, [this, word] {
    if (objects::FrameSetInterface* f = GetFrameSet()) {
      f->IgnoreAll(word);
      f->RestartBackgroundCheck(this);
    }
  });
  connect(add(tr("&Add"), 1), &QAction::triggered, this, [this, word] {
    if (objects::FrameSetInterface* f = GetFrameSet()) {
      f->AddWord(word);
      f->RestartBackgroundCheck(this);
    }
  });
  add(QString(), 2)->setSeparator(true);
  QAction* check = add(tr("&Spell check"), 3);
  check->setShortcut(QKeySequence(Qt::Key_F7));
  connect(check, &QAction::triggered, this, [this, from] {
    m_text.SetCaret(from);
    if (objects::FrameSetInterface* f = GetFrameSet()) {
      f->SpellCheckFrom(this);
      f->RestartBackgroundCheck(this);
    }
  });
}

// ---- Focus ----

void TAEHbox::focusInEvent(QFocusEvent* event) {
  objects::TDragCustomControl::focusInEvent(event);
  // Qt does not scroll a page to show a focused child on its own, so the
  // box need not pretend to be small while the focus changes.
  if (objects::FrameSetInterface* fs = GetFrameSet()) fs->BoxEntered(this);
  m_selectionShown = true;
  if (m_text.HasSelection()) ScrollCaretIntoView();
  UpdateCaret();
  update();
}

void TAEHbox::focusOutEvent(QFocusEvent* event) {
  m_caret->StopBlinking();
  m_dropCaret->StopBlinking();
  m_selecting = false;
  objects::TDragCustomControl::focusOutEvent(event);
  if (objects::FrameSetInterface* fs = GetFrameSet()) fs->BoxLeft(this);
}

// ---- Clipboard ----

void TAEHbox::Copy() {
  if (m_clipboard == nullptr || !m_text.HasSelection()) return;
  objects::FrameSetInterface* fs = GetFrameSet();
  platform::ClipboardData content;
  if (fs == nullptr || !fs->Wrapper()) {
    content.items.push_back({std::string(platform::kMimeObjects), m_textAttributes.WriteContainer(false)});
    std::string rtf = m_textAttributes.SelectedRtf();
    if (!rtf.empty()) content.items.push_back({std::string(platform::kMimeRtf), std::move(rtf)});
    // FIXME: the picture as an image when the selection is one picture.
  }
  content.items.push_back({std::string(platform::kMimeText), m_textAttributes.SelectedPlainText()});
  m_clipboard->Set(content);
}

void TAEHbox::Cut() {
  if (!Editable() || !m_text.HasSelection()) return;
  Copy();
  m_textAttributes.DeleteSelection();
  Changed();
}

void TAEHbox::SetAlignment(std::uint8_t alignment) {
  if (!Editable()) return;
  m_paraAttributes.SetAlignment(alignment);
  Changed();
}

void TAEHbox::Paste() {
  if (m_clipboard == nullptr || !Editable()) return;
  const platform::ClipboardData content = m_clipboard->Get();
  auto find = [&content](std::string_view mime) -> const std::string* {
    for (const auto& item : content.items) {
      if (item.mimeType == mime) return &item.bytes;
    }
    return nullptr;
  };
  objects::FrameSetInterface* fs = GetFrameSet();
  const bool wrapper = fs != nullptr && fs->Wrapper();
  bool done = false;
  if (!wrapper) {
    const std::string* container = find(platform::kMimeObjects);
    if (container == nullptr) container = find(platform::kMimePicture);
    if (container != nullptr) done = m_textAttributes.InsertContainer(*container, kCaptionClipboard);
    if (!done) {
      if (const std::string* rtf = find(platform::kMimeRtf)) done = m_textAttributes.InsertRtf(*rtf);
    }
    // FIXME: a bitmap without text as a new picture object, once pictures
    // can be made from a bitmap.
  }
  if (!done) {
    if (const std::string* text = find(platform::kMimeText)) m_textAttributes.InsertText(*text, wrapper);
  }
  Changed();
  ScrollCaretIntoView();
}

// ---- Drag and drop ----

void TAEHbox::StartDrag() {
  m_dragging = true;
  m_caret->StopBlinking();
  auto* mime = new QMimeData();
  mime->setData(QString::fromLatin1(platform::kMimeObjects), ToBytes(m_textAttributes.WriteContainer(false)));
  mime->setText(platform::qt::ToQString(m_textAttributes.SelectedPlainText()));
  auto* drag = new QDrag(this);
  drag->setMimeData(mime);
  g_dragSource = this;
  drag->exec(Qt::CopyAction | Qt::MoveAction, m_dragCopy ? Qt::CopyAction : Qt::MoveAction);
  g_dragSource = nullptr;
  m_dropCaret->StopBlinking();
  ResetMouse();
  Changed();
}

bool TAEHbox::DragOverAt(QPoint point, const TAEHbox* source) {
  if (source == nullptr || !Editable() || m_text.Text().paragraphs.empty()) return false;
  const TextPos hit = m_text.Layout().HitTest(point.x(), point.y(), HitScope::Text);
  if (hit.paragraph == nullptr) return false;
  const CharPos at{hit.paragraphIndex, hit.charIndex};
  if (source == this && m_text.InSelection(at)) {
    m_dropCaret->StopBlinking();
    return false;
  }
  m_dropCaret->SetPosition(hit);
  m_dropCaret->SetVisibleInvalidating(true);
  m_dropCaret->raise();
  return true;
}

void TAEHbox::AutoScroll(QPoint point) {
  QAbstractScrollArea* area = PageArea();
  if (area == nullptr) return;
  const QPoint p = mapTo(area->viewport(), point);
  const QRect client = area->viewport()->rect();
  auto step = [](int inside) { return inside > 0 ? inside / 2 : 0; };
  QScrollBar* v = area->verticalScrollBar();
  QScrollBar* h = area->horizontalScrollBar();
  v->setValue(v->value() - step(kScrollBand - (p.y() - client.top())) + step(kScrollBand - (client.bottom() - p.y())));
  h->setValue(h->value() - step(kScrollBand - (p.x() - client.left())) + step(kScrollBand - (client.right() - p.x())));
}

bool TAEHbox::DropText(QPoint point, TAEHbox* source, bool copy) {
  m_dropCaret->StopBlinking();
  if (source == nullptr || !Editable() || !source->m_text.HasSelection()) return false;
  const TextPos hit = m_text.Layout().HitTest(point.x(), point.y(), HitScope::Text);
  if (hit.paragraph == nullptr) return false;
  CharPos at{hit.paragraphIndex, hit.charIndex};
  if (source == this && m_text.InSelection(at)) return false;
  if (source != this && m_text.IsTableParagraph(at.paragraph)) return false;
  const bool samePage = source == this;
  if (samePage && !copy) {
    // A move within the box, objects and all, is one undo step.
    m_textAttributes.MoveSelection(at);
    setFocus(Qt::OtherFocusReason);
    Changed();
    return true;
  }
  // Objects travel as copies of their records (with their links and
  // images); a move then takes them out of the source.
  const std::string container = source->m_textAttributes.WriteContainer(false);
  if (!copy && !samePage) {
    source->m_textAttributes.DeleteSelection();
    source->Changed();
  }
  m_text.SetCaret(at);
  m_text.ClearSelection();
  // The copies are new objects of this page, also when the source is this
  // very box.
  m_textAttributes.InsertContainer(container, kCaptionDrop);
  // FIXME: a cell box posts itself the refresh of its table (44649) here.
  setFocus(Qt::OtherFocusReason);
  Changed();
  return true;
}

void TAEHbox::dragEnterEvent(QDragEnterEvent* event) {
  const QMimeData* mime = event->mimeData();
  if (mime->hasUrls()) {
    event->acceptProposedAction();
  } else if (mime->hasFormat(QString::fromLatin1(platform::kMimeObjects)) && g_dragSource != nullptr && Editable()) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void TAEHbox::dragMoveEvent(QDragMoveEvent* event) {
  const QPoint point = event->position().toPoint();
  if (event->mimeData()->hasUrls()) {
    event->acceptProposedAction();
    return;
  }
  AutoScroll(point);
  if (DragOverAt(point, g_dragSource)) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void TAEHbox::dragLeaveEvent(QDragLeaveEvent*) { m_dropCaret->StopBlinking(); }

void TAEHbox::dropEvent(QDropEvent* event) {
  const QPoint point = event->position().toPoint();
  if (event->mimeData()->hasUrls()) {
    DropFiles(*event->mimeData(), point);
    event->acceptProposedAction();
    return;
  }
  TAEHbox* source = g_dragSource;
  if (source == nullptr) return;
  bool copy = source->m_dragCopy;
  if (source->m_dragButton == Qt::RightButton) {
    objects::FrameSetInterface* fs = GetFrameSet();
    const auto choice = fs != nullptr ? fs->DropMenu(mapToGlobal(point)) : objects::FrameSetInterface::DropChoice::Cancel;
    if (choice == objects::FrameSetInterface::DropChoice::Cancel) {
      m_dropCaret->StopBlinking();
      return;
    }
    copy = choice == objects::FrameSetInterface::DropChoice::Copy;
  }
  if (DropText(point, source, copy)) {
    // The move is done here; the source must not delete anything itself.
    event->setDropAction(Qt::CopyAction);
    event->accept();
  }
}

void TAEHbox::DropFiles(const QMimeData& mime, QPoint point) {
  objects::FrameSetInterface* fs = GetFrameSet();
  if (fs == nullptr || fs->Wrapper()) return;
  std::vector<std::string> paths;
  for (const QUrl& url : mime.urls()) {
    if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
  }
  if (paths.empty()) return;
  if (!Editable()) {
    const QString first = QString::fromStdString(paths.front()).toLower();
    if (first.endsWith(QStringLiteral(".aeh"))) fs->OpenHypertext(paths.front());
    return;
  }
  const TextPos hit = m_text.Layout().HitTest(point.x(), point.y(), HitScope::Text);
  if (hit.paragraph != nullptr) m_text.SetCaret(hit);
  m_text.ClearSelection();
  setFocus(Qt::OtherFocusReason);
  Changed();
  fs->FilesDropped(paths, this);
}

// ---- Page width ----

void TAEHbox::showEvent(QShowEvent* event) {
  objects::TDragCustomControl::showEvent(event);
  QAbstractScrollArea* area = PageArea();
  if (area != nullptr && area->viewport() != m_watchedViewport) {
    m_watchedViewport = area->viewport();
    m_watchedViewport->installEventFilter(this);
    SetPageClientWidth(m_watchedViewport->width());
  }
}

bool TAEHbox::eventFilter(QObject* watched, QEvent* event) {
  // The viewport is watched as a plain widget: while the scroll area is
  // being destroyed its viewport still sends events, and the area must not
  // be looked at then.
  if (m_watchedViewport && watched == m_watchedViewport && event->type() == QEvent::Resize) {
    SetPageClientWidth(m_watchedViewport->width());
  }
  return objects::TDragCustomControl::eventFilter(watched, event);
}

}  // namespace tarn::richtext::ui
