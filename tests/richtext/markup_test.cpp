// Reading markup into paragraphs and writing it back: the canonical form,
// escapes, links, formats, objects and tables, and malformed input.
#include "richtext/markup.h"

#include <gtest/gtest.h>

#include <map>

#include "document/aehset.h"
#include "document/aehtesto.h"
#include "document/testfixtures.h"
#include "richtext/documenthost.h"
#include "richtext/localform.h"

namespace tarn::richtext {
namespace {

using testing::TestEnv;

class FakeObject : public EmbeddedObject {
 public:
  FakeObject(std::int32_t id, int rows = 0, int columns = 0) : m_id(id), m_rows(rows), m_columns(columns) {
    m_cells.resize(static_cast<std::size_t>(rows * columns));
  }
  std::int32_t Identifier() const override { return m_id; }
  int Width() const override { return 30; }
  int Height() const override { return 20; }
  bool IsTable() const override { return m_rows > 0; }
  int Rows() const override { return m_rows; }
  int Columns() const override { return m_columns; }
  RichText* Cell(int r, int c) override { return &m_cells[static_cast<std::size_t>(r * m_columns + c)]; }

 private:
  std::int32_t m_id;
  int m_rows;
  int m_columns;
  std::vector<RichText> m_cells;
};

class MarkupTest : public ::testing::Test {
 protected:
  MarkupTest() : set(env.Services()), host(set, &env.measurer, &env.messages) {
    auto heading = set.NewObject(document::stileParagrafo);
    heading->SetName("Heading");
    heading->SetI16(stylefield::kSize, 18);
    set.Register(std::move(heading));
    host.objectLookup = [this](std::int32_t id) -> EmbeddedObject* {
      auto it = objects.find(id);
      return it == objects.end() ? nullptr : it->second.get();
    };
    objects[1] = std::make_unique<FakeObject>(1);
    objects[2] = std::make_unique<FakeObject>(2, 2, 2);
  }

  RichText Read(std::string_view markup, ReadOptions options = {}) {
    RichText text;
    MarkupStream stream(markup);
    ReadText(text, stream, host, Origin::Text, options);
    return text;
  }
  std::string RoundTrip(std::string_view markup) {
    std::string out = WriteText(Read(markup));
    out.pop_back();  // the byte 0 that ends a text
    return out;
  }

  TestEnv env;
  document::TAEHset set;
  DocumentHost host;
  std::map<std::int32_t, std::unique_ptr<FakeObject>> objects;
};

struct RoundTripCase {
  const char* name;
  std::string in;
  std::string out;
};

TEST_F(MarkupTest, CanonicalForm) {
  const RoundTripCase cases[] = {
      {"empty paragraph", std::string("<Z S0 >\0", 8), "<Z S0 >"},
      {"object", "<Z S0 ><$FF000001>", "<Z S0 ><$FF000001>"},
      {"link in text",
       "<Z S2 >The quick <$00000000>brown<%> fox.", "<Z S2 >The quick <$00000000>brown<%> fox."},
      {"escapes", "<Z S0 >a&lt;b&amp;c&gt;", "<Z S0 >a&lt;b&amp;c&gt;"},
      {"numeric reference", "<Z S0 >&#65;x", "<Z S0 >Ax"},
      {"numeric reference not a number", "<Z S0 >&#6x5y", "<Z S0 >Ay"},
      {"three digits at most", "<Z S0 >&#1234;", "<Z S0 >{4;"},
      {"unknown name", "<Z S0 >&bogus;", "<Z S0 > bogus;"},
      {"latin-1 names", "<Z S0 >&eacute;&hibar;&nbsp", "<Z S0 >\xE9\xAF\xA0"},
      {"codes out of order", "<Z S0 t5 l10 >x", "<Z S0 t5 >x"},
      {"override equal to base", "<Z S0 cFF0000 s12 >x", "<Z S0 cFF0000 >x"},
      {"all paragraph codes",
       "<Z S0 c00FF00 F\"Arial\" s14 y5 p2 P3 A2 N6 M3 L30 I-20 l40 r5 t6 b7 CFFFF00 S16 Y1 >x",
       "<Z S0 c00FF00 F\"Arial\" s14 y5 p2 P3 A2 N6 M3 L30 I-20 l40 r5 t6 b7 CFFFF00 S16 Y1 >x"},
      {"second format tag amends the first", "<Z S0 ><Y s14 ><Y c00FF00 >x", "<Z S0 ><Y c00FF00 s14 >x"},
      {"format equal to base", "<Z S0 >a<Y s12 >b", "<Z S0 >a<Y >b"},
      {"old italic and bold codes", "<Z S0 ><Y i1 g1 >x<Y g1 y0 >y", "<Z S0 ><Y y3 >x<Y >y"},
      {"open link closed at paragraph end", "<Z S0 ><$00000001>ab<Z S0 >cd", "<Z S0 ><$00000001>ab<%><Z S0 >cd"},
      {"neutralised format tag", "<Z S0 >a\3\3\3\3\3<Y s9 >b", "<Z S0 >a<Y s9 >b"},
      {"line breaks dropped", "<Z S0 >a\r\nb\n", "<Z S0 >ab"},
      {"skipped block", "<Z S0 >a<D>hidden<$FF000001><d>b", "<Z S0 >ab"},
      {"unknown tag", "<Z S0 >a<Q whatever>b", "<Z S0 >ab"},
      {"other reference kinds ignored", "<Z S0 ><$01000004>a", "<Z S0 >a"},
      {"missing style index", "<Z Q><Z S0 >a", "<Z S0 >a"},
      {"style beyond the list", "<Z S9 >a", "<Z S0 >a"},
      {"unknown object is a blank", "<Z S0 >a<$FF000077>b", "<Z S0 >a b"},
      {"unclosed tag ends the text", "<Z S0 >ab<Y s14 ", "<Z S0 >ab"},
      {"byte 0 ends the text", std::string("<Z S0 >ab\0<Z S0 >cd", 19), "<Z S0 >ab"},
      {"table by store with cells",
       "<Z S0 >t<$FF000002><Z S1 >a<T><Z S1 >b<T><Z S1 >c<T><Z S1 >d<Z S1 >e<T>!",
       "<Z S0 >t<$FF000002><Z S1 >a<T><Z S1 >b<T><Z S1 >c<T><Z S1 >d<Z S1 >e<T>!"},
  };
  for (const auto& c : cases) EXPECT_EQ(RoundTrip(c.in), c.out) << c.name;
}

// The reader, the stored and working forms and the container's list of
// references read the same tags. One taken into a numeric character
// reference is a tag for none of them; one hidden in a reserved block is
// not shown, but the records it names stay named.
TEST_F(MarkupTest, ScannersAgreeOnWhatIsATag) {
  const std::string stored = "<Z S0 >a<D><$08000003><d>&#<$01000009>b<$01000005>link<%><$08000002>";
  EXPECT_EQ(document::ReferencedIds(stored),
            (std::vector<document::ObjectId>{0x08000003, 0x01000005, 0x08000002}));
  const WorkingForm form = ToWorkingForm(stored);
  EXPECT_EQ(form.links, std::vector<document::ObjectId>{0x01000005});
  EXPECT_EQ(form.objects, (std::vector<document::ObjectId>{0x08000003, 0x08000002}));
  EXPECT_EQ(form.markup, "<Z S0 >a<D><$ff000001><d>&#<$01000009>b<$6f000000>link<%><$ff000002>");
  EXPECT_EQ(ToStoredForm(form.markup, form), stored);
  objects[2] = std::make_unique<FakeObject>(2);
  const RichText text = Read(form.markup);
  ASSERT_EQ(text.paragraphs.size(), 1u);
  EXPECT_EQ(text.paragraphs[0]->text, "aA1000009>blink ");
}

TEST_F(MarkupTest, ParagraphContents) {
  RichText text = Read("<Z S2 >The quick <$00000000>brown<%> fox.<Z S0 ><$FF000001>");
  ASSERT_EQ(text.paragraphs.size(), 2u);
  const TAEHparag& p = *text.paragraphs[0];
  EXPECT_EQ(p.styleIndex, 2);
  EXPECT_EQ(p.text, "The quick brown fox.");
  ASSERT_EQ(p.infos.size(), p.text.size() + 1);
  for (int i = 0; i < p.Length(); ++i) {
    const bool inLink = i >= 10 && i < 15;
    EXPECT_EQ(p.infos[static_cast<std::size_t>(i)].link, inLink ? 0 : -1) << i;
  }
  // Style 2 is 18 points: 12 pixels a character with the fixed metrics.
  EXPECT_EQ(p.infos[0].width, 12);
  EXPECT_EQ(p.lines.front().charCount, 20);
  EXPECT_EQ(p.lines.front().height, 24);
  const TAEHparag& o = *text.paragraphs[1];
  EXPECT_EQ(o.text, " ");
  EXPECT_EQ(o.infos[0].object, 0);
  EXPECT_EQ(o.infos[0].width, 30);
  EXPECT_EQ(o.objects.at(0), objects[1].get());
}

TEST_F(MarkupTest, FormatsAreRelativeToTheBaseStyle) {
  // The paragraph overrides the colour; a later format tag giving only a
  // size brings back the style's colour.
  RichText text = Read("<Z S0 cFF0000 >a<Y s14 >b");
  const TAEHparag& p = *text.paragraphs[0];
  EXPECT_EQ(p.FontAt(0).colour, 0x0000FFu);
  EXPECT_EQ(p.FontAt(1).colour, 0u);
  EXPECT_EQ(p.FontAt(1).size, 14);
}

TEST_F(MarkupTest, LinksMeasureInTheLinkFont) {
  // Link size 24 points: 16 pixels a character instead of 8.
  RichText text = Read("<Z S0 S24 >a<$00000002>b<%>c");
  const TAEHparag& p = *text.paragraphs[0];
  EXPECT_EQ(p.infos[0].width, 8);
  EXPECT_EQ(p.infos[1].width, 16);
  EXPECT_EQ(p.infos[2].width, 8);
  TMyFont bold{"Arial", 1, 0, 12, 0};
  TAEHParaStyle style;
  style.SetLinkStyle(1 | 4);
  EXPECT_EQ(style.LinkFont(bold).style, 4);  // a bold link over bold text is not bold
}

TEST_F(MarkupTest, WriteModesAndRanges) {
  RichText text = Read("<Z S0 c00FF00 >ab<Y s14 >cd<$FF000002><Z S1 >1<T><Z S1 >2<T><Z S1 >3<T><Z S1 >4<T>e");
  const TAEHparag& p = *text.paragraphs[0];
  ASSERT_EQ(p.text, "abcd e");
  auto write = [&](WriteMode mode, int from, int to) {
    std::string out;
    WriteParagraph(p, out, mode, from, to);
    return out;
  };
  EXPECT_EQ(write(WriteMode::Relayout, 0, -1), "<Z S0 c00FF00 >ab<Y s14 >cd<$FF000002>e");
  EXPECT_EQ(write(WriteMode::Store, 0, 2), "<Z S0 c00FF00 >ab");
  // From the middle: a complete format tag first; from a format position,
  // just that format.
  EXPECT_EQ(write(WriteMode::Store, 1, 2), "<Z S0 c00FF00 ><Y c00FF00 F\"Times New Roman\" s12 y0 p0 >b");
  EXPECT_EQ(write(WriteMode::Relayout, 2, 4), "<Z S0 c00FF00 ><Y s14 >cd");
  EXPECT_EQ(write(WriteMode::Continuation, 0, 2),
            "<Y c00FF00 F\"Times New Roman\" s12 y0 p0 >ab");
  EXPECT_EQ(write(WriteMode::TableRange, 0, 2), "<Z S0 c00FF00 >ab<Y s14 >cd<$FF000002><@>e");
  EXPECT_EQ(write(WriteMode::TableRange, 4, 5),
            "<Z S0 c00FF00 >ab<Y s14 >cd<$FF000002><Z S1 >1<T><Z S1 >2<T><Z S1 >3<T><Z S1 >4<T>e");
  // Read by reference, a table keeps the cells it has.
  ReadOptions byReference;
  byReference.tablesByReference = true;
  RichText again = Read("<Z S0 ><$FF000002>x", byReference);
  EXPECT_EQ(objects[2]->Cell(1, 1)->paragraphs.at(0)->text, "4");
  EXPECT_EQ(again.paragraphs[0]->text, " x");
}

TEST_F(MarkupTest, TranslationMapsForPastedText) {
  IdMap typed{{(17 << 24) | 5, (17 << 24) | 2}, {0x6F000001, 0x6F000009}};
  IdMap objectsMap{{7, 1}};
  ReadOptions options;
  options.typedIdMap = &typed;
  options.objectIdMap = &objectsMap;
  RichText text = Read("<Z S5 ><$6F000001>a<$6F000002>b<%><$FF000007>", options);
  const TAEHparag& p = *text.paragraphs[0];
  EXPECT_EQ(p.styleIndex, 2);
  EXPECT_EQ(p.infos[0].link, 0x6F000009);
  EXPECT_EQ(p.infos[1].link, -1);  // not in the map: no link
  EXPECT_EQ(p.objects.at(0), objects[1].get());
}

// A size read from a file may be any number: the fixed measurer (which
// tarn-cli dump also uses) must not overflow on it.
TEST_F(MarkupTest, HugeFontSizesMeasureWithoutOverflow) {
  const RichText text = Read("<Z S0 s1000000000 >x<Y s-1000000000 >y");
  ASSERT_EQ(text.paragraphs.size(), 1u);
  const TAEHparag& p = *text.paragraphs[0];
  for (const CharInfo& info : {p.infos[0], p.infos[1]}) {
    EXPECT_GT(info.height, 0);
    EXPECT_GE(info.ascent, 0);
    EXPECT_LE(info.ascent, info.height);
    EXPECT_GE(info.width, 0);
  }
  EXPECT_GT(p.fontHeight, 0);
}

TEST_F(MarkupTest, TruncatedValuesAreReported) {
  struct Case {
    const char* in;
    const char* kind;
    const char* out;
  } cases[] = {
      {"<Z S0 s1234567890123>x", "error", "<Z S0 >x"},
      {"<Z S0 F\"Arial>x", "information", "<Z S0 >x"},
      {"<Z S0 ><Y c00FF00>x", "error", "<Z S0 ><Y >x"},
  };
  for (const auto& c : cases) {
    env.messages.Clear();
    EXPECT_EQ(RoundTrip(c.in), c.out) << c.in;
    ASSERT_FALSE(env.messages.entries.empty()) << c.in;
    EXPECT_EQ(env.messages.entries[0].kind, c.kind) << c.in;
    EXPECT_EQ(env.messages.entries[0].text, "Truncated line!");
  }
}

TEST_F(MarkupTest, TablesNestedInThemselvesDoNotRecurse) {
  std::string nested = "<Z S0 >";
  for (int i = 0; i < 200; ++i) nested += "<$FF000002><Z S1 >";
  nested += "x";
  RichText text = Read(nested);
  EXPECT_FALSE(text.paragraphs.empty());
}

}  // namespace
}  // namespace tarn::richtext
