// A text box's selection through the converters: copied as RTF (formats and
// links as a word processor keeps them) and as plain text (tables by tabs
// and lines), and RTF and plain text from other programs pasted at the
// caret, with what happens when the box cannot take the result.
#include "convert/clipboardformats.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "convert/rtffixture.h"
#include "page/aehpage.h"
#include "page/workingcopy.h"
#include "platform/testing/fixedcanvas.h"
#include "richtext/aehtextattributes.h"
#include "richtext/boxtext.h"
#include "richtext/documenthost.h"

namespace tarn::convert {
namespace {

using namespace document;
using testing::ConvertFixture;
using testing::Tag;

// A page's text in a box as the page view shows it: read from the page's
// working copy, its links and objects numbered locally.
class BoxClipboard : public ConvertFixture, public ::testing::Test {
 protected:
  BoxClipboard() : host(*set, &canvas, &env.messages), box(host, canvas, &env.messages), commands(box) {
    target = Page("Target", "<Z S0 >x");
    host.objectLookup = [this](std::int32_t id) { return objects ? objects->Find(id) : nullptr; };
    box.Layout().layoutWidth = 400;
    box.Layout().widestExtent = 400;
  }
  void Load(const std::string& markup) {
    TAEHoggetto* page = Page("Page", markup);
    copy = page::MakeWorkingCopy(*set, *page, false);
    objects = std::make_unique<page::SectionObjects>(*copy);
    commands.SetClipboardFormats(&formats, page::ClipboardContextOf(*set, *copy));
    ASSERT_TRUE(box.LoadText(copy->Markup(), {}, {}));
  }
  std::string Saved() {
    std::string s = box.SaveText();
    s.pop_back();
    return s;
  }

  platform::testing::FixedCanvas canvas;
  richtext::DocumentHost host;
  richtext::BoxText box;
  richtext::TAEHTextAttributes commands;
  ConverterClipboardFormats formats;
  std::unique_ptr<page::WorkingCopy> copy;
  std::unique_ptr<page::SectionObjects> objects;
  TAEHoggetto* target = nullptr;
};

TEST_F(BoxClipboard, CopiedSelectionAsRtfAndText) {
  const TAEHoggetto* web = set->Register(set->NewLink("http://example.org/"));
  Load("<Z S0 >plain <Y y1 >bold<Y > " + Tag(target->GetId()) + "to the page<%> and " + Tag(web->GetId()) +
       "the web<%><Z S0 >second line");
  box.SelectRange({0, 0}, {1, 6});
  const std::string rtf = commands.SelectedRtf();
  ASSERT_TRUE(rtf.starts_with("{\\rtf1\\ansi")) << rtf;
  EXPECT_EQ(rtf.back(), '}') << "no byte 0 for other programs";
  EXPECT_EQ(rtf.find("\\info"), std::string::npos);
  EXPECT_NE(rtf.find("\\b\\ul0\\strike0 bold"), std::string::npos) << rtf;
  EXPECT_NE(rtf.find("HYPERLINK \"http://example.org/\""), std::string::npos) << rtf;
  EXPECT_NE(rtf.find("the web"), std::string::npos);
  EXPECT_NE(rtf.find("to the page"), std::string::npos);
  EXPECT_NE(rtf.find("second"), std::string::npos);
  EXPECT_EQ(rtf.find("second line"), std::string::npos) << "only the selection";
  EXPECT_EQ(commands.SelectedPlainText(), "plain bold to the page and the web\r\nsecond");
}

TEST_F(BoxClipboard, TablesTravelAsTabsAndLines) {
  auto table = set->NewObject(tabellaHtml);
  table->SetU8(93, 2);
  table->SetU8(94, 2);
  const ObjectId id = set->Register(std::move(table))->GetId();
  Load("<Z S0 >Before<Z S0 >" + Tag(id) + "<Z S1 >a<T><Z S1 >b<T><Z S1 >c<T><Z S1 >d<T><Z S0 >After");
  box.SelectRange({0, 0}, {box.ParagraphCount() - 1, 5});
  EXPECT_EQ(commands.SelectedPlainText(), "Before\r\na\tb\r\nc\td\r\nAfter");
  const std::string rtf = commands.SelectedRtf();
  EXPECT_NE(rtf.find("\\trowd"), std::string::npos) << rtf;
}

TEST_F(BoxClipboard, PastedRtfAndText) {
  Load("<Z S0 >XY");
  box.SetCaret(richtext::CharPos{0, 1});
  ASSERT_TRUE(commands.InsertRtf("{\\rtf1\\ansi{\\fonttbl{\\f0 Times New Roman;}}\\pard plain {\\b bold} "
                                 "{\\i it}\\par next\\par}"));
  EXPECT_NE(Saved().find("<Y y1 >bold<Y >"), std::string::npos) << Saved();
  EXPECT_NE(Saved().find("it"), std::string::npos);
  EXPECT_NE(Saved().find(">nextY"), std::string::npos) << Saved();

  // Links, pictures and tables need records, which the box cannot take
  // yet: the text comes with its formats, links as plain text, the picture
  // as the blank that stands for it, the table's cells as paragraphs.
  Load("<Z S0 >XY");
  box.SetCaret(richtext::CharPos{0, 1});
  EXPECT_TRUE(commands.InsertRtf("{\\rtf1\\ansi {\\field{\\*\\fldinst HYPERLINK \"http://a.b/\"}"
                                 "{\\fldrslt {\\b link}}} and {\\pict\\wmetafile8\\picw100\\pich100 0100}"
                                 "\\par\\trowd\\cellx1000\\cellx2000\\intbl a\\cell b\\cell\\row\\pard after\\par}"));
  const int normal = set->StyleIndex("Normal");
  const std::string p = "<Z S" + std::to_string(normal) + " >";
  EXPECT_EQ(Saved(), "<Z S0 >X<Y y1 >link<Y > and  " + p + p + "a" + p + "b" + p + "afterY");
  // What is not RTF is left to the plain text beside it.
  Load("<Z S0 >XY");
  box.SetCaret(richtext::CharPos{0, 1});
  EXPECT_FALSE(commands.InsertRtf("not rtf at all"));
  EXPECT_EQ(Saved(), "<Z S0 >XY");

  // Plain text takes the caret's paragraph style; a tab is eight blanks.
  Load("<Z S0 >ab");
  box.SetCaret(richtext::CharPos{0, 1});
  commands.InsertText("x\r\ny<z\n\tw");
  EXPECT_EQ(Saved(), "<Z S0 >ax<Z S0 >y&lt;z<Z S0 >        wb");
}

TEST_F(BoxClipboard, CodeTextKeepsItsMarkersAsText) {
  // In code mode the markers would become objects, which this box cannot
  // place yet: the lines come in as they are, in the "Code" style made for
  // them.
  Load("<Z S0 >");
  commands.InsertText("see !RefI:0500000a now", true);
  EXPECT_EQ(box.Paragraph(0).text, "see !RefI:0500000a now");
  box.LoadText(std::string("<Z S0 >") + '\0', {}, {});
  commands.InsertText("plain code", true);
  const int code = set->StyleIndex("Code");
  ASSERT_GT(code, 1);
  EXPECT_EQ(Saved(), "<Z S" + std::to_string(code) + " >plain code");
}

}  // namespace
}  // namespace tarn::convert
