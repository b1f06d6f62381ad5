// The page view on screen; see pageview.h.
#include "page/ui/pageview.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

#include "base/bytes.h"
#include "base/hex.h"
#include "document/aehset.h"
#include "document/recordfields.h"
#include "objects/ui/tablebox.h"
#include "objects/ui/visual.h"
#include "objects/ui/visualobject.h"
#include "page/containerrecords.h"
#include "platform/qt/qtcanvas.h"
#include "richtext/clipboardformats.h"
#include "richtext/documenthost.h"
#include "richtext/ui/aehbox.h"

namespace tarn::page::ui {
using namespace document;

// What the box reads its text through. It lives as a child of the box, so
// it outlives the box's own members: the box may still be waiting for its
// deferred deletion after the page view let it go.
class PageBox::Resources : public QObject {
 public:
  Resources(TAEHset& set, WorkingCopy& copy)
      : host(set, set.Services().measurer, set.Services().messages),
        objects(copy, nullptr, nullptr,
                [this](std::int32_t number, TAEHoggetto* record, richtext::Origin origin) {
                  return objects::VisualObject::Make(number, record, origin == richtext::Origin::Text,
                                                     [this] { return box.data(); });
                }),
        tables(set, copy, host) {
    // The shared header and footer pages show their tables too (read only).
    if (copy.header) headerTables = std::make_unique<objects::ui::TableWidgets>(set, *copy.header, host, true);
    if (copy.footer) footerTables = std::make_unique<objects::ui::TableWidgets>(set, *copy.footer, host, true);
  }

  richtext::DocumentHost host;
  // The working copy outlives the box (the page view drops the box first).
  WorkingCopy* working = nullptr;
  // The box the screen objects go into; set once it exists.
  QPointer<QWidget> box;
  SectionObjects objects;
  // The page's own text shows its tables as screen tables.
  objects::ui::TableWidgets tables;
  std::unique_ptr<objects::ui::TableWidgets> headerTables;
  std::unique_ptr<objects::ui::TableWidgets> footerTables;
  richtext::Origin section = richtext::Origin::Text;
};

namespace {
richtext::RichText& EmptyText() {
  static richtext::RichText empty;
  return empty;
}
}  // namespace

PageBox::PageBox(TAEHset& set, WorkingCopy& copy, QWidget* parking, platform::Clipboard* clipboard,
                 richtext::ClipboardFormats* formats) {
  auto resources = std::make_unique<Resources>(set, copy);
  Resources* r = resources.get();
  r->host.objectLookup = [r](std::int32_t id) -> richtext::EmbeddedObject* {
    if (r->section == richtext::Origin::Text) {
      if (richtext::EmbeddedObject* table = r->tables.Find(id)) return table;
    }
    objects::ui::TableWidgets* shared = r->section == richtext::Origin::Header   ? r->headerTables.get()
                                        : r->section == richtext::Origin::Footer ? r->footerTables.get()
                                                                                 : nullptr;
    if (shared != nullptr) {
      if (richtext::EmbeddedObject* table = shared->Find(id)) return table;
    }
    return r->objects.Find(id);
  };

  auto* box = new richtext::ui::TAEHbox(r->host, parking);
  resources.release()->setParent(box);
  r->box = box;
  r->working = &copy;
  m_box = box;
  box->hide();
  r->tables.parking = box;
  if (r->headerTables) r->headerTables->parking = box;
  if (r->footerTables) r->footerTables->parking = box;
  box->Text().onReadSection = [r](richtext::Origin origin) {
    r->objects.SetSection(origin);
    r->section = origin;
  };
  undo::TextBoxControl& control = box->AttachUndo(set);
  control.onRecorded = [this] {
    const bool first = !m_modified;
    m_modified = true;
    if (first && onModified) onModified();
    if (onEdited) onEdited();
  };
  // The working copy outlives this box: the page view drops the box first.
  control.objectRecord = [&copy](const richtext::EmbeddedObject& object) -> const TAEHoggetto* {
    return copy.Object(object.Identifier());
  };
  // FIXME: objects are never taken off the page yet (a deletion leaves them
  // in the page's object list), so recreateObject and dropObject are left
  // to the visual objects, which give objects screen objects of their own.
  ConnectContainerRecords(box->TextAttributes(), set, copy,
                          [r](std::unique_ptr<TAEHoggetto> record) { return PlaceNew(*r, std::move(record)); });
  box->SetClipboard(clipboard);
  if (formats != nullptr) box->SetClipboardFormats(formats, ClipboardContextOf(set, copy));
  // Table cells copy and paste as the page's box does.
  r->tables.prepareCell = [&set, &copy, clipboard, formats](richtext::ui::TAEHbox& cell) {
    ConnectContainerRecords(cell.TextAttributes(), set, copy);
    cell.SetClipboard(clipboard);
    if (formats != nullptr) cell.SetClipboardFormats(formats, ClipboardContextOf(set, copy));
  };
  box->SetMessages(set.Services().messages);
  box->SetPaintsBackground(false);
  if (copy.page) box->SetBackgroundColour(static_cast<std::uint32_t>(copy.page->I32(field::kPageBgColour)));
  // Laid out once at about the width it will be shown at.
  if (parking != nullptr && parking->parentWidget() != nullptr) {
    box->SetPageClientWidth(parking->parentWidget()->width());
  }
  const std::string header = copy.header ? copy.header->Markup() : std::string();
  const std::string footer = copy.footer ? copy.footer->Markup() : std::string();
  box->LoadText(copy.Markup(), header, footer);
}

PageBox::~PageBox() {
  if (!m_box) return;
  m_box->DetachUndo();
  m_box->Text().onReadSection = nullptr;
  // The context names the working copy, which goes with this page.
  m_box->SetClipboardFormats(nullptr, {});
  m_box->hide();
  // The box may be inside one of its own event handlers (a menu command
  // that changes the page), so it goes once control is back in the loop.
  m_box->deleteLater();
}

richtext::ui::TAEHbox* PageBox::Widget() const { return m_box.data(); }

richtext::RichText& PageBox::Text() { return m_box ? m_box->Text().Text() : EmptyText(); }

int PageBox::HeaderCount() const { return m_box ? m_box->Text().HeaderCount() : 0; }

int PageBox::FooterCount() const { return m_box ? m_box->Text().FooterCount() : 0; }

std::string PageBox::SaveText() { return m_box ? m_box->SaveText() : std::string(1, '\0'); }

void PageBox::SetReadOnly(bool on) {
  if (!m_box) return;
  m_box->SetReadOnly(on);
  // The screen objects follow the page's mode; markers that a reader does
  // not see give their room back, which takes a new layout.
  bool shownChanged = false;
  for (objects::TMyyVisual* object : m_box->findChildren<objects::TMyyVisual*>(Qt::FindDirectChildrenOnly)) {
    const bool shown = object->ShownInMode();
    object->SetReadOnly(on);
    shownChanged = shownChanged || shown != object->ShownInMode();
  }
  if (shownChanged) {
    m_box->Text().LayoutAll();
    m_box->update();
  }
}

void PageBox::Select(richtext::RichText& box, int paragraph, int from, int to) {
  if (!m_box) return;
  // FIXME: a paragraph of a table cell is selected in its cell's box once
  // tables are on screen; until then the page box is the only text.
  if (&box != &m_box->Text().Text()) return;
  if (paragraph < 0 || paragraph >= m_box->Text().ParagraphCount()) return;
  m_box->SelectRange({paragraph, from}, {paragraph, to});
  m_box->ScrollCaretIntoView();
  m_box->setFocus(Qt::OtherFocusReason);
}

void PageBox::RedrawParagraph(richtext::RichText&, int) {
  if (m_box) m_box->update();
}

void PageBox::HideCaret() {
  if (m_box) m_box->Caret().StopBlinking();
}

// The resources of a page box (a plain QObject child, found by its type).
PageBox::Resources* PageBox::ResourcesOf(richtext::ui::TAEHbox& box) {
  for (QObject* child : box.children()) {
    if (auto* r = dynamic_cast<Resources*>(child)) return r;
  }
  return nullptr;
}

std::int32_t PageBox::PlaceNew(Resources& r, std::unique_ptr<TAEHoggetto> record) {
  if (r.working == nullptr || record == nullptr) return -1;
  // The working copy and the box's objects number the page's objects alike.
  // Tables made or pasted since the page was read are the table widgets'
  // to show; here they only take their numbers, so that the next object's
  // number finds it.
  while (r.objects.OwnCount() < r.working->objects.size()) {
    const auto missing = static_cast<std::int32_t>(r.objects.OwnCount() + 1);
    r.objects.AddOwn(std::make_unique<richtext::RecordObject>(missing, r.working->Object(missing)));
  }
  if (r.objects.OwnCount() != r.working->objects.size()) return -1;
  const int number = r.working->AddObject(std::move(record));
  TAEHoggetto* added = r.working->Object(number);
  Resources* resources = &r;
  auto made = objects::VisualObject::Make(number, added, true, [resources] { return resources->box.data(); });
  if (made) {
    r.objects.AddOwn(std::move(made));
  } else {
    r.objects.AddOwn(std::make_unique<richtext::RecordObject>(number, added));
  }
  return number;
}

bool PageBox::InsertObject(richtext::ui::TAEHbox& box, std::unique_ptr<TAEHoggetto> record, std::string_view caption) {
  Resources* r = ResourcesOf(box);
  if (r == nullptr || record == nullptr || box.ReadOnly() || box.Locked()) return false;
  const std::int32_t number = PlaceNew(*r, std::move(record));
  if (number < 0) return false;
  // The caret goes after the object, so that the next insertion follows it
  // rather than replacing it.
  return box.TextAttributes().InsertObject(number, caption);
}

std::int32_t PageBox::AddLink(richtext::ui::TAEHbox& box, std::unique_ptr<TAEHoggetto> link) {
  Resources* r = ResourcesOf(box);
  if (r == nullptr || r->working == nullptr || link == nullptr) return -1;
  return LocalLinkValue(r->working->AddLink(std::move(link)));
}

const TAEHoggetto* PageBox::LinkRecord(richtext::ui::TAEHbox& box, std::int32_t value) {
  Resources* r = ResourcesOf(box);
  return r != nullptr && r->working != nullptr ? r->working->Link(value) : nullptr;
}

undo::UndoControl* PageBox::UndoBox() { return m_box ? m_box->UndoControl() : nullptr; }

// ---- The scrolling surface ----

// The widget inside the scroll area: the page's background, with the box
// on it.
class TPageView::Ground : public QWidget {
 public:
  explicit Ground(TPageView& view) : QWidget(&view), m_view(view) {}

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter painter(this);
    const QRect r = event->rect();
    TAEHtesto* page = m_view.Alive() ? m_view.m_page->WorkingPage() : nullptr;
    if (page == nullptr) {
      painter.fillRect(r, palette().window());
      return;
    }
    platform::qt::QtCanvas canvas(&painter);
    PaintPageBackground(canvas, {r.left(), r.top(), r.right() + 1, r.bottom() + 1}, *page);
  }

 private:
  TPageView& m_view;
};

TPageView::TPageView(std::function<bool(const TAEHpage*)> alive, QWidget* parent)
    : QScrollArea(parent), m_alive(std::move(alive)), m_ground(new Ground(*this)), m_spellTimer(new QTimer(this)) {
  m_spellTimer->setSingleShot(true);
  connect(m_spellTimer, &QTimer::timeout, this, [this] {
    if (Alive()) m_page->SpellTimerFired();
  });
  setObjectName(QStringLiteral("AEHpage"));
  setWidgetResizable(false);
  setWidget(m_ground);
  setFocusPolicy(Qt::NoFocus);
  verticalScrollBar()->setSingleStep(20);
  horizontalScrollBar()->setSingleStep(20);
}

TPageView::~TPageView() { Detach(); }

void TPageView::Detach() {
  m_spellTimer->stop();
  if (Alive()) {
    m_page->OnSpellTimer = nullptr;
    if (auto* pageBox = dynamic_cast<PageBox*>(m_page->Box())) pageBox->onEdited = nullptr;
  }
  if (m_box) {
    disconnect(m_box, nullptr, this, nullptr);
    m_box->hide();
    m_box->setParent(m_parking);
  }
  m_box = nullptr;
  m_page = nullptr;
}

void TPageView::Attach(TAEHpage* page) {
  auto* pageBox = page != nullptr ? dynamic_cast<PageBox*>(page->Box()) : nullptr;
  richtext::ui::TAEHbox* box = pageBox != nullptr ? pageBox->Widget() : nullptr;
  if (page != m_page || box != m_box) {
    Detach();
    m_page = page;
    if (box != nullptr) {
      m_box = box;
      m_parking = box->parentWidget();
      box->setParent(m_ground);
      box->move(0, 0);
      box->show();
      connect(box, &richtext::ui::TAEHbox::ExtentChanged, this, [this] { FitBox(); });
      horizontalScrollBar()->setValue(0);
      verticalScrollBar()->setValue(0);
    }
    HookSpellTimer(pageBox);
  }
  ApplyModes();
  FitBox();
  m_ground->update();
}

void TPageView::ApplyModes() {
  if (!Alive()) return;
  setHorizontalScrollBarPolicy(m_page->HorizontalBarVisible() ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(m_page->VerticalBarVisible() ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
  setFrameShape(m_page->HasBorder() ? QFrame::StyledPanel : QFrame::NoFrame);
}

void TPageView::FitBox() {
  const QSize area = viewport()->size();
  if (m_box) {
    // The box lays its text out to the visible width and fills the height.
    m_box->SetPageClientWidth(area.width());
    m_box->SetRequestedSize(area.width(), area.height());
    m_ground->resize(std::max(m_box->width(), area.width()), std::max(m_box->height(), area.height()));
  } else {
    m_ground->resize(area);
  }
}

void TPageView::resizeEvent(QResizeEvent* event) {
  QScrollArea::resizeEvent(event);
  FitBox();
}

void TPageView::scrollContentsBy(int dx, int dy) {
  QScrollArea::scrollContentsBy(dx, dy);
  if (Alive()) m_page->Scrolled();
}

void TPageView::HookSpellTimer(PageBox* box) {
  if (m_page == nullptr) return;
  m_page->OnSpellTimer = [this](bool run) {
    if (run) m_spellTimer->start(TAEHpage::kSpellDelay);
    else m_spellTimer->stop();
  };
  if (box != nullptr) {
    box->onEdited = [this] {
      if (Alive()) m_page->StartSpellCheck(0);
    };
  }
  // The page asked for its first check before this view showed it.
  if (m_page->SpellTimerRunning()) m_spellTimer->start(TAEHpage::kSpellDelay);
}

}  // namespace tarn::page::ui
