// A separate page window: a window of its own, beside the main one, in
// which a special link shows its target page (an independent window, a new
// browser window, a pop-up, or a frame not found in the editor). It shows
// its page read-only in a frame set of its own; links followed in it are
// handled by the main window like those of the editor.
#pragma once

#include <QWidget>

#include <string>

#include "objects/frameset.h"

namespace tarn::document {
class TAEHset;
class TAEHoggetto;
}  // namespace tarn::document
namespace tarn::platform {
class Clipboard;
class Messages;
}  // namespace tarn::platform
namespace tarn::objects::ui {
class TAEHframeSet;
}

namespace tarn::app::ui {

class TFseparato : public QWidget {
  Q_OBJECT

 public:
  // The window names of a new browser window and of the pop-up window.
  static constexpr const char* kNewWindowName = "<<<new";
  static constexpr const char* kPopupWindowName = "<<<pop";

  TFseparato(platform::Messages& messages, document::TAEHset& set, platform::Clipboard* clipboard,
             std::string name, QWidget* owner);
  ~TFseparato() override;

  const std::string& Name() const { return m_name; }
  objects::ui::TAEHframeSet& Editor() const { return *m_editor; }
  // Shows the page, scrolled to the anchor (-1 none).
  void ShowPage(int page, int anchor);
  // The hypertext is about to go: the window lets go of it.
  void DropHypertext();

 private:
  std::string m_name;
  objects::ui::TAEHframeSet* m_editor;
};

}  // namespace tarn::app::ui
