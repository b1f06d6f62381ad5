// The editor control; see framesetwidget.h.
#include "objects/ui/framesetwidget.h"

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <climits>
#include <exception>

#include "document/links.h"
#include "page/ui/pageview.h"
#include "page/workingcopy.h"
#include "platform/messages.h"
#include "platform/qt/qteventloop.h"
#include "platform/qt/qtstrings.h"
#include "richtext/ui/aehbox.h"
#include "search/spellthread.h"

namespace tarn::objects::ui {
using page::TAEHpage;
using page::ui::PageBox;
using page::ui::TPageView;

namespace {

// Arrow keys scroll the clicked page by this much in preview.
constexpr int kPreviewScrollStep = 20;

constexpr std::array<const char*, kPopupKinds> kPopupNames = {
    "PopupSpell",  "PopupSpecLink",  "PopupGenLink", "PopupInactive",  "PopupButton",     "PopupMultimedia",
    "PopupInput",  "PopupDin",       "PopupComment", "PopupJava",      "PopupFormStart",  "PopupMapZone",
    "PopupImage",  "PopupTableChild", "PopupTable",  "PopupFloating",  "PopupFrameChild", "PopupFrame",
};

bool ContainsFrame(const TAEHFrame& frame, const TAEHFrame* wanted) {
  if (&frame == wanted) return true;
  return std::any_of(frame.children.begin(), frame.children.end(),
                     [wanted](const auto& child) { return ContainsFrame(*child, wanted); });
}

PageBox* BoxOfView(const TAEHpage* view) { return view != nullptr ? dynamic_cast<PageBox*>(view->Box()) : nullptr; }

template <typename Map>
void DropUnseen(Map& map, const std::vector<const TAEHFrame*>& seen) {
  for (auto it = map.begin(); it != map.end();) {
    if (std::find(seen.begin(), seen.end(), it->first) == seen.end()) {
      auto drop = [](QWidget* w) {
        if (w == nullptr) return;
        w->hide();
        // A bar or splitter may be inside its own mouse handler.
        w->deleteLater();
      };
      if constexpr (std::is_same_v<typename Map::mapped_type, std::array<TFrameBar*, 2>>) {
        drop(it->second[0]);
        drop(it->second[1]);
      } else {
        drop(it->second);
      }
      it = map.erase(it);
    } else {
      ++it;
    }
  }
}

}  // namespace

TInsiemeCornici::TInsiemeCornici(platform::Messages& messages, QWidget* parent)
    : QWidget(parent),
      m_messages(messages),
      m_loop(new platform::qt::QtEventLoop(this)),
      m_model(std::make_unique<TAEHCustomFrameSet>(messages)),
      m_parking(new QWidget(this)) {
  setObjectName(QStringLiteral("Editor"));
  setFocusPolicy(Qt::StrongFocus);
  m_parking->setObjectName(QStringLiteral("Parking"));
  m_parking->hide();

  // The settings of the main window's editor: pages are written back when
  // left, and slide shows run in preview.
  TAEHCustomFrameSet& model = *m_model;
  model.SaveOnExit = true;
  model.ActivePreview = true;
  // The model's messages and timers bring the widgets in line afterwards;
  // a message that arrives while the model is busy (the events processed
  // while a spell thread stops) waits for it to finish.
  m_loop->Busy = [this] { return m_model->IsSwitching() || m_syncing; };
  m_loop->Around = [this](const std::function<void()>& call) {
    try {
      call();
    } catch (const std::exception& e) {
      m_messages.Error(e.what());
    }
    Sync();
  };
  model.SetEventLoop(m_loop);
  model.BoxFactory = [this](TAEHpage& view, page::WorkingCopy& copy) -> std::unique_ptr<page::PageTextBox> {
    return std::make_unique<PageBox>(view.Host().LinkedAEHset(), copy, m_parking, m_clipboard, m_clipboardFormats);
  };
  model.OnPageChanged = [this] { PageChanged(); };
  model.OnFrameSetChanged = [this] {
    Sync();
    if (events.OnFrameSetChanged) events.OnFrameSetChanged();
  };
  model.OnClickFrame = [this](TAEHFrame& frame) {
    Sync();
    if (OnClickFrameDetail) OnClickFrameDetail(frame);
    if (events.OnClickFrame) events.OnClickFrame();
  };
  model.OnDoLink = [this](const LinkSource& source, document::TAEHoggetto* link) {
    if (OnDoLink) OnDoLink(source, link);
  };
  MakeMenus();
}

TInsiemeCornici::~TInsiemeCornici() {
  // Whoever listens may be going away too (the main window is destroyed
  // before its children): no event is raised from here on.
  OnEditStart = nullptr;
  OnEditStop = nullptr;
  OnSelectionChange = nullptr;
  OnRulerPosChanged = nullptr;
  OnDropFile = nullptr;
  OnHint = nullptr;
  OnDoLink = nullptr;
  OnClickFrameDetail = nullptr;
  events = {};
  m_loop->Around = nullptr;
  m_loop->Busy = nullptr;
  if (m_set != nullptr) m_set->RemoveView(this);
  // The page views give their boxes back before the model frees them; the
  // model writes its pages back (or not) as it is set to.
  for (auto& [view, pageView] : m_pageViews) pageView->Detach();
  m_model.reset();
}

void TInsiemeCornici::MakeMenus() {
  for (std::size_t i = 0; i < m_popups.size(); ++i) {
    m_popups[i] = new QMenu(this);
    m_popups[i]->setObjectName(QString::fromLatin1(kPopupNames[i]));
  }
  m_dropMenu = new QMenu(this);
  m_dropMenu->setObjectName(QStringLiteral("DropMenu"));
  m_dropMenu->addAction(QStringLiteral("&Move"))->setData(static_cast<int>(DropChoice::Move));
  m_dropMenu->addAction(QStringLiteral("&Copy"))->setData(static_cast<int>(DropChoice::Copy));
  m_dropMenu->addSeparator();
  m_dropMenu->addAction(QStringLiteral("&Cancel"))->setData(static_cast<int>(DropChoice::Cancel));
}

bool TInsiemeCornici::SetPopupMenu(std::string_view property, QMenu* menu) {
  for (std::size_t i = 0; i < m_popups.size(); ++i) {
    if (property != kPopupNames[i]) continue;
    // The empty menu made at creation gives way to the window's.
    if (m_popups[i] != nullptr && m_popups[i]->parent() == this) m_popups[i]->deleteLater();
    m_popups[i] = menu;
    return true;
  }
  return false;
}

void TInsiemeCornici::SetShowNested(bool on) {
  m_model->SetShowNested(on);
  Sync();
}

// ---- Model and widgets ----

bool TInsiemeCornici::FrameAlive(const TAEHFrame* frame) const {
  return frame != nullptr && m_model->Top() != nullptr && ContainsFrame(*m_model->Top(), frame);
}

bool TInsiemeCornici::ViewAlive(const TAEHpage* view) const {
  if (view == nullptr) return false;
  const std::vector<TAEHpage*> views = m_model->Views();
  return std::find(views.begin(), views.end(), view) != views.end();
}

void TInsiemeCornici::MirrorFrame(TAEHFrame& frame, std::vector<const TAEHFrame*>& seen) {
  seen.push_back(&frame);
  TAEHFramePanel*& panel = m_panels[&frame];
  if (panel == nullptr) panel = new TAEHFramePanel(*this, this);
  panel->Mirror(&frame, m_model->ShowFramesOnly, m_model->HighlightedFrame() == &frame);
  panel->show();

  auto& bars = m_bars[&frame];
  const bool writable = !m_model->ReadOnly();
  const bool showTop = writable && (frame.splitMode == kColumnMember || frame.splitMode == kSplitFree);
  const bool showLeft = writable && (frame.splitMode == kRowMember || frame.splitMode == kSplitFree);
  for (int i = 0; i < 2; ++i) {
    const auto direction = i == 0 ? SplitDirection::Rows : SplitDirection::Columns;
    TFrameBar*& bar = bars[static_cast<std::size_t>(i)];
    if (bar == nullptr) bar = new TFrameBar(*this, direction, this);
    bar->Mirror(&frame);
    bar->setVisible(i == 0 ? showTop : showLeft);
  }
  for (auto& child : frame.children) MirrorFrame(*child, seen);
}

void TInsiemeCornici::Sync() {
  if (m_syncing) return;
  m_syncing = true;
  std::vector<const TAEHFrame*> seen;
  TAEHFrame* top = m_model->Top();
  if (top != nullptr) MirrorFrame(*top, seen);
  DropUnseen(m_panels, seen);
  DropUnseen(m_bars, seen);

  // Splitters: one after every child but the last.
  std::vector<const TAEHFrame*> split;
  std::vector<TAEHFrame*> walk;
  if (top != nullptr) walk.push_back(top);
  while (!walk.empty()) {
    TAEHFrame* frame = walk.back();
    walk.pop_back();
    for (std::size_t i = 0; i < frame->children.size(); ++i) {
      TAEHFrame* child = frame->children[i].get();
      walk.push_back(child);
      if (i + 1 == frame->children.size()) continue;
      split.push_back(child);
      TFrameSplitter*& splitter = m_splitters[child];
      if (splitter == nullptr) splitter = new TFrameSplitter(*this, this);
      splitter->Mirror(child);
      splitter->show();
    }
  }
  DropUnseen(m_splitters, split);

  // Page views, one per leaf that has a page view in the model.
  std::vector<TAEHFrame*> leaves;
  if (top != nullptr) CollectLeaves(*top, leaves);
  std::vector<const TAEHpage*> shown;
  for (TAEHFrame* leaf : leaves) {
    TAEHpage* view = m_model->ViewOf(*leaf);
    if (view == nullptr) continue;
    shown.push_back(view);
    TPageView*& pageView = m_pageViews[view];
    if (pageView == nullptr) {
      pageView = new TPageView([this](const TAEHpage* v) { return ViewAlive(v); }, this);
    }
    const platform::Rect& b = leaf->bounds;
    pageView->setGeometry(b.left, b.top, b.Width(), b.Height());
    pageView->Attach(view);
    pageView->setVisible(!m_model->ShowFramesOnly);
    // The text of a page alone in the editor shows the frame's popup; the
    // text of a frame inside a set, the child frame's.
    if (PageBox* box = BoxOfView(view); box != nullptr && box->Widget() != nullptr) {
      box->Widget()->popupMenu = Popup(leaf == top ? PopupKind::Frame : PopupKind::FrameChild);
    }
  }
  for (auto it = m_pageViews.begin(); it != m_pageViews.end();) {
    if (std::find(shown.begin(), shown.end(), it->first) == shown.end()) {
      it->second->Detach();
      it->second->hide();
      it->second->deleteLater();
      it = m_pageViews.erase(it);
    } else {
      ++it;
    }
  }

  // Stacking: frames at the bottom, then the pages, then the splitters,
  // then the bars, deeper frames' bars over their parents'.
  for (const TAEHFrame* frame : seen) m_panels[frame]->lower();
  for (auto& [view, pageView] : m_pageViews) pageView->raise();
  for (auto& [child, splitter] : m_splitters) splitter->raise();
  for (const TAEHFrame* frame : seen) {
    for (TFrameBar* bar : m_bars[frame]) bar->raise();
  }
  update();
  m_syncing = false;
}

page::ui::TPageView* TInsiemeCornici::PageViewOf(const TAEHFrame& frame) const {
  TAEHpage* view = m_model->ViewOf(frame);
  auto it = m_pageViews.find(view);
  return it != m_pageViews.end() ? it->second : nullptr;
}

TAEHFramePanel* TInsiemeCornici::PanelOf(const TAEHFrame& frame) const {
  auto it = m_panels.find(&frame);
  return it != m_panels.end() ? it->second : nullptr;
}

TFrameBar* TInsiemeCornici::BarOf(const TAEHFrame& frame, SplitDirection direction) const {
  auto it = m_bars.find(&frame);
  if (it == m_bars.end()) return nullptr;
  return it->second[direction == SplitDirection::Rows ? 0 : 1];
}

TFrameSplitter* TInsiemeCornici::SplitterAfter(const TAEHFrame& child) const {
  auto it = m_splitters.find(&child);
  return it != m_splitters.end() ? it->second : nullptr;
}

richtext::ui::TAEHbox* TInsiemeCornici::BoxOf(const TAEHFrame& frame) const {
  PageBox* box = BoxOfView(m_model->ViewOf(frame));
  return box != nullptr ? box->Widget() : nullptr;
}

TAEHpage* TInsiemeCornici::PageOfBox(const QWidget* box) const {
  // A table cell's box belongs to the page whose box holds the table.
  for (const QWidget* w = box; w != nullptr; w = w->parentWidget()) {
    for (TAEHpage* view : m_model->Views()) {
      PageBox* pageBox = BoxOfView(view);
      if (pageBox != nullptr && pageBox->Widget() == w) return view;
    }
  }
  return nullptr;
}

richtext::ui::TAEHbox* TInsiemeCornici::ActiveBox() const {
  if (m_activeBox && PageOfBox(m_activeBox) != nullptr) return m_activeBox;
  if (TAEHFrame* top = m_model->Top()) {
    if (richtext::ui::TAEHbox* box = BoxOf(*top)) return box;
  }
  // The page's boxes, from the last.
  const std::vector<TAEHpage*> views = m_model->Views();
  for (auto it = views.rbegin(); it != views.rend(); ++it) {
    if (PageBox* box = BoxOfView(*it); box != nullptr && box->Widget() != nullptr) return box->Widget();
  }
  return nullptr;
}

// ---- Posted messages, timers, painting, keys ----


void TInsiemeCornici::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  m_model->ClientArea = {0, 0, width(), height()};
  m_model->RelayoutFrames();
  Sync();
}

void TInsiemeCornici::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), m_model->Top() != nullptr ? palette().button() : palette().window());
}

void TInsiemeCornici::keyPressEvent(QKeyEvent* event) {
  TAEHpage* view = ReadOnly() ? PageOfBox(m_previewBox) : nullptr;
  if (ReadOnly() && view == nullptr) {
    // Nothing clicked yet (a page just opened, or a window a link made):
    // the keys scroll the main page.
    for (TAEHpage* candidate : m_model->Views()) {
      if (candidate->PageNumber() == m_model->MainPageNumber()) {
        view = candidate;
        break;
      }
    }
  }
  auto it = view != nullptr ? m_pageViews.find(view) : m_pageViews.end();
  if (it == m_pageViews.end()) {
    QWidget::keyPressEvent(event);
    return;
  }
  QScrollBar* h = it->second->horizontalScrollBar();
  QScrollBar* v = it->second->verticalScrollBar();
  switch (event->key()) {
    case Qt::Key_Left: h->setValue(h->value() - kPreviewScrollStep); break;
    case Qt::Key_Right: h->setValue(h->value() + kPreviewScrollStep); break;
    case Qt::Key_Up: v->setValue(v->value() - kPreviewScrollStep); break;
    case Qt::Key_Down: v->setValue(v->value() + kPreviewScrollStep); break;
    default: QWidget::keyPressEvent(event); return;
  }
}

// ---- Showing pages ----

void TInsiemeCornici::ClearActive() {
  m_activeObject = nullptr;
  m_activeBox = nullptr;
  m_previewBox = nullptr;
}

void TInsiemeCornici::PageChanged() {
  ClearActive();
  Sync();
  if (!m_navigating) m_forward.clear();
  RestoreFocus();
  if (events.OnPageChanged) events.OnPageChanged();
}

void TInsiemeCornici::SetLinkedAEHset(document::TAEHset* set) {
  if (set == m_set) return;
  ClearActive();
  if (m_set != nullptr) m_set->RemoveView(this);
  m_model->SetLinkedAEHset(set);
  // The container asks this widget, not the model, to release its page,
  // so that the widgets follow.
  if (set != nullptr) {
    set->RemoveView(m_model.get());
    set->AddView(this);
  }
  m_set = set;
  m_forward.clear();
  Sync();
}

void TInsiemeCornici::SetMainPageNumber(long page) {
  if (page == m_model->MainPageNumber() && !m_model->ShowingTmpFrameSet()) {
    RestoreFocus();
    return;
  }
  // A number beyond any page asks for a new page, as a missing one does.
  const int n = page < -1 ? -1 : static_cast<int>(std::min<long>(page, INT_MAX));
  ClearActive();
  m_model->SetMainPageNumber(n);
  Sync();
}

void TInsiemeCornici::ClosePage() {
  ClearActive();
  m_model->ClosePage();
  m_forward.clear();
  Sync();
}

void TInsiemeCornici::ShowCover() {
  ClearActive();
  m_model->ShowCover();
  Sync();
}

void TInsiemeCornici::ShowContents() {
  ClearActive();
  m_model->ShowContents();
  Sync();
}

bool TInsiemeCornici::GoBack() {
  if (m_model->History().empty()) return false;
  const int current = m_model->MainPageNumber();
  m_navigating = true;
  m_model->GoBack();
  m_navigating = false;
  if (current >= 0) m_forward.push_back(current);
  Sync();
  return true;
}

bool TInsiemeCornici::GoForward() {
  if (m_forward.empty()) return false;
  const int page = m_forward.back();
  m_forward.pop_back();
  m_navigating = true;
  m_model->ShowFromHistory(page);
  m_navigating = false;
  Sync();
  return true;
}

void TInsiemeCornici::SetReadOnly(bool readOnly) {
  // Going back to editing ends a temporary frame set.
  if (!readOnly && m_model->ShowingTmpFrameSet()) m_model->SetShowingTmpFrameSet(false);
  m_model->SetReadOnly(readOnly);
  m_previewBox = nullptr;
  Sync();
}

bool TInsiemeCornici::PageModified() const {
  if (m_model->PageModified()) return true;
  const std::vector<TAEHpage*> views = m_model->Views();
  return std::any_of(views.begin(), views.end(), [](const TAEHpage* view) { return view->Modified(); });
}

void TInsiemeCornici::SetPageModified(bool modified) {
  m_model->SetPageModified(modified);
  if (modified) return;
  for (TAEHpage* view : m_model->Views()) {
    view->SetModified(false);
    if (PageBox* box = BoxOfView(view)) box->SetModified(false);
  }
}

void TInsiemeCornici::SetShowFramesOnly(bool on) {
  // FIXME: page views keep their frame mode (read-only, borderless) when
  // frames-only mode is turned off; the page must be shown again.
  m_model->ShowFramesOnly = on;
  for (TAEHpage* view : m_model->Views()) {
    if (on) view->SetFrameMode(true);
  }
  Sync();
}

void TInsiemeCornici::RestoreFocus() {
  if (m_model->IsSwitching()) return;
  if (ReadOnly() || m_model->ShowFramesOnly) {
    if (isVisible()) setFocus(Qt::OtherFocusReason);
    return;
  }
  richtext::ui::TAEHbox* box = ActiveBox();
  if (box == nullptr) return;
  m_activeBox = box;
  box->ScrollCaretIntoView();
  box->setFocus(Qt::OtherFocusReason);
}

void TInsiemeCornici::SelectAll() {
  if (richtext::ui::TAEHbox* box = ActiveBox()) box->SelectAll();
}

// Only text boxes take part so far; click zones, images and the other
// visual objects copy themselves once they exist.
void TInsiemeCornici::Cut() {
  if (ReadOnly()) return;
  if (richtext::ui::TAEHbox* box = ActiveBox()) box->Cut();
}

void TInsiemeCornici::Copy() {
  if (richtext::ui::TAEHbox* box = ActiveBox()) box->Copy();
}

void TInsiemeCornici::Paste() {
  if (ReadOnly()) return;
  if (richtext::ui::TAEHbox* box = ActiveBox()) box->Paste();
}

// ---- LinkedView ----

int TInsiemeCornici::ReleasePage() {
  ClearActive();
  const int page = m_model->ReleasePage();
  Sync();
  return page;
}

void TInsiemeCornici::RestorePage(int page) {
  // Showing the page again after a save is no navigation.
  m_navigating = true;
  m_model->RestorePage(page);
  m_navigating = false;
  Sync();
}

void TInsiemeCornici::DropPage() {
  ClearActive();
  m_model->DropPage();
  m_forward.clear();
  Sync();
}

// ---- What the page's objects ask ----

void TInsiemeCornici::ObjectSelected(TDragCustomControl* object) {
  if (m_activeObject == object) return;
  if (m_activeObject && OnEditStop) OnEditStop(m_activeObject);
  m_activeObject = object;
  if (auto* box = qobject_cast<richtext::ui::TAEHbox*>(object)) m_activeBox = box;
  if (OnEditStart) OnEditStart(object);
  if (OnSelectionChange) OnSelectionChange(object);
}

void TInsiemeCornici::ObjectChanged(TDragCustomControl* object) {
  if (object == m_activeObject && OnSelectionChange) OnSelectionChange(object);
}

void TInsiemeCornici::ObjectDeselected(TDragCustomControl* object) {
  if (m_activeObject != object) return;
  m_activeObject = nullptr;
  if (OnEditStop) OnEditStop(object);
}

void TInsiemeCornici::ShowHint(const QString& hint) {
  if (OnHint) OnHint(hint);
}

void TInsiemeCornici::OpenHypertext(const std::string& path) {
  if (OnDropFile) OnDropFile({path}, nullptr);
}

void TInsiemeCornici::FilesDropped(const std::vector<std::string>& paths, QWidget* box) {
  if (OnDropFile) OnDropFile(paths, box);
}

void TInsiemeCornici::CaretChanged(QWidget* box) {
  auto* textBox = qobject_cast<richtext::ui::TAEHbox*>(box);
  if (textBox == nullptr) return;
  // A key that moved the caret on into another box (a table's next cell)
  // is reported by the box it was pressed in after the focus has left it:
  // the box that has the focus now is the one the caret is in.
  if (auto* focused = qobject_cast<richtext::ui::TAEHbox*>(QApplication::focusWidget());
      focused != nullptr && focused != textBox && !textBox->hasFocus() && PageOfBox(focused) != nullptr) {
    textBox = focused;
  }
  // In preview the box last clicked is the one the arrow keys scroll.
  if (ReadOnly()) {
    m_previewBox = textBox;
  } else {
    m_activeBox = textBox;
    if (OnRulerPosChanged) OnRulerPosChanged(textBox);
  }
}

void TInsiemeCornici::BoxEntered(QWidget* box) {
  if (auto* textBox = qobject_cast<richtext::ui::TAEHbox*>(box)) m_activeBox = textBox;
}

void TInsiemeCornici::TakeFocus() { setFocus(Qt::MouseFocusReason); }

document::TAEHoggetto* TInsiemeCornici::LinkRecord(std::int32_t link, const QWidget* box) const {
  if (m_set == nullptr || link == -1) return nullptr;
  if ((static_cast<std::uint32_t>(link) >> 24) == richtext::kLocalLinkKind) {
    TAEHpage* view = PageOfBox(box);
    return view != nullptr && view->Working() != nullptr ? view->Working()->Link(link) : nullptr;
  }
  return m_set->GetObjectById(link);
}

document::ObjectId TInsiemeCornici::LinkObjectId(std::int32_t link, const QWidget* box) const {
  if (link == -1) return -1;
  const auto value = static_cast<std::uint32_t>(link);
  if ((value >> 24) != richtext::kLocalLinkKind) return link;
  TAEHpage* view = PageOfBox(box);
  if (view == nullptr || view->Working() == nullptr) return -1;
  const auto& links = view->Working()->links;
  const std::size_t n = value & 0xFFFFFFu;
  // A link made in this editing session has no record in the hypertext
  // until the page is stored: -1 (FollowLink follows a copy of it).
  return n < links.size() ? links[n].origin : -1;
}

QString TInsiemeCornici::LinkDescription(std::int32_t link) {
  const QWidget* box = m_activeBox ? static_cast<QWidget*>(m_activeBox) : static_cast<QWidget*>(ActiveBox());
  // The hover comes from the box under the pointer, which may not be the
  // active one: look in every page view.
  document::TAEHoggetto* record = LinkRecord(link, box);
  if (record == nullptr) {
    for (TAEHpage* view : m_model->Views()) {
      PageBox* pageBox = BoxOfView(view);
      if (pageBox != nullptr && (record = LinkRecord(link, pageBox->Widget())) != nullptr) break;
    }
  }
  return record != nullptr ? platform::qt::ToQString(document::GetDescription(*record)) : QString();
}

int TInsiemeCornici::LinkRecordKind(std::int32_t link) {
  const document::TAEHoggetto* record = LinkRecord(link, ActiveBox());
  return record != nullptr ? static_cast<int>(record->Kind()) : -1;
}

void TInsiemeCornici::FollowLink(std::int32_t link, QWidget* from) {
  if (!isEnabled() || m_set == nullptr) return;
  const document::ObjectId id = LinkObjectId(link, from);
  if (id != -1) {
    m_model->FollowLink({false, PageOfBox(from)}, id);
    return;
  }
  // A link made since the page was last stored has no record in the
  // hypertext yet; a copy of its working record is followed instead.
  if (const document::TAEHoggetto* record = LinkRecord(link, from); record != nullptr) {
    m_model->FollowLink({false, PageOfBox(from)},
                        std::shared_ptr<document::TAEHoggetto>(page::CopyObject(*m_set, *record)));
  }
}

FrameSetInterface::DropChoice TInsiemeCornici::DropMenu(QPoint global) {
  QAction* chosen = m_dropMenu->exec(global);
  return chosen != nullptr ? static_cast<DropChoice>(chosen->data().toInt()) : DropChoice::Cancel;
}

// ---- Frames ----

void TInsiemeCornici::BarDragged(TAEHFrame& frame, SplitDirection direction, int dragged) {
  if (m_model->ReadOnly()) return;
  ClearActive();
  m_model->DragBar(frame, direction, dragged);
  Sync();
  RestoreFocus();
}

void TInsiemeCornici::SplitterDragged(TAEHFrame& child, int width, int height) {
  m_model->EndSplitterDrag(child, width, height);
  // A frame dragged shut goes when the posted deletion arrives.
  Sync();
}

void TInsiemeCornici::FrameClicked(TAEHFrame& frame) {
  m_model->ClickFrame(frame.Name());
  Sync();
}

}  // namespace tarn::objects::ui
