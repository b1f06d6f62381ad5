// Undo of every formatting command on a page shown in a frame set: undo
// gives back exactly the markup before the command, redo what it made.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "convert/clipboardformats.h"
#include "document/recordfields.h"
#include "page/workingcopy.h"
#include "richtext/aehparaattributes.h"
#include "richtext/formattingstyles.h"
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

// A step made while a style existed must not bring its paragraphs back in
// the style that takes the freed slot later.
TEST(FormattingUndoStyles, AStepNamingADeletedStyleDoesNotComeBackInItsSuccessor) {
  UndoWorld w;
  const int page = w.AddPage("<Z S0 >plain text");
  const int quote = richtext::AddNewStyle(w.set);
  ASSERT_EQ(richtext::RenameStyle(w.set, quote, "Quote"), richtext::StyleChange::kDone);
  w.Show(page);
  w.Box().ParaCommands().ApplyStyle("Quote");
  w.Box().ParaCommands().ApplyStyle("[no style]");
  ASSERT_EQ(w.List().Captions(kUndo).size(), 2u);
  // The stored page never named "Quote": it may go.
  int pages = -1;
  ASSERT_EQ(richtext::DeleteStyle(w.set, quote, pages), richtext::StyleChange::kDone);
  EXPECT_TRUE(w.List().Captions(kUndo).empty());
  EXPECT_EQ(richtext::AddNewStyle(w.set), quote);  // the slot is taken again
  w.List().Undo();
  EXPECT_EQ(w.Text().Paragraph(w.Text().FirstOwn()).styleIndex, 0);
  EXPECT_EQ(w.Shown(), "<Z S0 >plain text");
}

}  // namespace
}  // namespace tarn::undo

namespace tarn::undo {
namespace {

std::string Hex(std::int32_t id) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%08x", static_cast<unsigned>(id));
  return buf;
}

// The first address link (kind 1) that stored markup names; -1 when none.
std::int32_t FirstLink(const std::string& stored) {
  const std::size_t tag = stored.find("<$01");
  if (tag == std::string::npos) return -1;
  return static_cast<std::int32_t>(std::stoul(stored.substr(tag + 2, 8), nullptr, 16));
}

std::string LinkUrl(const document::TAEHset& set, std::int32_t id) {
  const document::TAEHoggetto* record = set.GetObjectById(id);
  return record != nullptr ? record->Str(document::field::kLinkUrl, document::field::kLinkUrlCapacity) : "(none)";
}

int AddStyle(document::TAEHset& set, const char* name, int size) {
  auto style = set.NewObject(document::stileParagrafo);
  style->SetName(name);
  style->SetI16(document::field::style::kSize, static_cast<std::int16_t>(size));
  return set.Register(std::move(style))->Index();
}

// Copy in one hypertext, paste in another: the link records and styles of
// the selection travel with it and become the target's own.
TEST(ContainerRecords, LinksAndStylesTravelToAnotherHypertext) {
  UndoWorld source;
  const int heading = AddStyle(source.set, "Heading", 18);
  const int quote = AddStyle(source.set, "Quote", 9);
  const std::int32_t link = source.set.Register(source.set.NewLink("http://example.org/"))->GetId();
  const int page = source.AddPage("<Z S" + std::to_string(heading) + " >Title<Z S" + std::to_string(quote) +
                                  " >see <$" + Hex(link) + ">here<%> now");
  source.Show(page);
  source.Text().SelectAll();
  const std::string container = source.Commands().WriteContainer(false);

  UndoWorld target;
  // The same definition under the same name is reused; a different style
  // of the same name makes the pasted one come in under a new name.
  const int targetHeading = AddStyle(target.set, "Heading", 18);
  AddStyle(target.set, "Quote", 30);
  const int targetPage = target.AddPage("<Z S0 >");
  target.Show(targetPage);
  ASSERT_TRUE(target.Commands().InsertContainer(container, richtext::kCaptionClipboard));
  target.CommitAndReload();

  const int newQuote = target.set.StyleIndex("Quote 1");
  ASSERT_GT(newQuote, 0);
  EXPECT_EQ(target.set.GetObject(document::stileParagrafo, newQuote)->I16(document::field::style::kSize), 9);
  const std::string stored = target.Stored(targetPage);
  const std::int32_t id = FirstLink(stored);
  EXPECT_EQ(LinkUrl(target.set, id), "http://example.org/");
  EXPECT_EQ(stored, "<Z S" + std::to_string(targetHeading) + " >Title<Z S" + std::to_string(newQuote) + " >see <$" +
                        Hex(id) + ">here<%> now");
}

// A container cut short anywhere is refused without reading past its end.
TEST(ContainerRecords, TruncatedContainersAreRefused) {
  UndoWorld source;
  const std::int32_t link = source.set.Register(source.set.NewLink("http://example.org/"))->GetId();
  source.Show(source.AddPage("<Z S0 >a <$" + Hex(link) + ">b<%>"));
  source.Text().SelectAll();
  const std::string container = source.Commands().WriteContainer(false);
  UndoWorld target;
  target.Show(target.AddPage("<Z S0 >x"));
  const std::string before = target.Shown();
  // Every cut inside the records (the markup after them may end anywhere).
  const std::size_t records = container.find("<Z");
  ASSERT_NE(records, std::string::npos);
  for (std::size_t cut = 0; cut < records; ++cut) {
    EXPECT_FALSE(target.Commands().InsertContainer(container.substr(0, cut), richtext::kCaptionClipboard)) << cut;
  }
  EXPECT_EQ(target.Shown(), before);
}

// RTF from another program: a hyperlink field becomes a link of the page,
// and undo takes the whole paste back.
TEST(ContainerRecords, PastedRtfBringsItsLinks) {
  UndoWorld w;
  const int page = w.AddPage("<Z S0 >XY");
  w.Show(page);
  convert::ConverterClipboardFormats formats;
  w.Commands().SetClipboardFormats(&formats, page::ClipboardContextOf(w.set, *w.View().Working()));
  w.Text().SetCaret(CharPos{0, 1});
  ASSERT_TRUE(w.Commands().InsertRtf(
      "{\\rtf1\\ansi {\\field{\\*\\fldinst HYPERLINK \"http://a.b/\"}{\\fldrslt {\\b link}}} text}"));
  EXPECT_EQ(w.List().Captions(kUndo), std::vector<std::string>{"Clipboard insertion"});
  w.CommitAndReload();
  EXPECT_EQ(LinkUrl(w.set, FirstLink(w.Stored(page))), "http://a.b/");
}

}  // namespace
}  // namespace tarn::undo
