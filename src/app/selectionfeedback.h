// What the main window shows for the object being edited: which object
// toolbars come and go, which object menu shows, whether the ruler's
// controls and the text-only commands work, and the texts of the status
// bar's panels. Rules only; the window applies them.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <string_view>

namespace tarn::app {

enum class SelectedObject { TextBox, TableCell, Image, Table, FloatingFrame, Button, OtherVisual };

struct Feedback {
  // Object toolbars (by object name) that the object brings and that it
  // takes away; the others stay as they were.
  std::set<std::string> enabled;
  std::set<std::string> disabled;
  // The object menu shown; empty for none.
  std::string menu;
  bool rulerControls = false;
  // The commands that work on text only (the insert menu, fonts, styles).
  bool textCommands = false;
};

Feedback SelectionFeedback(SelectedObject object);
// The object toolbars and the object menu shown once the feedback applies
// to those shown before.
std::set<std::string> ApplyFeedback(const std::set<std::string>& shownBefore, const Feedback& feedback);
// The object names of the text-only commands.
const std::set<std::string>& TextOnlyCommands();

// ---- The status bar's panels ----

inline constexpr int kStatusPanels = 4;
// The panels' widths in pixels; the second is centred.
inline constexpr int kStatusPanelWidths[kStatusPanels] = {100, 80, 80, 50};
inline constexpr std::string_view kHypertextModifiedText = "HY modified";
inline constexpr std::string_view kPageModifiedText = "P modified";

// Panel 0 for a text box: caret line and column.
std::string CaretPanelText(int line, int column);
// Panel 0 for an image or click zone. In percent, width and height are
// percentages of the natural size; the natural size follows when the shown
// size differs from it.
std::string ImageSizePanelText(int width, int height, bool percent, int naturalWidth, int naturalHeight);
// Panel 0 for a floating frame.
std::string FloatingSizePanelText(int width, int height, bool percent);
// Panel 3 for a text box in edit mode: the page (title and number, or a
// page not stored yet) and the frame.
std::string TextBoxPanelText(std::string_view pageTitle, long pageNumber, bool newPage, std::string_view frameName,
                             bool mainFrame);
// The simple text of a text box selected in preview.
std::string PreviewTextBoxText(std::string_view pageTitle);
// Panel 3 for an image.
std::string ImagePanelText();
// Panel 3 for a floating frame; pageTitle empty and noPage set when it
// shows no page.
std::string FloatingPanelText(bool noPage, std::string_view pageTitle, std::string_view frameTitle);
// Panel 3 for a form control by its record kind (20..24); a panel (kind
// 20 shown as a panel) leaves it blank.
std::string FormControlPanelText(int kind, bool panel);
// The simple text while an export runs.
std::string ExportProgressText(int phase, int page, int pages);

}  // namespace tarn::app
