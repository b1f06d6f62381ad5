// The editor control: the frame set on screen. It owns the frame set's
// model (TAEHCustomFrameSet) and mirrors its tree with frame panels, bars,
// splitters and one page view per leaf; it turns the model's posted
// messages and its slide timer to the Qt event loop, makes the
// real text boxes for its page views, and is what the page's objects talk
// to (FrameSetInterface) and what the main window drives (EditorControl).
#pragma once

#include <QPointer>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "app/ui/editorcontrol.h"
#include "document/aehset.h"
#include "objects/frameset.h"
#include "objects/ui/framesetinterface.h"
#include "objects/ui/spellhandler.h"
#include "objects/ui/framewidget.h"

class QMenu;

namespace tarn::platform {
class Clipboard;
class Messages;
}  // namespace tarn::platform
namespace tarn::platform::qt {
class QtEventLoop;
}
namespace tarn::page::ui {
class TPageView;
}
namespace tarn::richtext {
class ClipboardFormats;
}
namespace tarn::richtext::ui {
class TAEHbox;
}

namespace tarn::objects::ui {

// The popup menus of the frame set, one per kind of object. The frame set
// makes them empty; the main window fills them with its commands.
enum class PopupKind {
  Spell, SpecLink, GenLink, Inactive, Button, Multimedia, Input, Din, Comment, Java,
  FormStart, MapZone, Image, TableChild, Table, Floating, FrameChild, Frame,
};
inline constexpr int kPopupKinds = 18;

class TInsiemeCornici : public QWidget,
                        public app::ui::EditorControl,
                        public document::LinkedView,
                        public FrameSetInterface,
                        public FrameSetProvider,
                        public FrameOwner {
  Q_OBJECT

 public:
  explicit TInsiemeCornici(platform::Messages& messages, QWidget* parent = nullptr);
  ~TInsiemeCornici() override;

  // The model, for what the main window sets beyond EditorControl
  // (AutoJump, ActivePreview, search options, layouts, ...).
  TAEHCustomFrameSet& Model() { return *m_model; }
  const TAEHCustomFrameSet& Model() const { return *m_model; }
  // The clipboard of the page boxes; with formats they also copy and paste
  // RTF and the converters' plain text.
  void SetClipboard(platform::Clipboard* clipboard, richtext::ClipboardFormats* formats = nullptr) {
    m_clipboard = clipboard;
    m_clipboardFormats = formats;
  }
  void SetShowFramesOnly(bool on);
  bool ShowFramesOnly() const { return m_model->ShowFramesOnly; }
  // A link object was activated (the model has shown the page already when
  // it follows page links by itself): the main window does the rest.
  std::function<void(const LinkSource& source, document::TAEHoggetto* link)> OnDoLink;
  // A frame was clicked in frames-only mode (the model's frame).
  std::function<void(TAEHFrame& frame)> OnClickFrameDetail;

  // The events of the objects on the pages, for the main window.
  // An object became the active one, or stopped being it.
  std::function<void(QWidget* object)> OnEditStart;
  std::function<void(QWidget* object)> OnEditStop;
  // The selection was set to an object.
  std::function<void(QWidget* object)> OnSelectionChange;
  // The ruler must follow a text box (its caret moved or it was entered).
  std::function<void(QWidget* box)> OnRulerPosChanged;
  // Files were dropped on a page: a hypertext on a read-only box (caller
  // none), or files to insert at the caret of the box.
  std::function<void(const std::vector<std::string>& files, QWidget* caller)> OnDropFile;
  // A hint for the status bar (links under the pointer, frame bars).
  std::function<void(const QString& hint)> OnHint;
  // FIXME: OnProperties, OnAddStyle and OnImageFromClip are raised by the
  // object commands that come with the visual objects; the Cut/Copy/Paste
  // commands by object kind, anchor glyphs in preview and the floating
  // frames of page views come with them and the command table.

  // Pages that GoBack left, for GoForward.
  const std::vector<int>& ForwardHistory() const { return m_forward; }

  // ---- The widgets of the tree, for the main window's commands and tests ----
  page::ui::TPageView* PageViewOf(const TAEHFrame& frame) const;
  TAEHFramePanel* PanelOf(const TAEHFrame& frame) const;
  TFrameBar* BarOf(const TAEHFrame& frame, SplitDirection direction) const;
  TFrameSplitter* SplitterAfter(const TAEHFrame& child) const;
  // The text box of the frame's page view.
  richtext::ui::TAEHbox* BoxOf(const TAEHFrame& frame) const;
  // The text box being edited (or last clicked), else the top frame's box.
  richtext::ui::TAEHbox* ActiveBox() const;
  page::TAEHpage* PageOfBox(const QWidget* box) const;
  QMenu* Popup(PopupKind kind) const { return m_popups[static_cast<std::size_t>(kind)]; }
  // The main window's menu for one of the popup properties ("PopupTable");
  // false for a name that is not one.
  bool SetPopupMenu(std::string_view property, QMenu* menu);
  QMenu* DropMenuWidget() const { return m_dropMenu; }

  // ---- EditorControl ----
  QWidget* Widget() override { return this; }
  void SetLinkedAEHset(document::TAEHset* set) override;
  void SetMainPageNumber(long page) override;
  long MainPageNumber() const override { return m_model->MainPageNumber(); }
  void ClosePage() override;
  void ShowCover() override;
  void ShowContents() override;
  bool GoBack() override;
  bool GoForward() override;
  void SetReadOnly(bool readOnly) override;
  bool ReadOnly() const override { return m_model->ReadOnly(); }
  void SetModeSwitching(bool switching) override { m_modeSwitching = switching; }
  bool PageModified() const override;
  void SetPageModified(bool modified) override;
  void SetAutoEngQuote(bool on) override { m_autoEngQuote = on; }
  void SetShowNested(bool on) override;
  bool ShowNested() const override { return m_model->ShowNested(); }
  void RestoreFocus() override;
  void SelectAll() override;
  void Cut() override;
  void Copy() override;
  void Paste() override;

  // ---- LinkedView ----
  int ReleasePage() override;
  void RestorePage(int page) override;
  void DropPage() override;

  // ---- FrameSetInterface ----
  void ObjectSelected(TDragCustomControl* object) override;
  void ObjectChanged(TDragCustomControl* object) override;
  void ObjectDeselected(TDragCustomControl* object) override;
  void CaretChanged(QWidget* box) override;
  void BoxEntered(QWidget* box) override;
  void TakeFocus() override;
  void ShowHint(const QString& hint) override;
  void OpenHypertext(const std::string& path) override;
  void FilesDropped(const std::vector<std::string>& paths, QWidget* box) override;
  bool Enabled() const override { return isEnabled(); }
  bool AutoEngQuote() const override { return m_autoEngQuote; }
  QString LinkDescription(std::int32_t link) override;
  int LinkRecordKind(std::int32_t link) override;
  void FollowLink(std::int32_t link, QWidget* from) override;
  QMenu* PopupInactive() override { return Popup(PopupKind::Inactive); }
  QMenu* PopupSpell() override { return Popup(PopupKind::Spell); }
  QMenu* PopupGenLink() override { return Popup(PopupKind::GenLink); }
  QMenu* PopupSpecLink() override { return Popup(PopupKind::SpecLink); }
  DropChoice DropMenu(QPoint global) override;

  // ---- FrameSetProvider ----
  FrameSetInterface* ProvidedFrameSet() override { return this; }

  // ---- FrameOwner ----
  bool FrameAlive(const TAEHFrame* frame) const override;
  void BarDragged(TAEHFrame& frame, SplitDirection direction, int dragged) override;
  void SplitterDragged(TAEHFrame& child, int width, int height) override;
  void FrameClicked(TAEHFrame& frame) override;

  // Brings the widgets in line with the model's tree; every operation that
  // may change the tree ends with it.
  void Sync();

  // ---- Spelling (search area): the spelling menu and the checks ----
  void SetSpellHandler(SpellHandler* handler) { m_spellHandler = handler; }
  std::vector<std::string> Suggest(const std::string& word) override;
  void IgnoreAll(const std::string& word) override;
  void AddWord(const std::string& word) override;
  void SpellCheckFrom(QWidget* box) override;
  void RestartBackgroundCheck(QWidget* box) override;
  // The background check of every page view again, over all their
  // paragraphs (after a word was accepted, or the language changed).
  void SpellCheckPage();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void PageChanged();
  void ClearActive();
  bool ViewAlive(const page::TAEHpage* view) const;
  // The link's record: the working copy's link, or a record of the container.
  document::TAEHoggetto* LinkRecord(std::int32_t link, const QWidget* box) const;
  document::ObjectId LinkObjectId(std::int32_t link, const QWidget* box) const;
  void MirrorFrame(TAEHFrame& frame, std::vector<const TAEHFrame*>& seen);
  void MakeMenus();

  platform::Messages& m_messages;
  // Owned as a child: what it still holds when the control goes is dropped
  // with it.
  platform::qt::QtEventLoop* m_loop;
  std::unique_ptr<TAEHCustomFrameSet> m_model;
  document::TAEHset* m_set = nullptr;
  platform::Clipboard* m_clipboard = nullptr;
  richtext::ClipboardFormats* m_clipboardFormats = nullptr;
  // Boxes wait here, hidden, between being made and being shown.
  QWidget* m_parking;

  std::unordered_map<const TAEHFrame*, TAEHFramePanel*> m_panels;
  std::unordered_map<const TAEHFrame*, std::array<TFrameBar*, 2>> m_bars;
  std::unordered_map<const TAEHFrame*, TFrameSplitter*> m_splitters;
  std::unordered_map<const page::TAEHpage*, page::ui::TPageView*> m_pageViews;

  QPointer<richtext::ui::TAEHbox> m_activeBox;
  QPointer<richtext::ui::TAEHbox> m_previewBox;
  QPointer<TDragCustomControl> m_activeObject;
  std::vector<int> m_forward;
  bool m_navigating = false;
  bool m_modeSwitching = false;
  bool m_autoEngQuote = false;
  bool m_syncing = false;

  std::array<QMenu*, kPopupKinds> m_popups{};
  QMenu* m_dropMenu = nullptr;
  // Spelling (search area).
  SpellHandler* m_spellHandler = nullptr;
};

// The same component under its second name, for previews and page windows.
class TAEHframeSet : public TInsiemeCornici {
  Q_OBJECT

 public:
  using TInsiemeCornici::TInsiemeCornici;
};

}  // namespace tarn::objects::ui
