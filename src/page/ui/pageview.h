// The page view on screen: the text box that a page view (TAEHpage) builds
// from its working copy, and the scroll area that shows it over the page's
// background. Both are shells: showing, committing and closing the page
// stay with TAEHpage, which owns the box; the scroll area only places,
// paints and scrolls what the page view has.
#pragma once

#include <QPointer>
#include <QScrollArea>
#include <QTimer>

#include <functional>
#include <memory>

#include "page/aehpage.h"
#include "richtext/boxtext.h"

namespace tarn::platform {
class Clipboard;
class Messages;
}  // namespace tarn::platform
namespace tarn::richtext {
class ClipboardFormats;
}
namespace tarn::richtext::ui {
class TAEHbox;
}

namespace tarn::page::ui {

// The page's text box: a TAEHbox that reads the header, the page's own text
// and the footer of the working copy, each with its own placed objects.
// TAEHpage owns it; the box widget waits under `parking` until a page view
// adopts it, and goes when the page is closed.
class PageBox : public PageTextBox {
 public:
  // With formats, the box's clipboard also carries RTF and the converters'
  // plain text.
  PageBox(TAEHset& set, WorkingCopy& copy, QWidget* parking, platform::Clipboard* clipboard,
          richtext::ClipboardFormats* formats = nullptr);
  ~PageBox() override;
  PageBox(const PageBox&) = delete;
  PageBox& operator=(const PageBox&) = delete;

  richtext::ui::TAEHbox* Widget() const;

  // ---- PageTextBox ----
  richtext::RichText& Text() override;
  int HeaderCount() const override;
  int FooterCount() const override;
  std::string SaveText() override;
  void SetReadOnly(bool on) override;
  void Select(richtext::RichText& box, int paragraph, int from, int to) override;
  void RedrawParagraph(richtext::RichText& box, int paragraph) override;
  void HideCaret() override;
  bool Modified() const override { return m_modified; }
  void SetModified(bool on) { m_modified = on; }

  undo::UndoControl* UndoBox() override;
  // Places a new object (a record not yet in the hypertext) at the caret of
  // a page box, as one undo step with the caption; false for a box that is
  // not a page's or cannot be edited.
  static bool InsertObject(richtext::ui::TAEHbox& box, std::unique_ptr<TAEHoggetto> record,
                           std::string_view caption);
  // Adds a link record made by the editor to the page of a page box;
  // answers the value that the page's text and zones refer to it by, or
  // -1 for a box that is not a page's.
  static std::int32_t AddLink(richtext::ui::TAEHbox& box, std::unique_ptr<TAEHoggetto> link);
  // The link record behind a working link value of a page box's page;
  // nothing when there is none.
  static const TAEHoggetto* LinkRecord(richtext::ui::TAEHbox& box, std::int32_t value);
  // Told when the first change of the page is recorded.
  std::function<void()> onModified;
  // Told of every change recorded (the background spell check restarts).
  std::function<void()> onEdited;

 private:
  class Resources;
  static Resources* ResourcesOf(richtext::ui::TAEHbox& box);
  // Adds a new object to the working copy and the box's objects (with its
  // screen object); answers its number, -1 when it cannot be added.
  static std::int32_t PlaceNew(Resources& r, std::unique_ptr<TAEHoggetto> record);
  QPointer<richtext::ui::TAEHbox> m_box;
  bool m_modified = false;
};

// The scrolling surface of one page view: paints the page's background
// (colour and tiled picture) under the text box, keeps the box as wide as
// the visible area, and applies the page view's scroll bars and border.
class TPageView : public QScrollArea {
  Q_OBJECT

 public:
  // `alive` answers whether a page view still exists; the frame set frees
  // page views while this widget may still receive events.
  TPageView(std::function<bool(const TAEHpage*)> alive, QWidget* parent = nullptr);
  ~TPageView() override;

  // Shows the page view's box (a PageBox), or nothing; called again after
  // every change of the frame set, it adopts a new box when the page changed.
  void Attach(TAEHpage* page);
  TAEHpage* Page() const { return m_page; }
  richtext::ui::TAEHbox* Box() const { return m_box; }
  // The box goes back to its parking place before this widget is freed.
  void Detach();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  class Ground;
  bool Alive() const { return m_page != nullptr && m_alive(m_page); }
  void FitBox();
  void ApplyModes();
  // The background spell check's timer runs here, for the page shown.
  void HookSpellTimer(PageBox* box);

  std::function<bool(const TAEHpage*)> m_alive;
  TAEHpage* m_page = nullptr;
  QPointer<richtext::ui::TAEHbox> m_box;
  QWidget* m_parking = nullptr;
  Ground* m_ground;
  QTimer* m_spellTimer;
};

}  // namespace tarn::page::ui
