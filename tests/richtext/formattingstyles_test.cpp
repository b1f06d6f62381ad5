// Renaming and deleting styles: a style still named by a page is never
// freed, and a paragraph that names a freed style (an old undo step, a
// pasted text) reads in the default style.
#include <gtest/gtest.h>

#include <string>

#include "document/aehset.h"
#include "document/aehtesto.h"
#include "document/objectkinds.h"
#include "document/recordfields.h"
#include "document/testfixtures.h"
#include "platform/testing/fixedcanvas.h"
#include "richtext/aehparaattributes.h"
#include "richtext/boxtext.h"
#include "richtext/documenthost.h"
#include "richtext/formattingstyles.h"

namespace tarn::richtext {
namespace {

namespace stylefield = document::field::style;

class StyleListTest : public ::testing::Test {
 protected:
  StyleListTest() : set(env.Services()), host(set, &canvas, &env.messages), box(host, canvas, &env.messages) {
    heading = AddStyle("Heading", 18);
    quote = AddStyle("Quote", 9);
  }
  int AddStyle(const std::string& name, std::int16_t size) {
    auto style = set.NewObject(document::stileParagrafo);
    style->SetName(name);
    style->SetI16(stylefield::kSize, size);
    set.Register(std::move(style));
    return set.StyleIndex(name);
  }
  void Page(const std::string& markup) {
    auto page = set.NewObject(document::testoHtml);
    page->SetName("Page");
    page->SetContent(markup + std::string(1, '\0'));
    set.Register(std::move(page));
  }
  std::string S(int index) const { return "S" + std::to_string(index); }

  testing::TestEnv env;
  document::TAEHset set;
  platform::testing::FixedCanvas canvas;
  DocumentHost host;
  BoxText box;
  int heading = -1;
  int quote = -1;
};

TEST_F(StyleListTest, PagesNamingAStyleAreCountedOnTheirParagraphTags) {
  // A paragraph tag's second "S" is the link size, and text is no tag.
  Page("<Z S0 C0000FF S" + std::to_string(heading) + " >S" + std::to_string(heading) + " &lt;Z " + S(heading));
  EXPECT_EQ(PagesUsingStyle(set, heading), 0);
  Page("<Z S0 >a<Z " + S(heading) + " >b");
  Page("<Z " + S(heading) + " A2 >c");
  EXPECT_EQ(PagesUsingStyle(set, heading), 2);
  EXPECT_EQ(PagesUsingStyle(set, quote), 0);
}

TEST_F(StyleListTest, DeletingAndRenaming) {
  Page("<Z " + S(heading) + " >used");
  struct Case {
    const char* name;
    int index;
    StyleChange expected;
    int pages;
  };
  const Case deletions[] = {
      {"a default style", 0, StyleChange::kDefault, 0},
      {"the cell default", 1, StyleChange::kDefault, 0},
      {"a style a page names", heading, StyleChange::kInUse, 1},
      {"past the list", 99, StyleChange::kMissing, 0},
      {"an unused style", quote, StyleChange::kDone, 0},
      {"a deleted style", quote, StyleChange::kMissing, 0},
  };
  for (const Case& c : deletions) {
    SCOPED_TRACE(c.name);
    int pages = -1;
    EXPECT_EQ(DeleteStyle(set, c.index, pages), c.expected);
    EXPECT_EQ(pages, c.pages);
  }
  EXPECT_TRUE(set.StyleExists("Heading"));
  EXPECT_FALSE(set.StyleExists("Quote"));
  EXPECT_TRUE(set.GetObject(document::stileParagrafo, quote)->IsFree());
  EXPECT_EQ(StyleChangeMessage(StyleChange::kInUse, "Heading", 1),
            "The style \"Heading\" is used by 1 page. Give those paragraphs another style first.");

  EXPECT_EQ(RenameStyle(set, heading, "  Title  "), StyleChange::kDone);
  EXPECT_EQ(set.StyleIndex("title"), heading);
  EXPECT_EQ(RenameStyle(set, heading, "Title"), StyleChange::kDone);
  EXPECT_EQ(RenameStyle(set, heading, "[NO STYLE]"), StyleChange::kNameTaken);
  EXPECT_EQ(RenameStyle(set, heading, "   "), StyleChange::kEmptyName);
  EXPECT_EQ(RenameStyle(set, 0, "Body"), StyleChange::kDefault);
  EXPECT_EQ(RenameStyle(set, quote, "Quote"), StyleChange::kMissing);
  // Only 32 bytes of a name are kept; the check is on those.
  EXPECT_EQ(RenameStyle(set, heading, std::string(40, 'x')), StyleChange::kDone);
  EXPECT_EQ(set.GetObject(document::stileParagrafo, heading)->GetCaption(), std::string(32, 'x'));
}

TEST_F(StyleListTest, AFreedStyleReadsAsTheDefaultAndLaterStylesStayReachable) {
  int pages = 0;
  ASSERT_EQ(DeleteStyle(set, heading, pages), StyleChange::kDone);
  box.Layout().layoutWidth = 400;
  box.Layout().widestExtent = 400;
  ASSERT_TRUE(box.LoadText("<Z " + S(heading) + " >old" + std::string(1, '\0')));
  EXPECT_EQ(box.Paragraph(0).styleIndex, 0);
  EXPECT_EQ(box.Paragraph(0).style.Size(), 12);
  std::string saved = box.SaveText();
  saved.pop_back();
  EXPECT_EQ(saved, "<Z S0 >old");
  // The style after the free slot is still found by name.
  TAEHParaAttributes paras(box);
  paras.ApplyStyle("Quote");
  EXPECT_EQ(box.Paragraph(0).styleIndex, quote);
  EXPECT_EQ(box.Paragraph(0).style.Size(), 9);
}

}  // namespace
}  // namespace tarn::richtext
