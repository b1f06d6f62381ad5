// The frame set's model; see frameset.h.
#include "objects/frameset.h"

#include <algorithm>

#include "base/hex.h"
#include "document/links.h"
#include "document/recordfields.h"
#include "platform/messages.h"

namespace tarn::objects {
using document::ObjectId;
using document::TAEHoggetto;
using page::TAEHpage;
using document::TAEHtesto;
using namespace document::field;
namespace {

constexpr int kMaxPageNumber = 0xFFFFFF;
constexpr std::string_view kObjectPageStart = "<Z S0 >QUI APPARE UN OGGETTO. PER VEDERLO CLICCA SOTTO.<Z S0 ><$";

TAEHtesto* LivePage(document::TAEHset& set, int n) {
  auto* page = n >= 0 ? dynamic_cast<TAEHtesto*>(set.GetObject(document::testoHtml, n)) : nullptr;
  return page != nullptr && !page->IsFree() ? page : nullptr;
}

bool ContainsFrame(const TAEHFrame& frame, const TAEHFrame* wanted) {
  if (&frame == wanted) return true;
  return std::any_of(frame.children.begin(), frame.children.end(),
                     [wanted](const auto& child) { return ContainsFrame(*child, wanted); });
}

std::string MapStream(const TAEHoggetto& map, std::int32_t& recordSize) {
  recordSize = map.I32(kFrameRecordSizeField);
  if (recordSize <= 0 || recordSize > kMaxFrameRecordSize) recordSize = kFrameRecordSize;
  return map.ReadContent().value_or(std::string());
}

}  // namespace

TAEHCustomFrameSet::TAEHCustomFrameSet(platform::Messages& messages) : m_messages(messages) {}

TAEHCustomFrameSet::~TAEHCustomFrameSet() {
  if (m_set != nullptr) m_set->RemoveView(this);
  if (m_top) ReleaseViews(*m_top, SaveOnExit);
}

// ---- Properties ----

void TAEHCustomFrameSet::SetLinkedAEHset(document::TAEHset* set) {
  if (set == m_set) return;
  DropPage();
  if (m_set != nullptr) m_set->RemoveView(this);
  m_set = set;
  if (m_set != nullptr) m_set->AddView(this);
}

void TAEHCustomFrameSet::SetReadOnly(bool on) {
  m_readOnly = on;
  // Switching to preview stops a slide timer until the next page is shown.
  if (on) StopSlide();
  for (TAEHpage* view : Views()) view->SetReadOnly(on);
}

void TAEHCustomFrameSet::SetShowNested(bool on) {
  if (on == m_showNested) return;
  m_showNested = on;
  if (m_main >= 0) Reload(-1);
}

void TAEHCustomFrameSet::SetAutoJump(bool on) {
  m_autoJump = on;
  m_history.clear();
}

std::unique_ptr<page::PageTextBox> TAEHCustomFrameSet::MakeTextBox(TAEHpage& view, page::WorkingCopy& copy) {
  if (BoxFactory) return BoxFactory(view, copy);
  return PageHost::MakeTextBox(view, copy);
}

// ---- Messages ----

void TAEHCustomFrameSet::SetEventLoop(platform::EventLoop* loop) {
  m_loop = loop;
  m_slideTimer.SetLoop(loop);
}

void TAEHCustomFrameSet::Post(int message, std::function<void()> handler) {
  // Without a loop nothing could ever deliver the message: run it now
  // rather than lose it.
  if (m_loop != nullptr) {
    m_loop->PostMessage(message, std::move(handler));
  } else {
    handler();
  }
}

// ---- Page views ----

TAEHpage* TAEHCustomFrameSet::ViewOf(const TAEHFrame& frame) const {
  auto it = m_views.find(&frame);
  return it != m_views.end() ? it->second.get() : nullptr;
}

std::vector<TAEHpage*> TAEHCustomFrameSet::Views() const {
  std::vector<TAEHpage*> views;
  if (!m_top) return views;
  std::vector<TAEHFrame*> leaves;
  CollectLeaves(*m_top, leaves);
  for (TAEHFrame* leaf : leaves) {
    if (TAEHpage* view = ViewOf(*leaf)) views.push_back(view);
  }
  return views;
}

void TAEHCustomFrameSet::ReleaseView(TAEHFrame& frame, bool writeBack) {
  auto it = m_views.find(&frame);
  if (it == m_views.end()) return;
  TAEHpage& view = *it->second;
  if (writeBack) view.CommitPage();
  // A leaf remembers the page it showed (a new page has its number once
  // it is written back).
  if (view.PageNumber() >= 0 || writeBack) frame.SetPage(view.PageNumber());
  view.ClosePage();
  m_views.erase(it);
}

void TAEHCustomFrameSet::ReleaseViews(TAEHFrame& frame, bool writeBack) {
  ReleaseView(frame, writeBack);
  for (auto& child : frame.children) ReleaseViews(*child, writeBack);
}

void TAEHCustomFrameSet::ShowPageInFrame(TAEHFrame& frame, int page) {
  if (TAEHpage* current = ViewOf(frame); current != nullptr && page >= 0 && current->PageNumber() == page) return;
  ReleaseView(frame, SaveOnExit);
  auto view = std::make_unique<TAEHpage>(*this);
  view->SetReadOnly(m_readOnly);
  view->SetScrollMode(frame.Scrolling() ? 3 : 0);
  if (ShowFramesOnly) view->SetFrameMode(true);
  view->ShowPage(LivePage(*m_set, page));
  frame.SetPage(view->PageNumber());
  m_views[&frame] = std::move(view);
}

void TAEHCustomFrameSet::ShowLeaves(TAEHFrame& frame) {
  if (!frame.HasChildren()) {
    ShowPageInFrame(frame, frame.Page());
    return;
  }
  for (auto& child : frame.children) ShowLeaves(*child);
}

// ---- Showing pages ----

void TAEHCustomFrameSet::SetMainPageNumber(int n) {
  if (m_set == nullptr) return;
  if (n == m_main && !m_tmpShowing) return;  // FIXME: RestoreFocus in the widget shell.
  m_switching = true;
  LoadPage(n);
  m_switching = false;
  m_goingBack = false;
  m_pageChanging = true;
  if (OnPageChanged) OnPageChanged();
  m_pageChanging = false;
}

void TAEHCustomFrameSet::LeaveTree() {
  if (!m_top) return;
  if (SaveOnExit) {
    std::vector<TAEHFrame*> leaves;
    CollectLeaves(*m_top, leaves);
    for (TAEHFrame* leaf : leaves) {
      if (TAEHpage* view = ViewOf(*leaf)) {
        view->CommitPage();
        leaf->SetPage(view->PageNumber());
      }
    }
    if (m_mapShown) StoreFrameMap();
  }
  ReleaseViews(*m_top, false);
  m_views.clear();
}

void TAEHCustomFrameSet::StoreFrameMap() {
  TAEHoggetto* leaving = m_main >= 0 ? LivePage(*m_set, m_main) : nullptr;
  if (leaving == nullptr) {
    m_messages.Error("Nessuna cornice \xE8 stata registrata come master per la mappa cornici!");
    return;
  }
  std::int32_t index = -1;
  if (!m_top->HasChildren()) {
    if (m_frameMap != nullptr) {
      if (!m_frameMap->IsRegistered()) {
        m_messages.Information(
            "Free imprevisto di mappa cornici. Potrebbe essere possibile continuare normalmente.");
      } else {
        m_frameMap->Clear();
      }
      m_frameMap = nullptr;
    }
  } else {
    if (m_frameMap == nullptr || !m_frameMap->IsRegistered()) {
      m_frameMap = m_set->Register(m_set->NewObject(document::mappaFrame));
    }
    if (m_frameMap != nullptr) {
      std::vector<TAEHFrame*> leaves;
      CollectLeaves(*m_top, leaves);
      for (TAEHFrame* leaf : leaves) {
        // A page never stored has no number yet.
        if (LivePage(*m_set, leaf->Page()) == nullptr) leaf->SetPage(-1);
      }
      m_frameMap->SetContent(WriteFrameTree(*m_top));
      m_frameMap->SetI32(kFrameRecordSizeField, kFrameRecordSize);
      index = m_frameMap->Index();
    }
  }
  leaving->SetI32(kPageFrameMap, index);
}

void TAEHCustomFrameSet::LoadPage(int n) {
  StopSlide();
  LeaveTree();
  m_main = n;
  m_highlighted = nullptr;
  std::unique_ptr<TAEHFrame> previous = std::move(m_top);
  m_frameMap = nullptr;
  m_mapShown = false;
  if (n >= 0) {
    TAEHtesto* page = LivePage(*m_set, n);
    if (page == nullptr) {
      page = static_cast<TAEHtesto*>(m_set->Register(m_set->NewObject(document::testoHtml)));
      m_main = page != nullptr ? page->Index() : -1;
    }
    if (page != nullptr) {
      const std::int32_t mapIndex = page->I32(kPageFrameMap);
      TAEHoggetto* map = mapIndex >= 0 ? m_set->GetObject(document::mappaFrame, mapIndex) : nullptr;
      if (map != nullptr && map->IsFree()) map = nullptr;
      m_frameMap = map;
      m_mapShown = m_showNested;
      if (m_showNested && map != nullptr) {
        std::int32_t recordSize = 0;
        const std::string stream = MapStream(*map, recordSize);
        if (stream.empty()) {
          m_messages.Warning("Map problem.");
        } else {
          m_top = ReadFrameTree(stream, recordSize);
          if (!m_top) m_messages.Warning("Map problem.");
        }
      }
      if (!m_top) {
        m_top = std::make_unique<TAEHFrame>();
        m_top->SetPage(m_main);
        m_top->splitMode = m_showNested ? kSplitFree : kNoBars;
      }
      m_top->SetName("Pag" + std::to_string(m_main));
      LayoutTree(*m_top, ClientArea);
      ShowLeaves(*m_top);
      StartSlide(*page);
    }
  }
  previous.reset();
  m_pageModified = false;
}

void TAEHCustomFrameSet::ClosePage() {
  SetMainPageNumber(-1);
  m_history.clear();
}

void TAEHCustomFrameSet::ShowCover() {
  if (m_set != nullptr) SetMainPageNumber(m_set->HeaderI32(document::header::kCoverPage));
}

void TAEHCustomFrameSet::ShowContents() {
  if (m_set != nullptr) SetMainPageNumber(m_set->HeaderI32(document::header::kContentsPage));
}

void TAEHCustomFrameSet::Reload(int n) {
  const int page = n == -1 ? m_main : n;
  if (m_set == nullptr) return;
  LoadPage(-1);
  SetMainPageNumber(page);
}

void TAEHCustomFrameSet::PushHistory() {
  if (m_main >= 0) m_history.push_back(m_main);
}

void TAEHCustomFrameSet::GoBack() {
  if (m_history.empty()) return;
  const int page = m_history.back();
  m_history.pop_back();
  m_goingBack = true;
  SetMainPageNumber(page);
  m_goingBack = false;
}

void TAEHCustomFrameSet::ShowFromHistory(int n) {
  if (n == m_main) return;
  PushHistory();
  SetMainPageNumber(n);
}

void TAEHCustomFrameSet::Current() {
  if (!m_history.empty()) SetMainPageNumber(m_history.back());
}

// ---- Links and slides ----

void TAEHCustomFrameSet::FollowLink(const LinkSource& source, ObjectId link) {
  // The control that asked may be destroyed by following the link, so the
  // work happens after the event that asked for it has returned.
  Post(kMsgFollowLink, [this, source, link] {
    ArrivedLink(source, m_set != nullptr ? m_set->GetObjectById(link) : nullptr);
  });
}

void TAEHCustomFrameSet::FollowLink(const LinkSource& source, std::shared_ptr<TAEHoggetto> unstored) {
  if (!unstored) return;
  Post(kMsgFollowLink, [this, source, unstored] { ArrivedLink(source, unstored.get()); });
}

void TAEHCustomFrameSet::ArrivedLink(const LinkSource& source, TAEHoggetto* link) {
  // The page view that asked may have been closed before the message
  // arrived (a second click while the first link was on its way).
  const std::vector<TAEHpage*> views = Views();
  const bool sourceLive = source.page != nullptr && std::find(views.begin(), views.end(), source.page) != views.end();
  const int sourcePage = sourceLive ? source.page->PageNumber() : m_main;
  if (link != nullptr && link->Kind() == document::speclink && m_autoJump && !source.isFrameSet) {
    int target = -1;
    switch (link->Subtype()) {
      case document::kSpecialToObject:
        if (TAEHoggetto* object = document::FollowSpecialLink(*link); object && object->Kind() == document::testoHtml) {
          target = object->Index();
        }
        break;
      case document::kSpecialNext: target = m_set->NextInSequence(sourcePage); break;
      case document::kSpecialPrevious: target = m_set->PreviousInSequence(sourcePage); break;
      default: break;
    }
    if (target >= 1 && target <= kMaxPageNumber) {
      if (!m_goingBack) PushHistory();
      SetMainPageNumber(target);
    }
  } else if (link != nullptr && link->Kind() == document::testoHtml && !source.isFrameSet &&
             (m_autoJump || RecordHistory)) {
    PushHistory();
    if (m_autoJump) SetMainPageNumber(link->Index());
  }
  if (OnDoLink) {
    try {
      // Showing the target closed the source's page view, so the handler
      // is only told of a page view that still exists.
      LinkSource told = source;
      const std::vector<TAEHpage*> now = Views();
      if (std::find(now.begin(), now.end(), source.page) == now.end()) told.page = nullptr;
      OnDoLink(told, link);
    } catch (...) {
      // Errors of the handler must not escape into the event loop.
    }
  }
  m_linkBusy = false;
}

void TAEHCustomFrameSet::StartSlide(const TAEHoggetto& page) {
  m_slideTarget = -1;
  if (!m_readOnly || !ActivePreview || page.I32(kPageSlideTarget) == -1) return;
  m_slideTarget = page.I32(kPageSlideTarget);
  m_slideRunning = true;
  m_slideTimer.Start(std::max(kShortestSlide, page.I16(kPageSlideDelay) * kSlideUnit), false,
                     [this] { SlideTimerFired(); });
}

void TAEHCustomFrameSet::StopSlide() {
  if (!m_slideRunning) return;
  m_slideRunning = false;
  m_slideTimer.Stop();
}

void TAEHCustomFrameSet::SlideTimerFired() {
  if (!m_slideRunning) return;
  StopSlide();
  if ((m_autoJump || RecordHistory) && !m_goingBack) PushHistory();
  if (ActivePreview && m_set != nullptr) {
    m_linkBusy = true;
    FollowLink({true, nullptr}, document::MakeObjectId(document::testoHtml, m_slideTarget));
  }
}

// ---- Frames ----

TAEHFrame* TAEHCustomFrameSet::FindFrame(std::string_view name) const {
  return m_top ? FindFrameByName(*m_top, name) : nullptr;
}

void TAEHCustomFrameSet::ClickFrame(std::string_view name) {
  TAEHFrame* frame = FindFrame(name);
  if (frame == nullptr) return;
  m_highlighted = frame;
  if (OnClickFrame) OnClickFrame(*frame);
}

void TAEHCustomFrameSet::RelayoutFrames() {
  if (m_top) LayoutTree(*m_top, ClientArea);
}

bool TAEHCustomFrameSet::DragBar(TAEHFrame& frame, SplitDirection direction, int dragged) {
  TAEHpage* view = ViewOf(frame);
  const bool hadChildren = frame.HasChildren();
  if (!hadChildren && view == nullptr) {
    m_messages.Error("Errore in creazione cornice, non c'\xE8 AEHpage.");
  }
  const SplitResult result = SplitFrame(frame, direction, dragged, BarWidth, m_namer, m_messages);
  if (!result.split) return false;
  if (!hadChildren && result.heir != nullptr) {
    // The second child takes over the frame's page view, same page.
    auto it = m_views.find(&frame);
    if (it != m_views.end()) {
      result.heir->SetPage(it->second->PageNumber());
      m_views[result.heir] = std::move(it->second);
      m_views.erase(&frame);
    }
  }
  ShowPageInFrame(*result.created, -1);
  m_pageModified = true;
  if (ShowFramesOnly) m_highlighted = &frame;
  if (OnFrameSetChanged) OnFrameSetChanged();
  return true;
}

void TAEHCustomFrameSet::EndSplitterDrag(TAEHFrame& child, int width, int height) {
  if (child.parent == nullptr) return;
  if (width < BarWidth || height < BarWidth) {
    if (!m_readOnly || ShowFramesOnly) {
      TAEHFrame* target = &child;
      Post(kMsgDeleteChildFrame, [this, target] {
        // The frame may have gone with its page meanwhile.
        if (m_top && ContainsFrame(*m_top, target)) DeleteChildFrame(*target);
      });
    }
    return;
  }
  ResizeChild(child, child.parent->ChildrenAreColumns() ? width : height);
  m_pageModified = true;
  if (OnFrameSetChanged) OnFrameSetChanged();
}

void TAEHCustomFrameSet::DeleteChildFrame(TAEHFrame& child) {
  if (DeleteRefused(child, &m_messages)) {
    // The refused frame comes back at 60 pixels along its arrangement and
    // its siblings share the rest; sized on its own it would leave a hole.
    if (child.parent != nullptr) {
      ResizeChild(child, LengthAlong(child, child.parent->ChildrenAreColumns()));
      RelayoutFrames();
    }
    if (OnFrameSetChanged) OnFrameSetChanged();
    return;
  }
  if (TAEHpage* view = ViewOf(child)) {
    bool writeBack = true;
    if (view->IsNewPage() && view->Modified()) {
      writeBack = m_messages.Ask(
                      "Save deleted frame?\nIf you save, you shall reuse the page  in another frame set, or as a "
                      "single page. If not, frame will be lost.") == platform::Answer::Yes;
    } else if (view->IsNewPage()) {
      writeBack = false;
    }
    ReleaseView(child, writeBack);
  }
  TAEHFrame* parent = child.parent;
  TAEHFrame* remaining = nullptr;
  if (parent != nullptr && parent->children.size() == 2) {
    remaining = parent->children[parent->children[0].get() == &child ? 1 : 0].get();
  }
  std::unique_ptr<TAEHpage> moved;
  if (remaining != nullptr) {
    auto it = m_views.find(remaining);
    if (it != m_views.end()) {
      moved = std::move(it->second);
      m_views.erase(it);
    }
  }
  const DeleteResult result = DeleteFrame(child, m_messages);
  if (result.outcome == DeleteOutcome::Merged && result.parent != nullptr) {
    if (moved) {
      result.parent->SetPage(moved->PageNumber());
      m_views[result.parent] = std::move(moved);
    }
    if (result.parent->IsTop() && ViewOf(*result.parent) == nullptr) ShowPageInFrame(*result.parent, m_main);
  }
  RelayoutFrames();
  m_pageModified = true;
  if (OnFrameSetChanged) OnFrameSetChanged();
}

// ---- Stored layouts ----

std::string TAEHCustomFrameSet::SaveLayout(int mode) {
  if (!m_top) {
    m_messages.Error("Errore in salvataggio frames.");
    return {};
  }
  if (!m_top->HasChildren()) return {};
  std::vector<TAEHFrame*> leaves;
  CollectLeaves(*m_top, leaves);
  for (TAEHFrame* leaf : leaves) {
    const TAEHpage* view = ViewOf(*leaf);
    const int page = view != nullptr ? view->PageNumber() : leaf->Page();
    leaf->SetPage(mode == kLayoutSave && (view == nullptr || view->IsNewPage()) && page < 0 ? -1 : page);
  }
  return WriteLayoutFile(*m_top);
}

bool TAEHCustomFrameSet::LoadLayout(std::string_view bytes, int mode) {
  if (bytes.empty() || m_set == nullptr) return false;
  std::optional<LayoutFile> file = ReadLayoutFile(bytes);
  if (!file) {
    m_messages.Error("File format error!");
    return false;
  }
  if (m_top) ReleaseViews(*m_top, SaveOnExit);
  m_views.clear();
  m_top = std::move(file->top);
  m_top->SetName("Pag" + std::to_string(m_main));
  LayoutTree(*m_top, ClientArea);
  std::vector<TAEHFrame*> leaves;
  CollectLeaves(*m_top, leaves);
  for (TAEHFrame* leaf : leaves) {
    if (mode == kLayoutTemplate) leaf->SetPage(-1);
    ShowPageInFrame(*leaf, leaf->Page());
  }
  m_highlighted = nullptr;
  m_pageModified = true;
  return true;
}

TAEHoggetto* TAEHCustomFrameSet::MakeFrameMap() {
  if (m_set == nullptr || !m_top) return nullptr;
  auto map = m_set->NewObject(document::mappaFrame);
  map->SetContent(WriteFrameTree(*m_top));
  map->SetI32(kFrameRecordSizeField, kFrameRecordSize);
  return m_set->Register(std::move(map));
}

void TAEHCustomFrameSet::ReplacePageNumber(std::int32_t from, std::int32_t to) {
  if (m_top) objects::ReplacePageNumber(*m_top, from, to);
}

// ---- Temporary frame set ----

void TAEHCustomFrameSet::SetShowingTmpFrameSet(bool on) {
  if (on) {
    if (m_tmpShowing) return;
    m_savedReadOnly = m_readOnly;
    m_savedSaveOnExit = SaveOnExit;
    m_savedPage = m_main;
    m_tmpShowing = true;
    if (!m_readOnly || m_tmpAllowed) {
      const int page = m_main;
      LoadPage(-1);
      m_readOnly = true;
      LoadPage(page);
    }
    SaveOnExit = false;
    return;
  }
  SaveOnExit = false;
  LoadPage(-1);
  m_tmpShowing = false;
  // FIXME: end the hypertext's temporary state once the container has one.
  if (m_set != nullptr && m_set->CountOf(document::testoHtml) > 0) {
    m_readOnly = m_savedReadOnly;
    SaveOnExit = m_savedSaveOnExit;
    SetMainPageNumber(m_savedPage);
  }
}

void TAEHCustomFrameSet::SetAllowTmpFrameSet(bool on) {
  if (on && m_tmpShowing) {
    m_messages.Error("Error: this property must be set true with IsShowingTmpFrameSet false");
    return;
  }
  m_tmpAllowed = on;
}

bool TAEHCustomFrameSet::ShowInNamedFrame(std::string_view name, ObjectId object, int anchor, int mode) {
  if (m_set == nullptr) return false;
  // FIXME: floating frames of the page views are searched too once they exist.
  if (FindFrame(name) == nullptr) return false;
  SetShowingTmpFrameSet(true);
  TAEHFrame* frame = FindFrame(name);
  if (frame == nullptr) return false;
  if (frame->HasChildren()) {
    ReleaseViews(*frame, false);
    frame->children.clear();
  }
  TAEHoggetto* record = m_set->GetObjectById(object);
  if (record == nullptr) return false;
  if (record->Kind() != document::testoHtml) {
    std::string markup(kObjectPageStart);
    base::AppendHex(markup, static_cast<std::uint32_t>(object), 8);
    markup += ">" + document::GetDescription(*record) + "<%>";
    markup.push_back('\0');
    TAEHtesto page;
    page.SetOwner(m_set);
    page.Clear();
    page.SetContent(markup);
    ReleaseView(*frame, false);
    auto view = std::make_unique<TAEHpage>(*this);
    view->SetReadOnly(true);
    view->ShowUnregistered(page);
    m_views[frame] = std::move(view);
    return true;
  }
  const std::int32_t mapIndex = record->I32(kPageFrameMap);
  TAEHoggetto* map = mapIndex >= 0 ? m_set->GetObject(document::mappaFrame, mapIndex) : nullptr;
  if (mode == 1 && map != nullptr && !map->IsFree()) {
    std::int32_t recordSize = 0;
    std::unique_ptr<TAEHFrame> tree = ReadFrameTree(MapStream(*map, recordSize), recordSize);
    if (tree && tree->HasChildren()) {
      ReleaseView(*frame, false);
      frame->SetResizable(false);
      for (auto& child : tree->children) {
        child->parent = frame;
        frame->children.push_back(std::move(child));
      }
      ApplyLoadedPositions(*frame);
      RelayoutFrames();
      ShowLeaves(*frame);
      return true;
    }
  }
  ShowPageInFrame(*frame, record->Index());
  if (anchor >= 0) {
    if (TAEHpage* view = ViewOf(*frame)) view->GoToAnchor(anchor);
  }
  return true;
}

// ---- Search ----

bool TAEHCustomFrameSet::FindInPage(std::string_view text) {
  for (TAEHpage* view : Views()) {
    view->StartSearch();
    if (view->FindNext(text)) return true;
  }
  return false;
}

// ---- Linked view ----

int TAEHCustomFrameSet::ReleasePage() {
  const int page = m_main;
  const bool save = SaveOnExit;
  SaveOnExit = true;
  LoadPage(-1);
  SaveOnExit = save;
  return page;
}

void TAEHCustomFrameSet::RestorePage(int page) {
  if (page >= 0) SetMainPageNumber(page);
}

void TAEHCustomFrameSet::DropPage() {
  if (m_top) ReleaseViews(*m_top, false);
  m_views.clear();
  m_top.reset();
  m_frameMap = nullptr;
  m_main = -1;
}

// ---- Frameset HTML ----

std::string FrameSetHtml(const TAEHoggetto& map, const std::function<std::string(std::int32_t)>& source) {
  std::int32_t recordSize = 0;
  const std::string stream = MapStream(map, recordSize);
  std::string out;
  TNonVisCornice::FromStream(stream, recordSize).Write(out, source);
  return out;
}

std::int32_t WriteDocumentFrameSet(const TAEHoggetto& map, std::string& out) {
  std::int32_t recordSize = 0;
  const std::string stream = MapStream(map, recordSize);
  return TNonVisCornice::FromStream(stream, recordSize).Write(out, DocumentFrameSource);
}

}  // namespace tarn::objects
