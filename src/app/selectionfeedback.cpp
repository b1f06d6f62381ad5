// The selection feedback and status texts of the main window.
#include "app/selectionfeedback.h"

namespace tarn::app {
namespace {

constexpr const char* kFormat = "ToolbarFormato";
constexpr const char* kInsertions = "ToolbarInserimenti";
constexpr const char* kParagraphs = "ToolbarParag";
constexpr const char* kTable = "ToolbarTable";
constexpr const char* kImages = "ToolBarImage";
constexpr const char* kFloating = "ToolbarFloating";

// The object menus; one at most shows.
constexpr const char* kObjectMenus[] = {"mImage", "mTable", "mFloating", "mButton"};

std::string Size(int width, int height) { return std::to_string(width) + "x" + std::to_string(height); }

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

}  // namespace

Feedback SelectionFeedback(SelectedObject object) {
  switch (object) {
    case SelectedObject::Image:
      return {{kImages}, {kFormat, kInsertions, kTable, kParagraphs, kFloating}, "mImage", false, false};
    case SelectedObject::Table: return {{kTable}, {kImages, kFloating}, "mTable", true, true};
    case SelectedObject::FloatingFrame:
      return {{kFloating}, {kInsertions, kTable, kFormat, kParagraphs, kImages}, "mFloating", false, false};
    case SelectedObject::Button:
    case SelectedObject::OtherVisual:
      return {{},
              {kInsertions, kTable, kFormat, kParagraphs, kImages, kFloating},
              object == SelectedObject::Button ? "mButton" : "",
              false,
              false};
    case SelectedObject::TableCell:
      return {{kInsertions, kFormat, kParagraphs, kTable}, {kImages, kFloating}, "mTable", true, true};
    case SelectedObject::TextBox: return {{kInsertions, kFormat, kParagraphs}, {kImages, kFloating}, "", true, true};
  }
  return {};
}

std::set<std::string> ApplyFeedback(const std::set<std::string>& shownBefore, const Feedback& feedback) {
  std::set<std::string> shown = shownBefore;
  for (const std::string& name : feedback.enabled) shown.insert(name);
  for (const std::string& name : feedback.disabled) shown.erase(name);
  for (const char* menu : kObjectMenus) shown.erase(menu);
  if (!feedback.menu.empty()) shown.insert(feedback.menu);
  return shown;
}

const std::set<std::string>& TextOnlyCommands() {
  static const std::set<std::string> commands = {"mInsert",   "Incollapaginada1", "SelectFont1", "FontButton",
                                                 "mSuperSub", "Stileparagrafo1",  "Nuovostile1", "Riformatta1"};
  return commands;
}

std::string CaretPanelText(int line, int column) { return std::to_string(line) + ": " + std::to_string(column); }

std::string ImageSizePanelText(int width, int height, bool percent, int naturalWidth, int naturalHeight) {
  std::string text = Size(width, height);
  if (percent) text += " %";
  // A size in percent differs from the natural one unless both are 100.
  const bool natural = percent ? width == 100 && height == 100 : width == naturalWidth && height == naturalHeight;
  if (!natural) text += " (" + Size(naturalWidth, naturalHeight) + ")";
  return text;
}

std::string FloatingSizePanelText(int width, int height, bool percent) {
  return Size(width, height) + (percent ? " %" : "");
}

std::string TextBoxPanelText(std::string_view pageTitle, long pageNumber, bool newPage, std::string_view frameName,
                             bool mainFrame) {
  std::string text = "Text: \"" + std::string(pageTitle);
  text += newPage ? "\" (new page)" : "\" @" + std::to_string(pageNumber);
  text += mainFrame ? "; " + Quoted(frameName) : "; Frame: " + Quoted(frameName);
  return text;
}

std::string PreviewTextBoxText(std::string_view pageTitle) { return "Text: " + Quoted(pageTitle) + " "; }

std::string ImagePanelText() { return "Image "; }

std::string FloatingPanelText(bool noPage, std::string_view pageTitle, std::string_view frameTitle) {
  std::string text = "Indipendent frame. ";
  if (noPage) return text + "(non definita)";
  return text + "Text: " + Quoted(pageTitle) + " ; " + Quoted(frameTitle) + " ";
}

std::string FormControlPanelText(int kind, bool panel) {
  switch (kind) {
    case 20: return panel ? std::string() : "Elemento di modulo. ";
    case 21: return "Elemento dinamico di modulo. ";
    case 22: return "Bottone di modulo. ";
    case 23: return "Inizio modulo. ";
    case 24: return "Oggetto multimediale. ";
    default: return {};
  }
}

std::string ExportProgressText(int phase, int page, int pages) {
  const int percent = pages > 0 ? page * 100 / pages : 100;
  return "Exporting, phase " + std::to_string(phase) + ": " + std::to_string(percent) + "%";
}

}  // namespace tarn::app
