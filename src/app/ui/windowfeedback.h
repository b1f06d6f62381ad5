// How the main window reflects what the author is doing: the object
// toolbars and menus that the object being edited brings, the buttons and
// boxes that follow the text at the caret, the four panels of the status
// bar (or its one simple text in preview and while a hint shows), and the
// paste commands, which follow the clipboard.
#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QLabel;
class QStatusBar;

namespace tarn::document {
class TAEHset;
}
namespace tarn::objects::ui {
class TInsiemeCornici;
}
namespace tarn::page {
class TAEHpage;
}
namespace tarn::richtext::ui {
class TAEHbox;
}

namespace tarn::app::ui {

class CommandSet;

class WindowFeedback : public QObject {
 public:
  struct Host {
    document::TAEHset& set;
    objects::ui::TInsiemeCornici& editor;
    CommandSet& commands;
    QStatusBar& statusBar;
    // The author has edited this hypertext (a hypertext only read is never
    // reported as changed).
    std::function<bool()> editModeUsed;
  };

  WindowFeedback(Host host, QObject* parent);

  // An object of the page became the one being edited.
  void EditorEditStart(QWidget* object);
  // The selection moved to an object, or the caret moved in a text box.
  void EditorSelectionChange(QWidget* object);
  // The buttons and boxes that follow the text at the caret.
  void UpdateTextFeedback();
  // The status bar's panels (edit mode) or its simple text (preview).
  void UpdateStatus();
  // Edit mode shows the panels; preview one text, and no object toolbar.
  void SetEditMode(bool edit);
  // A hint from a control or a link: shown alone in the bar; empty, the
  // panels come back.
  void ShowHint(const QString& hint);
  // Copy and cut, in every menu and on the toolbar.
  void EnableClipboardCommands(bool enabled);
  // Paste follows whether the clipboard holds anything.
  void ClipboardChanged();

  QLabel* Panel(int index) const { return m_panels[static_cast<std::size_t>(index)]; }
  QLabel* SimpleText() const { return m_simple; }
  bool UpdatingControls() const { return m_updatingControls; }

 private:
  void ShowBoxStatus(richtext::ui::TAEHbox* box);
  page::TAEHpage* ViewOfBox(richtext::ui::TAEHbox* box) const;
  // The text box the feedback is about: the one last reported, or the
  // editor's active one.
  richtext::ui::TAEHbox* ShownBox() const;

  Host m_host;
  std::array<QLabel*, 4> m_panels{};
  QLabel* m_simple = nullptr;
  QPointer<QWidget> m_active;
  bool m_edit = true;
  bool m_updatingControls = false;
};

}  // namespace tarn::app::ui
