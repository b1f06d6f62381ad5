// Undo of every formatting command on a page shown in a frame set: undo
// gives back exactly the markup before the command, redo what it made.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "richtext/aehparaattributes.h"
#include "undo/undoworld.h"

namespace tarn::undo {
namespace {

using richtext::CharPos;
using tarn::testing::UndoWorld;

struct FormatCase {
  const char* name;
  std::function<void(UndoWorld&)> command;
  const char* caption;
};

void PrintTo(const FormatCase& c, std::ostream* out) { *out << c.name; }

// Every case works on this page, from the middle of its first paragraph to
// the middle of its third.
constexpr const char* kPage = "<Z S0 c0000FF >one two<Y y1 >bold<Z S0 A2 >middle<Z S0 >three four<Z S0 >after";

void SelectAcross(UndoWorld& w) { w.Text().SelectRange({0, 4}, {2, 3}); }

const FormatCase kCases[] = {
    {"Colour", [](UndoWorld& w) { w.Commands().SetColor(0x00FF00); }, "Apply color Lime"},
    {"Face", [](UndoWorld& w) { w.Commands().SetFace("Arial"); }, "Apply font Arial"},
    {"Size", [](UndoWorld& w) { w.Commands().SetSize(20); }, "Apply font size 20"},
    {"StyleBits", [](UndoWorld& w) { w.Commands().SetStyleBits(2); }, "Apply font style: Italico "},
    {"ChangeStyleBits", [](UndoWorld& w) { w.Commands().ChangeStyleBits(4, 1); }, "Apply font style: "},
    {"Position", [](UndoWorld& w) { w.Commands().SetPosition(2); }, "Apply font Superscript"},
    {"Link", [](UndoWorld& w) { w.Commands().SetLink(0x6F000000); }, "Insert link "},
    {"Alignment", [](UndoWorld& w) { w.Box().ParaCommands().SetAlignment(1); }, "Align to right"},
    {"List", [](UndoWorld& w) { w.Box().ParaCommands().SetListKind(10); }, "Numbering 10"},
    {"LeftMargin", [](UndoWorld& w) { w.Box().ParaCommands().SetLeftMargin(12); }, "Left margin 12"},
    {"LineHeight", [](UndoWorld& w) { w.Box().ParaCommands().SetLineHeight(8); }, "Line height 8"},
    {"LinkSize", [](UndoWorld& w) { w.Box().ParaCommands().SetLinkSize(16); }, "Link size 16"},
    {"Style", [](UndoWorld& w) { w.Box().ParaCommands().ApplyStyle("[no style intab]"); },
     "Style [no style intab]"},
};

class FormattingUndo : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormattingUndo, UndoRestoresTheMarkupExactly) {
  const FormatCase& c = GetParam();
  UndoWorld w;
  const int page = w.AddPage(kPage);
  w.Show(page);
  const std::string before = w.Shown();
  SelectAcross(w);
  c.command(w);
  const std::string after = w.Shown();
  ASSERT_NE(after, before);
  EXPECT_EQ(w.List().Captions(kUndo), std::vector<std::string>{c.caption});
  for (int round = 0; round < 2; ++round) {
    w.List().Undo();
    EXPECT_EQ(w.Shown(), before) << "undo, round " << round;
    w.List().Redo();
    EXPECT_EQ(w.Shown(), after) << "redo, round " << round;
  }
  w.List().Undo();
  w.CommitAndReload();
  EXPECT_EQ(w.Stored(page), kPage);
}

INSTANTIATE_TEST_SUITE_P(Commands, FormattingUndo, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<FormatCase>& param) { return param.param.name; });

}  // namespace
}  // namespace tarn::undo
