// The page view without its widgets: the working copy of one page and the
// text box built from it, committing it back, closing it, anchors, search
// inside the page, the background spell-check cycle and the display modes.
// The scrolling widget of the editor is a shell over TAEHpage; it paints
// with PaintBackground and forwards its timer and scroll events here.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "page/workingcopy.h"
#include "platform/canvas.h"
#include "richtext/markup.h"
#include "richtext/pageobjects.h"
#include "undo/aehundoindicilist.h"

namespace tarn::platform {
class EventLoop;
class Messages;
class TextMeasurer;
}  // namespace tarn::platform
namespace tarn::search {
class SpellEngine;
class TKrSpellThread;
}  // namespace tarn::search
namespace tarn::richtext {
class DocumentHost;
}

namespace tarn::document {
class TAEHpicture;
}

namespace tarn::page {

class TAEHpage;

// Search options of the frame set.
enum SearchOption : int { kWholeWord = 1, kMatchCase = 2 };

// What the page view needs of the box that shows its text: the paragraphs
// (the header's, the page's own, the footer's) and the few things the view
// asks the box to do. The editor's text box implements it; PlainTextBox
// does without a display.
class PageTextBox {
 public:
  virtual ~PageTextBox() = default;
  virtual richtext::RichText& Text() = 0;
  virtual int HeaderCount() const = 0;
  virtual int FooterCount() const = 0;
  // The page's own paragraphs in stored form, ending with a byte 0.
  virtual std::string SaveText() = 0;
  virtual void SetReadOnly(bool on) = 0;
  // Selects characters from..to of a paragraph of this box or of a table
  // cell inside it, scrolls it into view and focuses that box.
  virtual void Select(richtext::RichText& box, int paragraph, int from, int to) = 0;
  virtual void RedrawParagraph(richtext::RichText& box, int paragraph) = 0;
  virtual void HideCaret() = 0;
  virtual bool Modified() const = 0;
  // How undo steps find the box (number 0 of its page view); nothing for a
  // box that cannot be edited.
  virtual undo::UndoControl* UndoBox() { return nullptr; }
};

// The placed objects of a working copy and of its header and footer copies.
// Each section numbers its objects apart; a box finds an object in the
// section it is reading.
class SectionObjects {
 public:
  // With a host and a measurer, tables lay out and paint their cells.
  explicit SectionObjects(const WorkingCopy& copy, richtext::TextHost* host = nullptr,
                          platform::TextMeasurer* measurer = nullptr);
  void SetSection(richtext::Origin origin) { m_current = origin; }
  richtext::EmbeddedObject* Find(std::int32_t identifier);

 private:
  std::array<richtext::PageObjects, 3> m_sections;  // by Origin
  richtext::Origin m_current = richtext::Origin::Text;
};

// The box without a display: reads the working markup (header, own text,
// footer) into paragraphs and writes the own ones back.
class PlainTextBox : public PageTextBox {
 public:
  PlainTextBox(TAEHset& set, WorkingCopy& copy);
  ~PlainTextBox() override;
  richtext::RichText& Text() override { return m_text; }
  int HeaderCount() const override { return m_headerCount; }
  int FooterCount() const override { return m_footerCount; }
  std::string SaveText() override;
  void SetReadOnly(bool on) override { readOnly = on; }
  void Select(richtext::RichText& box, int paragraph, int from, int to) override;
  void RedrawParagraph(richtext::RichText& box, int paragraph) override;
  void HideCaret() override { caretHidden = true; }
  bool Modified() const override { return modified; }
  richtext::DocumentHost& Host() { return *m_host; }

  // What the view asked for, for tests and tools.
  struct Selected {
    richtext::RichText* box = nullptr;
    int paragraph = -1;
    int from = 0;
    int to = 0;
  } selected;
  std::vector<std::pair<richtext::RichText*, int>> redrawn;
  bool readOnly = false;
  bool caretHidden = false;
  bool modified = false;

 private:
  void ReadSection(const WorkingCopy& section, richtext::Origin origin);

  std::unique_ptr<richtext::DocumentHost> m_host;
  SectionObjects m_objects;
  richtext::RichText m_text;
  int m_headerCount = 0;
  int m_footerCount = 0;
};

// A paragraph iterator over the page's own paragraphs that descends into
// the cells of the tables placed in them (a paragraph, then its tables'
// cells row by row). It keeps indexes only and finds the paragraphs again
// from the root at each step, so that edits between steps cannot leave it
// pointing at freed paragraphs.
class TAEHpar {
 public:
  TAEHpar(richtext::RichText& root, int first, int last) : m_root(root), m_first(first), m_last(last) {}
  // Moves to the next paragraph; false at the end.
  bool Next();
  bool Valid() const { return Current() != nullptr; }
  richtext::TAEHparag* Current() const;
  richtext::RichText* CurrentBox() const;
  int CurrentIndex() const { return m_levels.empty() ? -1 : m_levels.back().paragraph; }

 private:
  struct Level {
    int paragraph = 0;
    int object = -1;
    int cell = -1;
  };
  richtext::RichText* BoxAt(std::size_t depth) const;
  int LimitAt(std::size_t depth) const;
  bool DescendFrom(std::size_t depth, int object, int cell);

  richtext::RichText& m_root;
  int m_first;
  int m_last;
  std::vector<Level> m_levels;
};

// The frame set as its page views see it.
class PageHost {
 public:
  virtual ~PageHost() = default;
  virtual TAEHset& LinkedAEHset() = 0;
  virtual bool IsReadOnly() const = 0;
  virtual int SearchOptions() const = 0;
  virtual bool AutoSpellCheck() const = 0;
  // The spelling engine, or nothing.
  virtual search::SpellEngine* SpellChecker() = 0;
  // Where the spell thread's calls are run; nothing without a user interface.
  virtual platform::EventLoop* Dispatcher() = 0;
  // Told each time the view shows a page: a frame set numbers the view
  // anew, so that undo steps made for the page it showed before find
  // nothing.
  virtual void RegisterPageView(TAEHpage& view) = 0;
  // A page view wrote back a modified page.
  virtual void PageViewModified() = 0;
  // The box for a page; the default reads it without a display.
  virtual std::unique_ptr<PageTextBox> MakeTextBox(TAEHpage& view, WorkingCopy& copy);
};

// A page view numbers the screen objects of the page it shows for undo
// steps: its text box is 0, the placed objects of its own text keep the
// numbers their object tags carry (1 up), and objects added later come
// after them.
class TAEHpage : public undo::UndoControl {
 public:
  static constexpr int kSpellDelay = 2000;
  static constexpr int kDefaultScrollMode = 3;
  static constexpr int kDefaultVerticalRange = 1024;

  explicit TAEHpage(PageHost& host);
  ~TAEHpage() override;
  TAEHpage(const TAEHpage&) = delete;
  TAEHpage& operator=(const TAEHpage&) = delete;

  // Shows a registered page, or a new empty page when page is nothing.
  TAEHtesto* ShowPage(TAEHtesto* page);
  // Shows a page that is not in the container (a page made to show an
  // object): it is worked on like a new page.
  TAEHtesto* ShowUnregistered(const TAEHtesto& page);
  void CommitPage();
  void ClosePage();

  bool GoToAnchor(int number);
  int NextAnchorNumber();

  void StartSearch();
  bool FindNext(std::string_view text);

  // Background spell check: StartSpellCheck starts the timer (the widget
  // runs it for kSpellDelay ms and calls SpellTimerFired once).
  void StartSpellCheck(int mode);
  void SpellTimerFired();
  void StopSpellThread();
  bool SpellTimerRunning() const { return m_spellTimerTag != -1; }
  // A check thread was started and has not called its finished callback.
  bool SpellRunning() const { return m_spellThread != nullptr && !m_spellFinished; }
  std::function<void(bool run)> OnSpellTimer;

  void SetReadOnly(bool on);
  void SetShowMode(bool on) { m_showMode = on; }
  void SetScrollMode(int mode);
  void SetFrameMode(bool on);
  // The page's own scroll bars moved: the text box hides its caret.
  void Scrolled();

  PageHost& Host() { return m_host; }
  TAEHtesto* StoredPage() const { return m_stored; }
  int StoredIndex() const { return m_storedIndex; }
  bool IsNewPage() const { return m_newPage; }
  bool IsCommitted() const { return m_committed; }
  bool IsReadOnly() const { return m_readOnly; }
  bool ShowMode() const { return m_showMode; }
  int ScrollMode() const { return m_scrollMode; }
  bool FrameMode() const { return m_frameMode; }
  bool HorizontalBarVisible() const { return m_horizontalBar; }
  bool VerticalBarVisible() const { return m_verticalBar; }
  int VerticalRange() const { return m_verticalRange; }
  bool HasBorder() const { return m_border; }
  WorkingCopy* Working() const { return m_working.get(); }
  // The working page, registered once committed.
  TAEHtesto* WorkingPage() const { return m_working && m_working->page ? m_working->page.get() : m_committedPage; }
  PageTextBox* Box() const { return m_box.get(); }
  // The page that is shown: stored page's number, or -1 for a new page.
  int PageNumber() const;
  bool Modified() const;
  void SetModified(bool on) { m_modified = on; }

  // ---- undo::UndoControl ----
  undo::TAEHundoIndiciList* UndoChildren() override { return &m_controls; }
  // An undo step is made for something on the page: it is modified.
  void UndoTouched() override { m_modified = true; }

  // Anchors of the page's own text: (number, box, paragraph, character).
  struct AnchorPlace {
    int number = 0;
    richtext::RichText* box = nullptr;
    int paragraph = 0;
    int character = 0;
  };
  std::vector<AnchorPlace> Anchors();

 private:
  struct SpellSession;
  void ApplyScrollMode();
  // Numbers the new box and the working copy's placed objects.
  void NumberControls();
  std::unique_ptr<TAEHpar> OwnParagraphs();
  std::string NextSpellText();
  void SpellError(int offset, int length);
  void SpellParagraphDone();
  void SpellFinished();

  PageHost& m_host;
  undo::TAEHundoIndiciList m_controls{this};
  TAEHtesto* m_stored = nullptr;
  int m_storedIndex = -1;
  std::unique_ptr<WorkingCopy> m_working;
  TAEHtesto* m_committedPage = nullptr;
  std::unique_ptr<PageTextBox> m_box;
  bool m_newPage = false;
  bool m_committed = false;
  bool m_modified = false;
  bool m_readOnly = false;
  bool m_showMode = true;
  int m_scrollMode = kDefaultScrollMode;
  bool m_frameMode = false;
  bool m_border = true;
  bool m_horizontalBar = true;
  bool m_verticalBar = true;
  int m_verticalRange = kDefaultVerticalRange;

  std::unique_ptr<TAEHpar> m_search;
  int m_lastHit = -1;

  int m_spellTimerTag = -1;
  std::shared_ptr<SpellSession> m_spell;
  std::unique_ptr<search::TKrSpellThread> m_spellThread;
  bool m_spellFinished = true;
};

// Paints a page's background into the clip rectangle: the colour, then the
// picture tiled from the greatest multiples of its size not above the
// clip's corner. An opaque picture is not painted over the colour first.
void PaintBackground(platform::Canvas& canvas, const platform::Rect& clip, std::uint32_t colour,
                     const document::TAEHpicture* picture);
// The same for a page record: its background colour and image.
void PaintPageBackground(platform::Canvas& canvas, const platform::Rect& clip, TAEHoggetto& page);

}  // namespace tarn::page
