// What the main window shows for the object being edited and in its status
// bar, and what files dropped on it do.
#include <gtest/gtest.h>

#include "app/documentfiles.h"
#include "app/selectionfeedback.h"

namespace tarn::app {
namespace {

TEST(SelectionFeedback, ToolbarsNotNamedByAnObjectKeepTheirState) {
  // A text box brings its toolbars; a table then adds its own and takes the
  // picture tools away, leaving the text tools as they were.
  std::set<std::string> shown = ApplyFeedback({"ToolBarImage", "mImage"}, SelectionFeedback(SelectedObject::TextBox));
  EXPECT_EQ(shown, (std::set<std::string>{"ToolbarInserimenti", "ToolbarFormato", "ToolbarParag"}));
  shown = ApplyFeedback(shown, SelectionFeedback(SelectedObject::Table));
  EXPECT_EQ(shown, (std::set<std::string>{"ToolbarInserimenti", "ToolbarFormato", "ToolbarParag", "ToolbarTable",
                                          "mTable"}));
  // A button takes every object toolbar away and brings its menu.
  EXPECT_EQ(ApplyFeedback(shown, SelectionFeedback(SelectedObject::Button)), (std::set<std::string>{"mButton"}));
  EXPECT_TRUE(SelectionFeedback(SelectedObject::TableCell).textCommands);
  EXPECT_FALSE(SelectionFeedback(SelectedObject::Image).textCommands);
}

TEST(StatusPanels, TextsOfEachObject) {
  const std::pair<std::string, std::string> cases[] = {
      {CaretPanelText(12, 3), "12: 3"},
      {ImageSizePanelText(48, 32, false, 48, 32), "48x32"},
      {ImageSizePanelText(96, 64, false, 48, 32), "96x64 (48x32)"},
      {ImageSizePanelText(50, 50, true, 48, 32), "50x50 % (48x32)"},
      {ImageSizePanelText(100, 100, true, 48, 32), "100x100 %"},
      {FloatingSizePanelText(40, 100, true), "40x100 %"},
      {TextBoxPanelText("Cover", 0, false, "Pag0", true), "Text: \"Cover\" @0; \"Pag0\""},
      {TextBoxPanelText("", -1, true, "Frame00a1b2", false), "Text: \"\" (new page); Frame: \"Frame00a1b2\""},
      {PreviewTextBoxText("Cover"), "Text: \"Cover\" "},
      {FloatingPanelText(true, "", "Box"), "Indipendent frame. (non definita)"},
      {FloatingPanelText(false, "Map", "Box"), "Indipendent frame. Text: \"Map\" ; \"Box\" "},
      {FormControlPanelText(20, false), "Elemento di modulo. "},
      {FormControlPanelText(20, true), ""},
      {FormControlPanelText(23, false), "Inizio modulo. "},
      {ExportProgressText(2, 7, 20), "Exporting, phase 2: 35%"},
  };
  for (const auto& [got, wanted] : cases) EXPECT_EQ(got, wanted);
}

TEST(DroppedFiles, TheFirstFileDecides) {
  struct Case {
    std::vector<std::string> dropped;
    OpenKind kind;
    std::vector<std::string> files;
  };
  const Case cases[] = {
      {{"/a/Book.AEH", "/a/b.txt"}, OpenKind::Hypertext, {"/a/Book.AEH"}},
      // A hypertext after other files is not opened.
      {{"/a/x.gif", "/a/Book.aeh"}, OpenKind::Image, {"/a/x.gif"}},
      // Several pages to import go into one import, other files left out.
      {{"/a/one.htm", "/a/two.html", "/a/x.gif", "/a/three.rtf"}, OpenKind::Html,
       {"/a/one.htm", "/a/two.html", "/a/three.rtf"}},
      {{"/a/song.mp3", "/a/one.htm"}, OpenKind::Other, {"/a/song.mp3"}},
      {{}, OpenKind::Other, {}},
  };
  for (const Case& c : cases) {
    const DroppedFiles dropped = ClassifyDroppedFiles(c.dropped);
    EXPECT_EQ(dropped.kind, c.kind);
    EXPECT_EQ(dropped.files, c.files);
  }
}

}  // namespace
}  // namespace tarn::app
