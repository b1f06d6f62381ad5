// The frame set without its widgets: the tree of frames that shows the main
// page (a single frame, or the page's frame map), one page view per leaf,
// the main page number with its history, link following through a posted
// message, slide shows, the temporary frame set, creating, resizing and
// deleting frames, and the stored forms of the layout. The editor control
// (TInsiemeCornici, TAEHframeSet) is a widget shell over this model.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "page/aehpage.h"
#include "document/aehset.h"
#include "objects/frames.h"
#include "platform/eventloop.h"
#include "undo/aehundoindicilist.h"

namespace tarn::objects {

// Private messages the frame set and its frames post to themselves.
inline constexpr int kMsgReloadPage = 44650;
inline constexpr int kMsgDeleteChildFrame = 44654;
inline constexpr int kMsgFollowLink = 44655;
inline constexpr int kNoMainPage = -2;
inline constexpr int kSlideUnit = 1000;
inline constexpr int kShortestSlide = 100;

enum LayoutMode : int { kLayoutSave = 0, kLayoutTemplate = 1 };

// What asked for a link to be followed: a page view, or the frame set itself
// (slide shows).
struct LinkSource {
  bool isFrameSet = false;
  page::TAEHpage* page = nullptr;
};

// The frame set numbers its page views for undo steps; the hypertext
// numbers the frame set.
class TAEHCustomFrameSet : public page::PageHost, public document::LinkedView, public undo::UndoControl {
 public:
  explicit TAEHCustomFrameSet(platform::Messages& messages);
  ~TAEHCustomFrameSet() override;
  TAEHCustomFrameSet(const TAEHCustomFrameSet&) = delete;
  TAEHCustomFrameSet& operator=(const TAEHCustomFrameSet&) = delete;

  // ---- Properties ----
  void SetLinkedAEHset(document::TAEHset* set);
  document::TAEHset* LinkedSet() const { return m_set; }
  bool ReadOnly() const { return m_readOnly; }
  void SetReadOnly(bool on);
  bool SaveOnExit = false;
  bool ShowNested() const { return m_showNested; }
  void SetShowNested(bool on);
  bool AutoJump() const { return m_autoJump; }
  void SetAutoJump(bool on);
  // History is kept on followed links even without jumping.
  bool RecordHistory = false;
  bool ActivePreview = false;
  bool AnchorPreview = false;
  bool AutoSpell = false;
  int Options = 0;  // page::SearchOption bits
  int BarWidth = 10;
  int LineStep = 10;
  bool ShowFramesOnly = false;
  search::SpellEngine* Speller = nullptr;
  // The client area the frames are laid out in.
  platform::Rect ClientArea{0, 0, 2000, 2000};

  // ---- Events ----
  std::function<void()> OnPageChanged;
  std::function<void()> OnFrameSetChanged;
  std::function<void(const LinkSource& source, document::TAEHoggetto* link)> OnDoLink;
  std::function<void(TAEHFrame& frame)> OnClickFrame;
  // Where private messages are posted and the slide timer runs; also the
  // spell check's way to the user-interface thread. Set before pages are
  // shown.
  void SetEventLoop(platform::EventLoop* loop);
  platform::EventLoop* EventLoop() const { return m_loop; }
  // Boxes for new page views; unset, boxes without a display.
  std::function<std::unique_ptr<page::PageTextBox>(page::TAEHpage&, page::WorkingCopy&)> BoxFactory;

  // ---- Showing pages ----
  int MainPageNumber() const { return m_main; }
  void SetMainPageNumber(int n);
  void ClosePage();
  void ShowCover();
  void ShowContents();
  void Reload(int n);
  const std::vector<int>& History() const { return m_history; }
  void GoBack();
  void Current();
  bool PageModified() const { return m_pageModified; }
  // The main window clears the flag after a save.
  void SetPageModified(bool on) { m_pageModified = on; }
  // Shows a page the way a followed link does: the page shown goes on the
  // history first.
  void ShowFromHistory(int n);
  bool IsSwitching() const { return m_switching; }
  bool PageChanging() const { return m_pageChanging; }

  // ---- Links and slides ----
  void FollowLink(const LinkSource& source, document::ObjectId link);
  // Follows a link record that is not stored yet (made in this editing
  // session, living in the page's working copy): the frame set keeps the
  // copy until the link has been followed.
  void FollowLink(const LinkSource& source, std::shared_ptr<document::TAEHoggetto> unstored);
  bool LinkBusy() const { return m_linkBusy; }
  int SlideTarget() const { return m_slideTarget; }
  bool SlideTimerRunning() const { return m_slideTimer.Active(); }
  void SlideTimerFired();

  // ---- Frames ----
  TAEHFrame* Top() const { return m_top.get(); }
  bool MapShown() const { return m_mapShown; }
  document::TAEHoggetto* FrameMap() const { return m_frameMap; }
  page::TAEHpage* ViewOf(const TAEHFrame& frame) const;
  std::vector<page::TAEHpage*> Views() const;
  TAEHFrame* FindFrame(std::string_view name) const;
  void ClickFrame(std::string_view name);
  TAEHFrame* HighlightedFrame() const { return m_highlighted; }
  // A bar was dragged out of the frame by `dragged` pixels.
  bool DragBar(TAEHFrame& frame, SplitDirection direction, int dragged);
  // A splitter drag ended with the child at this size; a child dragged
  // below the bar width is deleted through a posted message.
  void EndSplitterDrag(TAEHFrame& child, int width, int height);
  // The posted deletion arrives.
  void DeleteChildFrame(TAEHFrame& child);
  void RelayoutFrames();
  // Shows the page (-1 a new one) in a leaf, writing back or discarding the
  // page it showed before.
  void ShowPageInFrame(TAEHFrame& frame, int page);

  // ---- Stored layouts ----
  // The ".frm" bytes of the layout; empty (with a message when there is no
  // frame at all) for a single frame.
  std::string SaveLayout(int mode);
  bool LoadLayout(std::string_view bytes, int mode);
  document::TAEHoggetto* MakeFrameMap();
  void ReplacePageNumber(std::int32_t from, std::int32_t to);

  // ---- Temporary frame set ----
  bool ShowingTmpFrameSet() const { return m_tmpShowing; }
  void SetShowingTmpFrameSet(bool on);
  void SetAllowTmpFrameSet(bool on);
  // Shows the object in the frame with that name (mode 0: the page and its
  // anchor; mode 1: a page with a frame map as that layout).
  bool ShowInNamedFrame(std::string_view name, document::ObjectId object, int anchor, int mode);

  // ---- Search ----
  bool FindInPage(std::string_view text);

  // ---- PageHost ----
  document::TAEHset& LinkedAEHset() override { return *m_set; }
  bool IsReadOnly() const override { return m_readOnly; }
  int SearchOptions() const override { return Options; }
  bool AutoSpellCheck() const override { return AutoSpell; }
  search::SpellEngine* SpellChecker() override { return Speller; }
  platform::EventLoop* Dispatcher() override { return m_loop; }
  void RegisterPageView(page::TAEHpage& view) override { m_pageViews.Register(&view); }
  void PageViewModified() override { m_pageModified = true; }
  std::unique_ptr<page::PageTextBox> MakeTextBox(page::TAEHpage& view, page::WorkingCopy& copy) override;

  // ---- undo::UndoControl ----
  undo::TAEHundoIndiciList* UndoChildren() override { return &m_pageViews; }
  void UndoRedraw() override {
    if (OnRedraw) OnRedraw();
  }
  // Every frame must be painted again (an undo step changed a style or an
  // image of the hypertext).
  std::function<void()> OnRedraw;

  // ---- LinkedView ----
  int ReleasePage() override;
  void RestorePage(int page) override;
  void DropPage() override;

 private:
  void Post(int message, std::function<void()> handler);
  void LoadPage(int n);
  void LeaveTree();
  void StoreFrameMap();
  void ReleaseView(TAEHFrame& frame, bool writeBack);
  void ReleaseViews(TAEHFrame& frame, bool writeBack);
  void ShowLeaves(TAEHFrame& frame);
  void ShowMainPage(int n, bool readOnly);
  void PushHistory();
  void ArrivedLink(const LinkSource& source, document::TAEHoggetto* link);
  void StartSlide(const document::TAEHoggetto& page);
  void StopSlide();

  platform::Messages& m_messages;
  document::TAEHset* m_set = nullptr;
  std::unique_ptr<TAEHFrame> m_top;
  undo::TAEHundoIndiciList m_pageViews{this};
  std::unordered_map<const TAEHFrame*, std::unique_ptr<page::TAEHpage>> m_views;
  FrameNamer m_namer;
  document::TAEHoggetto* m_frameMap = nullptr;
  TAEHFrame* m_highlighted = nullptr;
  platform::EventLoop* m_loop = nullptr;
  platform::Timer m_slideTimer;
  std::vector<int> m_history;
  int m_main = kNoMainPage;
  bool m_readOnly = false;
  bool m_showNested = true;
  bool m_autoJump = true;
  bool m_mapShown = false;
  bool m_pageModified = false;
  bool m_pageChanging = false;
  bool m_switching = false;
  bool m_linkBusy = false;
  bool m_goingBack = false;
  int m_slideTarget = -1;
  bool m_slideRunning = false;
  bool m_tmpShowing = false;
  bool m_tmpAllowed = false;
  bool m_savedReadOnly = false;
  bool m_savedSaveOnExit = false;
  int m_savedPage = -1;
};

// The frameset description the HTML export writes ahead of a page's body:
// leaves show the frameless versions of their pages, which join the export.
std::string FrameSetHtml(const document::TAEHoggetto& map, const std::function<std::string(std::int32_t)>& source);
// What the document file stores before a frame map's content; answers the
// number of characters written.
std::int32_t WriteDocumentFrameSet(const document::TAEHoggetto& map, std::string& out);

}  // namespace tarn::objects
