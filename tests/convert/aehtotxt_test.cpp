// The plain-text converter: markup into text (tables, markers, entities),
// pages into one file, text files into pages with their lines, cuts and
// encodings, and plain text into the container a text box inserts.
#include "convert/aehtotxt.h"

#include <gtest/gtest.h>

#include "base/bytes.h"
#include "convert/rtffixture.h"
#include "document/recordfields.h"
#include "richtext/styles.h"

namespace tarn::convert {
namespace {

using namespace document;
using testing::ConvertFixture;
using testing::Tag;

class PlainText : public ConvertFixture, public ::testing::Test {
 protected:
  void SetUp() override {
    txt.SetLinkedAEHset(set.get());
    txt.ExportFileName = env.Path("out.txt");
  }
  TAEHoggetto* Table(int rows, int columns) {
    auto table = set->NewObject(tabellaHtml);
    table->SetU8(93, static_cast<std::uint8_t>(rows));
    table->SetU8(94, static_cast<std::uint8_t>(columns));
    return set->Register(std::move(table));
  }
  // The container's objects and its markup.
  struct Container {
    std::vector<std::unique_ptr<TAEHoggetto>> objects;
    std::int32_t paragraphs = 0;
    std::string markup;
  };
  Container Read(const std::string& bytes) {
    Container c;
    base::ByteReader in(bytes);
    std::int32_t v = 0;
    EXPECT_TRUE(in.ReadI32(v) && v == 1);
    EXPECT_TRUE(in.ReadI32(v) && v == 0);
    EXPECT_TRUE(in.ReadI32(v) && v == 0);
    std::int32_t count = 0;
    EXPECT_TRUE(in.ReadI32(count));
    for (std::int32_t i = 0; i < count; ++i) {
      std::int32_t kind = 0;
      std::int32_t position = 0;
      EXPECT_TRUE(in.ReadI32(kind) && in.ReadI32(position));
      EXPECT_EQ(position, i);
      auto object = set->NewObject(kind);
      EXPECT_TRUE(object->LoadFromStream(in));
      c.objects.push_back(std::move(object));
    }
    EXPECT_TRUE(in.ReadI32(c.paragraphs));
    EXPECT_TRUE(in.ReadBytes(in.Remaining(), c.markup));
    return c;
  }
  int Import(const std::string& bytes) {
    tarn::testing::WriteFile(env.Path("in.txt"), bytes);
    return txt.ImportFiles({env.Path("in.txt")}, false);
  }
  TAEHtoTxt txt;
};

TEST_F(PlainText, MarkupIntoText) {
  TAEHoggetto* wide = Table(1, 2);
  TAEHoggetto* square = Table(2, 2);
  TAEHoggetto* marker = Object(shortObj, 21);
  marker->SetI32(field::kShortValue, 0x0500000A);
  TAEHoggetto* parameter = Object(shortObj, 27);
  parameter->SetContent(std::string("title") + '\0');
  const std::string link = Tag(set->Register(set->NewLink("http://x.org/"))->GetId());
  struct Case {
    std::string markup;
    std::string text;
  };
  const Case cases[] = {
      {"<Z S0 >Hello<Z S0 >" + Tag(wide->GetId()) + "<Z S1 >a<T><Z S1 >b<T><Z S0 >After", "Hello\r\na\tb\r\nAfter"},
      {"<Z S0 >" + Tag(square->GetId()) + "<Z S1 >a<T><Z S1 >b<T><Z S1 >c<T><Z S1 >x<Z S1 >y<T>", "a\tb\r\nc\txy\r\n"},
      {"<Z S0 >&lt;b&gt; &amp;", "<b> &"},
      {"skipped<Z S0 >one<Y y1 >two" + link + "three<%><D>not this<d><Z S0 >four", "onetwothree\r\nfour"},
      {"<Z S0 >see " + Tag(marker->GetId()) + " now " + Tag(parameter->GetId()), "see !RefI:0500000a now !ReCP:title!"},
      {"no tag at all", ""},
      {"<Z S0 >cut <Y s1", "cut "},
      {"<Z S0 >a\x03\x03<Y y1 >b", "ab"},
  };
  for (const Case& c : cases) EXPECT_EQ(txt.PlainText(c.markup), c.text) << c.markup;
  std::string out;
  txt.ConvertText("<Z S0 >x", out);
  EXPECT_EQ(out, std::string("x") + '\0');
}

TEST_F(PlainText, PagesIntoOneFile) {
  const int a = Page("A", "<Z S0 >A")->Index();
  const int b = Page("B", "<Z S0 >B")->Index();
  ASSERT_TRUE(txt.ExportPageList({a, 999, b}));
  EXPECT_EQ(tarn::testing::ReadFile(env.Path("out.txt")), "AB");
  RecordList files;
  ASSERT_TRUE(txt.ExportSinglePage(b, files, files));
  EXPECT_EQ(tarn::testing::ReadFile(env.Path("out.txt")), "B");
  txt.ExportFileName = env.Path("missing") / "out.txt";
  EXPECT_FALSE(txt.ExportPageList({a}));
}

TEST_F(PlainText, TextFilesIntoPages) {
  struct Case {
    const char* what;
    std::string bytes;
    int paragraphsPerPage;
    std::vector<std::string> pages;
    std::size_t replaced;
  };
  const std::string e = "\xC3\xA9";  // "é" in UTF-8
  const Case cases[] = {
      {"empty file", "", 0, {"<Z S0 >"}, 0},
      {"escapes and a tab", "a<b & c\tend", 0, {"<Z S0 >a&lt;b &amp; c        end"}, 0},
      {"line ends", "one\r\ntwo\rthree\nfour\n", 0, {"<Z S0 >one<Z S0 >two<Z S0 >three<Z S0 >four"}, 0},
      {"empty lines", "a\n\nb", 0, {"<Z S0 >a<Z S0 ><Z S0 >b"}, 0},
      {"cp1252 as it is", "caf\xE9 \x80", 0, {"<Z S0 >caf\xE9 \x80"}, 0},
      {"UTF-8", "caf" + e + " \xE2\x82\xAC \xD0\xB6", 0, {"<Z S0 >caf\xE9 \x80 ?"}, 1},
      {"UTF-8 with its mark", "\xEF\xBB\xBFok", 0, {"<Z S0 >ok"}, 0},
      {"UTF-16", std::string("\xFF\xFEh\0i\0\n\0\x36\x04", 10), 0, {"<Z S0 >hi<Z S0 >?"}, 1},
      {"NUL bytes", std::string("a\0b", 3), 0, {"<Z S0 >ab"}, 0},
      {"cut", "1\n2\n3\n4\n5", 2,
       {"<Z S0 >1<Z S0 >2<Z S0 ><Z S0 ><$00000001>continue...<%><Z S0 >",
        "<Z S0 ><$00000000>...continue<%><Z S0 ><Z S0 >3<Z S0 >4<Z S0 ><Z S0 ><$00000002>continue...<%><Z S0 >",
        "<Z S0 ><$00000001>...continue<%><Z S0 ><Z S0 >5"},
       0},
  };
  for (const Case& c : cases) {
    set = std::make_unique<TAEHset>(env.Services());
    txt.SetLinkedAEHset(set.get());
    txt.ParagraphsPerPage = c.paragraphsPerPage;
    EXPECT_EQ(Import(c.bytes), 0) << c.what;
    EXPECT_EQ(Pages(), c.pages) << c.what;
    EXPECT_EQ(txt.ReplacedCharacters(), c.replaced) << c.what;
    EXPECT_EQ(Title(0), "Untitled") << c.what;
  }
  // A file that cannot be read makes no page; the result is then 0.
  set = std::make_unique<TAEHset>(env.Services());
  txt.SetLinkedAEHset(set.get());
  Page("Kept", "<Z S0 >kept");
  EXPECT_EQ(txt.ImportFiles({env.Path("missing.txt")}, false), 0);
  EXPECT_EQ(Pages(), std::vector<std::string>{"<Z S0 >kept"});
}

TEST_F(PlainText, PastedText) {
  std::string bytes;
  txt.ConvertPaste("x\r\ny\r\n", bytes, 0, 3);
  Container c = Read(bytes);
  EXPECT_TRUE(c.objects.empty());
  EXPECT_EQ(c.paragraphs, 2);
  EXPECT_EQ(c.markup, std::string("<Z S3 >x<Z S3 >y\0\0", 18));

  bytes.clear();
  txt.ConvertPaste(std::string("a\0b", 3), bytes, 0, 0);
  EXPECT_EQ(Read(bytes).markup, std::string("<Z S0 >a\0\0", 10)) << "the text ends at a byte 0";
}

TEST_F(PlainText, CodeModeTurnsMarkersIntoObjects) {
  std::string bytes;
  txt.ConvertPaste("see !RefI:0500000a now", bytes, 1, 0);
  const int code = set->StyleIndex("Code");
  ASSERT_GE(code, 2);
  EXPECT_EQ(set->GetObject(stileParagrafo, code)->Str(richtext::stylefield::kFace, 32), "Courier New");
  Container c = Read(bytes);
  ASSERT_EQ(c.objects.size(), 1u);
  EXPECT_EQ(c.objects[0]->Subtype(), 21);
  EXPECT_EQ(c.objects[0]->I32(field::kShortValue), 0x0500000A);
  EXPECT_EQ(c.markup, "<Z S" + std::to_string(code) + " >see <$FF000000> now" + std::string(2, '\0'));
  // Back to text through the box's index of objects.
  const TAEHoggetto* marker = c.objects[0].get();
  txt.PlacedObject = [marker](std::int32_t n) { return n == 0 ? marker : nullptr; };
  EXPECT_EQ(txt.PlainText(c.markup), "see !RefI:0500000a now");

  bytes.clear();
  txt.ConvertPaste("!ReCP:title! and !x !RefL:12", bytes, 1, 0);
  c = Read(bytes);
  ASSERT_EQ(c.objects.size(), 2u);
  EXPECT_EQ(c.objects[0]->Subtype(), 27);
  EXPECT_EQ(c.objects[0]->ReadContent().value_or(""), std::string("title") + '\0');
  EXPECT_EQ(c.objects[1]->I32(field::kShortValue), 0x12000000) << "missing digits count as 0";
  EXPECT_EQ(c.markup, "<Z S" + std::to_string(code) + " ><$FF000000> and !x <$FF000001>" + std::string(2, '\0'));
  EXPECT_EQ(set->StyleIndex("Code"), code) << "the style is made once";
}

}  // namespace
}  // namespace tarn::convert
