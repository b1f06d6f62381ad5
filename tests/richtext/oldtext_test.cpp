// Conversion of older page texts: the tag walk against a fake hypertext, then
// whole pages converted inside a real container (image copies, form fields
// becoming short objects, version 1 files).
#include "richtext/oldtext.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "document/aehset.h"
#include "document/aehtesto.h"
#include "document/objectkinds.h"
#include "document/recordfields.h"
#include "document/testfixtures.h"

namespace tarn::richtext {
namespace {

using document::MakeObjectId;
using document::ObjectId;
using testing::AehBuilder;
using testing::TestEnv;

// Text colour 0x112233 and link colour 0xAABBCC as the markup writes them
// (red first); in memory the lowest byte is red.
constexpr std::uint32_t kTextColour = 0x00332211;
constexpr std::uint32_t kLinkColour = 0x00CCBBAA;
const std::string kStart = "<Z S0 CAABBCC >";

std::string Font(int style = 0, int size = 12, const std::string& face = "Times New Roman",
                 const std::string& colour = "112233") {
  return "<Y c" + colour + " F\"" + face + "\" s" + std::to_string(size) + " y" + std::to_string(style) +
         " p0 >";
}

std::string Para(int style, int alignment = 0, int indent = 0, const std::string& font = Font()) {
  std::string tag = "<Z S" + std::to_string(style) + " A" + std::to_string(alignment) + " ";
  if (indent > 0) tag += "l" + std::to_string(indent) + " ";
  return tag + "CAABBCC >" + font;
}

class FakeContext : public OlderTextContext {
 public:
  std::uint32_t TextColour() const override { return kTextColour; }
  std::uint32_t LinkColour() const override { return kLinkColour; }
  std::optional<ObjectId> Resolve(ObjectId id) override {
    auto it = records.find(id);
    return it == records.end() ? std::nullopt : std::optional<ObjectId>(it->second);
  }
  std::optional<ObjectId> CopyImage(ObjectId id) override {
    auto it = imageCopies.find(id);
    return it == imageCopies.end() ? std::nullopt : std::optional<ObjectId>(it->second);
  }
  std::optional<ObjectId> ConvertFormField(int index) override {
    auto it = formFields.find(index);
    return it == formFields.end() ? std::nullopt : std::optional<ObjectId>(it->second);
  }
  OlderTable Table(ObjectId resolved) override {
    tablesAsked.push_back(resolved);
    return tables[resolved];
  }

  // Reference -> identity of the record it names.
  std::map<ObjectId, ObjectId> records;
  std::map<ObjectId, ObjectId> imageCopies;
  std::map<int, ObjectId> formFields;
  std::map<ObjectId, OlderTable> tables;
  std::vector<ObjectId> tablesAsked;
};

struct Case {
  const char* name;
  std::string older;
  std::string expected;  // after the opening paragraph tag
};

void RunCases(const std::vector<Case>& cases, FakeContext& context) {
  for (const Case& c : cases) {
    EXPECT_EQ(ConvertOlderMarkup(c.older, context), kStart + c.expected) << c.name;
  }
}

TEST(OlderText, CharacterFormatsAndParagraphs) {
  FakeContext context;
  const std::vector<Case> cases = {
      {"empty", "", ""},
      {"bold on and off", "a<B>b</B>c", "a" + Font(1) + "b" + Font(0) + "c"},
      {"italic", "<I>x</I>y", Font(2) + "x" + Font(0) + "y"},
      {"bold and italic", "<B><I>x", Font(3) + "x"},
      {"preformatted", "<PRE>x</PRE>y", Font(0, 12, "Courier New") + "x" + Font() + "y"},
      {"typewriter", "<TT>x</TT>", Font(0, 12, "Courier New") + "x"},
      {"font never used", "a<B>", "a"},
      {"line break", "a<BR>b", "a" + Para(0) + "b"},
      {"list item", "<LI>x", Para(0) + "x"},
      {"centred", "<CENTER>x", Para(0, 2) + "x"},
      {"right division", "<DIV ALIGN=RIGHT>x", Para(0, 1) + "x"},
      {"left division after centre", "<C><DIV ALIGN=LEFT>x", Para(0, 2) + Para(0, 0) + "x"},
      {"bare division", "<C><DI>", Para(0, 2) + Para(0, 0)},
      {"indents", "<UL><UL>a</UL>b", Para(0, 0, 40) + Para(0, 0, 80) + "a" + Para(0, 0, 40) + "b"},
      {"indent not below 0", "</UL></UL><UL>", Para(0) + Para(0) + Para(0, 0, 40)},
      {"paragraph takes the pending font", "<B><BR>x", Para(0, 0, 0, Font(1)) + "x"},
      // A format tag with nothing after it gives way to the next one.
      {"format right after a paragraph", "<BR><B>x", "<Z S0 A0 CAABBCC >" + Font(1) + "x"},
      {"link end", "<%whatever>", "<%>"},
      {"unknown tag", "a<HR>b<H1>", "a<HR>b<H1>"},
      {"control bytes", "a\r\n\tb\x1F", "ab"},
      {"byte 0 ends the text", std::string("a\0<B>b", 6), "a"},
      {"entities", "&amp;&lt;&#65;&eacute;x", "&amp;&lt;&#65;&eacute;x"},
      {"high bytes", "\xE8\xFF", "\xE8\xFF"},
  };
  RunCases(cases, context);
}

TEST(OlderText, FontSizesAndColours) {
  FakeContext context;
  const int sizes[] = {8, 10, 12, 14, 19, 27, 34};
  for (int digit = 1; digit <= 7; ++digit) {
    const std::string tag = "<FONT SIZE=" + std::to_string(digit) + ">x";
    EXPECT_EQ(ConvertOlderMarkup(tag, context), kStart + Font(0, sizes[digit - 1]) + "x") << digit;
  }
  const std::vector<Case> cases = {
      {"size 0", "<FONT SIZE=0>x", "x"},
      {"size 8", "<FONT SIZE=8>x", "x"},
      {"relative size", "<FONT SIZE=+1>x", "x"},
      {"colour", "<FONT COLOR=#FF8000>x", Font(0, 12, "Times New Roman", "FF8000") + "x"},
      {"lower-case colour", "<FONT COLOR=#0a0b0c>x", Font(0, 12, "Times New Roman", "0A0B0C") + "x"},
      {"colour and size", "<FONT COLOR=#000080><FONT SIZE=5>x",
       Font(0, 19, "Times New Roman", "000080") + "x"},
      {"colour by name", "<FONT COLOR=red>x", "x"},
      {"short colour", "<FONT COLOR=#12345>x", "x"},
  };
  RunCases(cases, context);
}

TEST(OlderText, HostileInput) {
  FakeContext context;
  const std::vector<Case> cases = {
      // A "<" that no ">" closes stays visible as a character.
      {"unclosed", "a<b", "a&lt;b"},
      {"unclosed run", "<<<", "&lt;&lt;&lt;"},
      {"closed after unclosed", "<B>x<", Font(1) + "x&lt;"},
      // Fixed-place bytes beyond the ">" are not read.
      {"short size tag", "<FONT S>x", "x"},
      {"size tag ends at the digit", "<FONT SIZE=>5x", "5x"},
      {"short colour tag", "<FONT C>x", "x"},
      {"colour cut by >", "<FONT COLOR=#12>3456x", "3456x"},
      {"short division", "<DIV>x", Para(0) + "x"},
      {"division cut by >", "<DIV ALIGN=>Rx", Para(0) + "Rx"},
      {"ampersand at the end", "a&", "a&"},
      {"ampersand alone", "R&D", "R&D"},
      {"ampersand before a tag", "&#<B>x", "&#<B>x"},
      {"empty tag", "<>", "<>"},
      {"stray cell end", "a<TF>b", "a" + Para(0) + "b"},
      {"stray last cell end", "<C><TE>", Para(0, 2) + Para(0, 2)},
      // Tags that the markup reader would take for its own are not passed on.
      {"font face", "<FONT FACE=\"Arial\">x", "x"},
      {"definition list", "<DL><DT>x<DD>y", "xy"},
      {"table markup", "<TABLE><TR><TD>x", "x"},
      {"format-like tags", "<Zz><Y>x<@>", "x"},
      {"malformed reference", "<$123>x<$0500000G>", "x"},
  };
  RunCases(cases, context);
}

TEST(OlderText, References) {
  FakeContext context;
  const ObjectId archive = MakeObjectId(document::zipLink, 5);
  context.records[archive] = MakeObjectId(document::genLink, 7);
  const ObjectId image = MakeObjectId(document::immagine, 1);
  context.records[image] = image;
  context.imageCopies[image] = MakeObjectId(document::immagine, 9);
  const ObjectId map = MakeObjectId(document::mappaClic, 2);
  context.records[map] = MakeObjectId(document::immagine, 4);
  context.imageCopies[map] = MakeObjectId(document::immagine, 10);
  const ObjectId field = MakeObjectId(document::inputStat, 3);
  context.records[field] = field;
  context.formFields[3] = MakeObjectId(document::shortObj, 2);
  const ObjectId keptField = MakeObjectId(document::inputStat, 4);
  context.records[keptField] = keptField;
  const ObjectId link = MakeObjectId(document::internetLink, 2);
  context.records[link] = link;
  const ObjectId placed = MakeObjectId(document::immagineNew, 1);
  context.records[placed] = placed;

  const std::vector<Case> cases = {
      {"archive by its own identity", "<$02000005>", "<$03000007>"},
      {"missing archive", "<$02000006>", "<$00000000>"},
      {"image copied", "<$05000001>", "<$05000009>"},
      {"click map copied", "<$06000002>", "<$0500000a>"},
      {"missing image kept", "<$05000003>", "<$05000003>"},
      {"form field becomes a short object", "<$14000003>", "<$0b000002>"},
      {"form field kept", "<$14000004>", "<$14000004>"},
      {"other kinds kept as written", "<$0100000a>", "<$0100000a>"},
      // A pending format goes before a placed object, not before a link or
      // a reference to nothing.
      {"format before an object", "<B><$10000001>x", Font(1) + "<$10000001>x"},
      {"format not before a link", "<B><$01000002>x", "<$01000002>" + Font(1) + "x"},
      {"format not before nothing", "<B><$10000005>x", "<$10000005>" + Font(1) + "x"},
  };
  RunCases(cases, context);
}

TEST(OlderText, TwoByTwoTable) {
  FakeContext context;
  const ObjectId table = MakeObjectId(document::tabellaHtml, 0);
  context.records[table] = table;
  context.tables[table] = {2, 2, 0};
  const std::string out = ConvertOlderMarkup("<$08000000>a<TF>b<TF>c<TF>d<TE>e", context);
  EXPECT_EQ(out, kStart + "<$08000000>" + Para(1) + "a" + "<T>" + Para(1) + "b" + "<T>" + Para(1) + "c" +
                     "<T>" + Para(1) + "d" + "<T>" + Para(0) + "e");
  EXPECT_EQ(context.tablesAsked, std::vector<ObjectId>{table});
}

TEST(OlderText, TablesInText) {
  FakeContext context;
  const ObjectId left = MakeObjectId(document::tabellaHtml, 0);
  const ObjectId centred = MakeObjectId(document::tabellaHtml, 1);
  const ObjectId wide = MakeObjectId(document::tabellaHtml, 2);
  const ObjectId placed = MakeObjectId(document::immagineNew, 0);
  const ObjectId image = MakeObjectId(document::immagine, 0);
  for (ObjectId id : {left, centred, wide, placed, image}) context.records[id] = id;
  context.tables[left] = {1, 2, 0};
  context.tables[centred] = {1, 1, 2};
  context.tables[wide] = {1, 1, 7};  // no such alignment: left
  const std::vector<Case> cases = {
      // Text before the table ends its paragraph; the cell takes the table's
      // alignment, the text after it the alignment from before.
      {"centred table after text", "x<$08000001>a<TE>z",
       "x" + Para(0) + "<$08000001>" + Para(1, 2) + "a<T>" + Para(0) + "z"},
      {"alignment restored", "<C><$08000000>a<TF>b<TE>c",
       Para(0, 2) + "<$08000000>" + Para(1) + "a<T>" + Para(1) + "b<T>" + Para(0, 2) + "c"},
      // The next cell's paragraph tag still shows the cell's font and
      // indent; then both start afresh.
      {"font and indent end with the cell", "<$08000000><UL><B>a<TF>b<TE>",
       "<$08000000>" + Para(1) + "<Z S1 A0 l40 CAABBCC >" + Font(1) + "a<T>" + Para(1, 0, 40, Font(1)) +
           "b<T>" + Para(0)},
      {"pending font before the table", "x<B><$08000002>a<TE>",
       "x" + Font(1) + Para(0, 0, 0, Font(1)) + "<$08000002>" + Para(1) + "a<T>" + Para(0)},
      // A placed object opens a paragraph like text does; an image does not.
      {"placed object before a table", "<$10000000><$08000002><TE>",
       "<$10000000>" + Para(0) + "<$08000002>" + Para(1) + "<T>" + Para(0)},
      {"image before a table", "<$05000000><$08000002><TE>",
       "<$05000000><$08000002>" + Para(1) + "<T>" + Para(0)},
      {"missing table", "<$08000009>a<TF>", "<$08000009>a" + Para(0)},
      {"nested table", "<$08000001><C><$08000000>a<TF>b<TE>c<TE>d",
       "<$08000001>" + Para(1, 2) + Para(1, 2) + "<$08000000>" + Para(1) + "a<T>" + Para(1) + "b<T>" +
           Para(1, 2) + "c<T>" + Para(0) + "d"},
  };
  RunCases(cases, context);
}

TEST(OlderText, ManyLargeTablesKeepCounting) {
  FakeContext context;
  const ObjectId table = MakeObjectId(document::tabellaHtml, 0);
  context.records[table] = table;
  context.tables[table] = {100000, 100000, 0};  // clamped to a record's 255 x 255
  std::string older;
  for (int i = 0; i < 1000; ++i) older += "<$08000000>";
  const std::string out = ConvertOlderMarkup(older + "<TE>x", context);
  EXPECT_TRUE(out.ends_with("<T>" + Para(1) + "x"));
}

TEST(OlderText, LongHostileTextConvertsInLinearSize) {
  FakeContext context;
  const std::string patterns[] = {"<", "<C>", "&", "<$08000000>", "<UL>", "<B>x"};
  for (const std::string& pattern : patterns) {
    std::string older;
    while (older.size() < 200000) older += pattern;
    const std::string out = ConvertOlderMarkup(older, context);
    EXPECT_LT(out.size(), older.size() * 40) << pattern;
    EXPECT_EQ(out.find('\0'), std::string::npos);
  }
}

// ---- Pages in a container ----

class OlderPageTest : public ::testing::Test {
 protected:
  // A page in the older form, registered in the container.
  document::TAEHoggetto* OlderPage(const std::string& text) {
    auto page = set.NewObject(document::testoHtml);
    page->SetU8(document::field::kPageGeneration, 1);
    page->SetI32(document::field::kPageTextColour, static_cast<std::int32_t>(kTextColour));
    page->SetI32(document::field::kPageLinkColour, static_cast<std::int32_t>(kLinkColour));
    page->SetContent(text);
    return set.Register(std::move(page));
  }
  static std::string Text(const document::TAEHoggetto& page) { return page.ReadContent().value_or("?"); }

  TestEnv env;
  document::TAEHset set{env.Services()};
};

TEST_F(OlderPageTest, ConvertsOnceAndEndsWithOneZero) {
  document::TAEHoggetto* page = OlderPage(std::string("a<B>b\0<I>not text", 17));
  ASSERT_TRUE(ConvertOlderText(*page));
  EXPECT_EQ(Text(*page), kStart + "a" + Font(1) + "b" + std::string(1, '\0'));
  EXPECT_EQ(page->U8(document::field::kPageGeneration), 2);
  const std::string converted = Text(*page);
  EXPECT_FALSE(ConvertOlderText(*page));
  EXPECT_EQ(Text(*page), converted);
}

TEST_F(OlderPageTest, OnlyOlderPagesAreConverted) {
  auto current = set.NewObject(document::testoHtml);
  const std::string before = Text(*current);
  EXPECT_FALSE(ConvertOlderText(*current));
  EXPECT_EQ(Text(*current), before);
  // Not a page, whatever its byte 195 holds.
  auto table = set.NewObject(document::tabellaHtml);
  table->SetU8(document::field::kPageGeneration, 1);
  EXPECT_FALSE(ConvertOlderText(*table));
  EXPECT_FALSE(table->Content().Present());
  // A page outside any container: its references could not be resolved.
  document::TAEHtesto loose;
  loose.SetU8(document::field::kPageGeneration, 1);
  loose.SetContent("<$02000000>");
  EXPECT_FALSE(ConvertOlderText(loose));
  EXPECT_EQ(loose.ReadContent().value_or(""), "<$02000000>");
  // A page without any text is an empty paragraph.
  auto empty = set.NewObject(document::testoHtml);
  empty->DropContent();
  empty->SetU8(document::field::kPageGeneration, 1);
  empty->SetI32(document::field::kPageLinkColour, static_cast<std::int32_t>(kLinkColour));
  ASSERT_TRUE(ConvertOlderText(*empty));
  EXPECT_EQ(Text(*empty), kStart + std::string(1, '\0'));
}

TEST_F(OlderPageTest, UnreadableTextIsLeftAlone) {
  document::TAEHoggetto* page = OlderPage("");
  page->DropContent();
  page->SetFilePath(env.Path("missing.txt"));
  EXPECT_FALSE(ConvertOlderText(*page));
  EXPECT_EQ(page->U8(document::field::kPageGeneration), 1);
  EXPECT_FALSE(page->Content().Present());
}

TEST_F(OlderPageTest, ImagesAreCopiedOncePerPage) {
  auto original = set.NewObject(document::immagine);
  original->SetName("logo");
  original->SetContent("GIF89a image bytes");
  document::TAEHoggetto* image = set.Register(std::move(original));
  ASSERT_NE(image, nullptr);
  const int images = set.CountOf(document::immagine);
  document::TAEHoggetto* page = OlderPage("<$05000000>x<$05000000><$05000063>");
  ASSERT_TRUE(ConvertOlderText(*page));

  ASSERT_EQ(set.CountOf(document::immagine), images + 1);
  document::TAEHoggetto* copy = set.GetObject(document::immagine, images);
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy, image);
  EXPECT_EQ(copy->Kind(), document::immagine);
  EXPECT_TRUE(copy->IsRegistered());
  EXPECT_EQ(copy->GetCaption(), "logo");
  EXPECT_EQ(copy->ReadContent().value_or(""), "GIF89a image bytes");
  std::string ref = "<$05";
  ref += "00000" + std::to_string(images) + ">";
  EXPECT_EQ(Text(*page), kStart + ref + "x" + ref + "<$05000063>" + std::string(1, '\0'));
  // The original stays as it was.
  EXPECT_EQ(image->ReadContent().value_or(""), "GIF89a image bytes");
}

TEST_F(OlderPageTest, ShortObjectFieldsBecomeShortObjects) {
  auto comment = set.NewObject(document::inputStat);
  comment->SetSubtype(10);
  comment->SetContent("a comment");
  comment->SetExtra("extra");
  document::TAEHoggetto* field = set.Register(std::move(comment));
  auto button = set.NewObject(document::inputStat);
  button->SetSubtype(3);
  document::TAEHoggetto* control = set.Register(std::move(button));
  ASSERT_NE(field, nullptr);
  ASSERT_NE(control, nullptr);
  const int shortObjects = set.CountOf(document::shortObj);

  document::TAEHoggetto* page = OlderPage("<$14000000>a<$14000000><$14000001><$08000000>");
  ASSERT_TRUE(ConvertOlderText(*page));
  ASSERT_EQ(set.CountOf(document::shortObj), shortObjects + 1);
  document::TAEHoggetto* made = set.GetObject(document::shortObj, shortObjects);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->Subtype(), 10);
  EXPECT_EQ(made->ReadContent().value_or(""), "a comment");
  EXPECT_EQ(made->Extra().View(), "extra");
  EXPECT_TRUE(field->IsFree());
  EXPECT_FALSE(field->Content().Present());
  EXPECT_EQ(control->Subtype(), 3);
  const std::string ref = "<$0b00000" + std::to_string(shortObjects) + ">";
  // Both references name the short object; the other field stays; a missing
  // table is just a kept reference.
  EXPECT_EQ(Text(*page), kStart + ref + "a" + ref + "<$14000001><$08000000>" + std::string(1, '\0'));
}

TEST_F(OlderPageTest, TableRecordGivesCellsAndAlignment) {
  auto record = set.NewObject(document::tabellaHtml);
  record->SetU8(93, 2);  // rows
  record->SetU8(94, 1);  // columns
  record->SetU8(95, 1);  // right-aligned
  ASSERT_NE(set.Register(std::move(record)), nullptr);
  document::TAEHoggetto* page = OlderPage("<$08000000>a<TF>b<TE>c");
  ASSERT_TRUE(ConvertOlderText(*page));
  EXPECT_EQ(Text(*page), kStart + "<$08000000>" + Para(1, 1) + "a<T>" + Para(1, 1) + "b<T>" + Para(0) + "c" +
                             std::string(1, '\0'));
}

// A version 1 file: an early page record (242 bytes) in the older form
// refers to an archive and a click map, which opening moved to kinds 3 and 5.
TEST(OlderTextFile, VersionOneReferencesFollowTheirRecords) {
  TestEnv env;
  AehBuilder b;
  b.SetI16(1621, 1);
  b.highestKind = 24;
  b.sizes[0] = 242;
  b.AddPage("Old", "Get <$02000000>it<%> <$06000000> <$02000004>");
  AehBuilder::PutI32(b.records[0][0], 89, static_cast<std::int32_t>(kTextColour));
  AehBuilder::PutI32(b.records[0][0], 93, static_cast<std::int32_t>(kLinkColour));
  std::string map = AehBuilder::BlankRecord(667);
  map[4] = 0;
  AehBuilder::PutStr(map, 5, "map");
  AehBuilder::PutStr(map, 94, "map.gif");
  const std::string gif = testing::SmallGif();
  AehBuilder::PutI32(map, 0, b.AddData(gif));
  AehBuilder::PutI32(map, 174, static_cast<std::int32_t>(gif.size()));
  b.records[6] = {map};
  std::string zip = AehBuilder::BlankRecord(93);
  zip[4] = 4;
  AehBuilder::PutStr(zip, 5, "old.zip");
  AehBuilder::PutI32(zip, 85, 0);
  b.records[2] = {zip};
  testing::WriteFile(env.Path("v1.aeh"), b.Build());

  document::TAEHset set(env.Services());
  ASSERT_TRUE(set.LoadFromFile(env.Path("v1.aeh")));
  document::TAEHoggetto* page = set.GetObject(document::testoHtml, 0);
  ASSERT_NE(page, nullptr);
  ASSERT_EQ(page->U8(document::field::kPageGeneration), 1);
  ASSERT_EQ(set.CountOf(document::immagine), 1);
  ASSERT_TRUE(ConvertOlderText(*page));

  ASSERT_EQ(set.CountOf(document::immagine), 2);
  document::TAEHoggetto* copy = set.GetObject(document::immagine, 1);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->ReadContent().value_or(""), gif);
  EXPECT_EQ(page->ReadContent().value_or(""),
            kStart + "Get <$03000000>it<%> <$05000001> <$00000000>" + std::string(1, '\0'));
}

}  // namespace
}  // namespace tarn::richtext
