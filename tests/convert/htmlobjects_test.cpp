// The objects of exported pages: one golden page per kind (tables, image
// maps, forms, multimedia and custom objects, floating frames, scripts and
// anchors) from a hypertext saved and read back, then the rules that a
// golden page shows less plainly, each against the smallest text that
// shows it; the records the objects are read from; and UTF-8 pages.
#include <gtest/gtest.h>

#include "base/bytes.h"
#include "convert/htmlfixture.h"
#include "convert/objectsite.h"
#include "document/customprototype.h"
#include "document/links.h"
#include "document/placedrecords.h"

namespace tarn::convert {
namespace {

namespace fs = std::filesystem;
using namespace document;
using namespace document::field;
using testing::ExpectGolden;
using testing::ExtraBlock;
using testing::HtmlFixture;
using testing::Tag;

std::string Between(const std::string& text, const std::string& from, const std::string& to) {
  const std::size_t a = text.find(from);
  const std::size_t b = a == std::string::npos ? a : text.find(to, a + from.size());
  return b == std::string::npos ? std::string() : text.substr(a, b + to.size() - a);
}

class ObjectPages : public HtmlFixture, public ::testing::Test {
 protected:
  void SetUp() override {
    site = tarn::testing::BuildObjectSite(*set, env.Dir());
    ASSERT_TRUE(set->SaveToFile(env.Path("objects.aeh")));
    ASSERT_TRUE(set->LoadFromFile(env.Path("objects.aeh")));
    html.SetExportPrefixOverride(set->ExpPrefix());
  }
  tarn::testing::ObjectSite site;
};

TEST_F(ObjectPages, EachKindAsItsGoldenPage) {
  std::vector<int> pages;
  for (std::size_t i = 0; i < site.pages.size(); ++i) pages.push_back(static_cast<int>(i));
  ASSERT_TRUE(html.ExportSite(pages)) << html.ErrorText();
  for (std::size_t i = 0; i < site.pages.size(); ++i) {
    const TAEHoggetto& page = *set->GetObject(testoHtml, static_cast<int>(i));
    ExpectGolden("objects/" + site.pages[i].name + ".html", Written(html.OutputFileName(page, kMainName)));
  }
  // Every picture and file once, under its export name, however many
  // objects show it; the page a floating frame shows without its frame set.
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(env.Path("out"))) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  const std::vector<std::string> expected = {
      "Applet.class",    "movie.mov",        "site-000001.html", "site-000007.html", "site_000001.html", "site_000002.html",
      "site_000003.html", "site_000004.html", "site_000005.html", "site_000006.html", "site_000007.html",
      "site_g000000.wav", "site_g000002.avi", "site_g000004.js",  "site_i000000.gif", "site_i000001.gif",
      "site_i000002.gif", "site_i000003.gif", "site_i000004.gif", "site_index.html",  "site_style.css"};
  EXPECT_EQ(names, expected);
  EXPECT_EQ(Read("site_i000000.gif"), tarn::testing::SmallGif(40, 24));
}

// ---- Tables ----

class ObjectText : public HtmlFixture, public ::testing::Test {
 protected:
  void SetUp() override { page = Page("Objects", "<Z S0 >"); }
  std::string Walk(const std::string& markup) {
    page->SetContent(markup + std::string(1, '\0'));
    return Body(*page);
  }
  // The page document, with its head.
  std::string Document(const std::string& markup) {
    page->SetContent(markup + std::string(1, '\0'));
    std::string out;
    html.ExportPage(*page, out, &frameless, files, kMainName);
    return out;
  }
  TAEHoggetto* Table(int rows, int columns) {
    TAEHoggetto* table = Object(tabellaHtml, kTableNew);
    table->SetU8(kTableRows, static_cast<std::uint8_t>(rows));
    table->SetU8(kTableColumns, static_cast<std::uint8_t>(columns));
    return table;
  }
  TAEHoggetto* page = nullptr;
  RecordList frameless;
  RecordList files;
};

TEST_F(ObjectText, TwoByTwoTableWithBackgrounds) {
  TAEHoggetto* table = Table(2, 2);
  table->SetI32(kTableBackground, 0x00FF00);
  std::string cells;
  for (std::int32_t v : {0x0000FF, -1, 0x7FFFFFFF, 0x123456}) base::AppendI32(cells, v);
  table->SetContent(cells);
  EXPECT_EQ(Walk("<Z S0 >" + Tag(table->GetId()) + "<Z S1 >a<T><Z S1 >b<T><Z S1 >c<T><Z S1 >d<T>"),
            "<DIV class=s0 >\r\n"
            "<TABLE WIDTH=100% BORDER=0 CELLPADDING=2 CELLSPACING=2 BGCOLOR=#00FF00 >\r\n"
            "<TR>\r\n<TD WIDTH=0 VALIGN=\"TOP\"  BGCOLOR=#FF0000 >\r\n<DIV class=s1 >\r\na&nbsp;</DIV>\r\n</TD>\r\n"
            "<TD WIDTH=0 VALIGN=\"TOP\"  >\r\n<DIV class=s1 >\r\nb&nbsp;</DIV>\r\n</TD></TR>\r\n"
            "<TR>\r\n<TD WIDTH=0 VALIGN=\"TOP\"  >\r\n<DIV class=s1 >\r\nc&nbsp;</DIV>\r\n</TD>\r\n"
            "<TD WIDTH=0 VALIGN=\"TOP\"  BGCOLOR=#563412 >\r\n<DIV class=s1 >\r\nd\r\n&nbsp;</DIV>\r\n"
            "</TD></TR></TABLE></DIV>\r\n"
            "&nbsp;</DIV>\r\n");
}

// The paragraph's format is closed before the table, the cells start from
// the defaults, and the paragraph ends with the table.
TEST_F(ObjectText, TableInsideABoldParagraph) {
  TAEHoggetto* table = Table(1, 1);
  table->SetU8(kTableColumnKinds, kColumnFree);
  EXPECT_EQ(Walk("<Z S0 y1 >bold<Y y3 >" + Tag(table->GetId()) + "<Z S1 >cell<T>after"),
            "<DIV class=s0 >\r\n<B>bold</B>"
            "<TABLE WIDTH=100% BORDER=0 CELLPADDING=2 CELLSPACING=2 >\r\n"
            "<TR>\r\n<TD VALIGN=\"TOP\"  >\r\n<DIV class=s1 >\r\ncell\r\n&nbsp;</DIV>\r\n</TD></TR></TABLE>"
            "</DIV>\r\n"
            "after&nbsp;</DIV>\r\n");
}

TEST_F(ObjectText, TableRecordsThatClaimTooMuch) {
  // More rows and columns than a table can have, and content data longer
  // than its cells: the table is read as far as it can be.
  TAEHoggetto* table = Table(1, 200);
  table->SetContent(std::string(4000, '\x01'));
  const TableShape shape = ReadTableShape(*table);
  EXPECT_EQ(shape.columns, kMaxTableColumns);
  EXPECT_EQ(shape.cellBackgrounds.size(), static_cast<std::size_t>(kMaxTableColumns));
  EXPECT_EQ(shape.CellBackground(0, kMaxTableColumns), -1);
  EXPECT_EQ(shape.CellBackground(1, 0), -1);
  // A cell end outside any table, and a table whose text ends early, end
  // the text cleanly.
  EXPECT_EQ(Walk("<Z S0 >a<T>b"), "<DIV class=s0 >\r\nab&nbsp;</DIV>\r\n");
  const std::string cut = Walk("<Z S0 >" + Tag(table->GetId()) + "<Z S1 >x<T>");
  EXPECT_TRUE(cut.ends_with("x&nbsp;</DIV>\r\n</TD>\r\n<TD WIDTH=0 VALIGN=\"TOP\"  >\r\n&nbsp;</DIV>\r\n")) << cut;
}

TEST(Backgrounds, ColoursImagesAndNothing) {
  struct Case {
    std::int32_t value;
    Background::Kind kind;
    std::uint32_t colour;
    int image;
  };
  const Case cases[] = {{0x00123456, Background::Kind::kColour, 0x123456, -1},
                        {0x01ABCDEF, Background::Kind::kColour, 0xABCDEF, -1},
                        {0x03000007, Background::Kind::kImage, 0, 7},
                        {0x02000000, Background::Kind::kNone, 0, -1},
                        {-1, Background::Kind::kNone, 0, -1}};
  for (const Case& c : cases) {
    const Background b = DecodeBackground(c.value);
    EXPECT_EQ(b.kind, c.kind) << c.value;
    EXPECT_EQ(b.colour, c.colour) << c.value;
    EXPECT_EQ(b.image, c.image) << c.value;
  }
}

// ---- Placed images and maps ----

TEST_F(ObjectText, MapsNameTheirZonesLinks) {
  tarn::testing::WriteFile(env.Path("pic.gif"), tarn::testing::SmallGif());
  TAEHoggetto* image = set->AddImageData(env.Path("pic.gif"), false, 3, 4);
  TAEHoggetto* placed = set->Register(set->AddImmagineNew(image));
  placed->SetStr(kPlacedAltText, kPlacedAltTextCapacity, "");
  TAEHoggetto* other = Page("Other", "<Z S0 >");
  TAEHoggetto* web = set->Register(set->NewLink("http://example.org/"));
  auto zone = [&](int entry, ObjectId link, int x) {
    const int at = kPlacedZones + entry * kZoneSize;
    placed->SetI32(at, link);
    for (int f : {kZoneLeft, kZoneTop}) placed->SetI16(at + f, static_cast<std::int16_t>(f == kZoneLeft ? x : 1));
    for (int f : {kZoneWidth, kZoneHeight}) placed->SetI16(at + f, 2);
  };
  const std::string image1 = "site_i000000.gif";
  // Only zones without a link: no map at all.
  zone(0, 0, 0);
  std::string out = Walk("<Z S0 >" + Tag(placed->GetId()));
  EXPECT_EQ(out.find("<MAP"), std::string::npos) << out;
  EXPECT_EQ(out.find("USEMAP"), std::string::npos) << out;
  // Zones in table order; one whose link is gone writes nothing.
  zone(1, web->GetId(), 5);
  zone(2, MakeObjectId(speclink, 77), 9);
  zone(4, Special(1, other->GetId(), kReplaceFrame, -1, "main")->GetId(), 20);
  html.AutoAlt = true;
  out = Walk("<Z S0 >" + Tag(placed->GetId()));
  EXPECT_EQ(Between(out, "<MAP", "</MAP>\r\n"),
            "<MAP NAME=ma000000 >\r\n"
            "<AREA COORDS=5,1,7,3 HREF=\"http://example.org/\"  ALT=\"http://example.org/\""
            " TITLE=\"http://example.org/\">\r\n"
            "<AREA COORDS=20,1,22,3 TARGET=\"main\" HREF=\"site_000001.html\"  ALT=\"Other\" TITLE=\"Other\">\r\n"
            "</MAP>\r\n");
  EXPECT_NE(out.find("<IMG SRC=\"" + image1 + "\" BORDER=0 ALIGN=MIDDLE ALT=\"\" USEMAP=#ma000000 WIDTH=4 HEIGHT=3  >"),
            std::string::npos)
      << out;
}

TEST_F(ObjectText, RollOverOutsideAndInsideALink) {
  tarn::testing::WriteFile(env.Path("a.gif"), tarn::testing::SmallGif(4, 3));
  tarn::testing::WriteFile(env.Path("b.gif"), tarn::testing::SmallGif(5, 3));
  TAEHoggetto* image = set->AddImageData(env.Path("a.gif"), false, 3, 4);
  TAEHoggetto* over = set->AddImageData(env.Path("b.gif"), false, 3, 5);
  TAEHoggetto* placed = set->Register(set->AddImmagineNew(image));
  placed->SetI32(kPlacedImage3, over->Index());
  placed->SetStr(kPlacedAltText, kPlacedAltTextCapacity, "");
  placed->SetU8(kPlacedAlignment, 9);  // beyond the words: the middle of the line
  TAEHoggetto* other = Page("Other", "<Z S0 >");
  const std::string handlers =
      " onMouseOver=\"TarnF_over('i000000','site_i000001.gif');\" onMouseOut=\"TarnF_over('i000000','site_i000000.gif');\" >"
      "<IMG SRC=\"site_i000000.gif\" BORDER=0 ALIGN=MIDDLE ALT=\"\" NAME=i000000 WIDTH=4 HEIGHT=3  >";
  // Outside a link the picture links to its own page, so that the mouse
  // handlers have an element.
  std::string out = Document("<Z S0 >" + Tag(placed->GetId()));
  EXPECT_NE(out.find("<A HREF=\"site_index.html\" " + handlers + "</A>"), std::string::npos) << out;
  EXPECT_EQ(html.ScriptFlags(), kBrowserDetection | kRollOverSupport);
  EXPECT_NE(out.find("TarnP_0.src=\"site_i000001.gif\";"), std::string::npos) << out;
  // Inside a link the link is opened again with the handlers and stays open.
  out = Walk("<Z S0 >" + Tag(other->GetId()) + "a " + Tag(placed->GetId()) + " b<%>");
  EXPECT_NE(out.find("<A class=s0 HREF=\"site_000001.html\"  >a </A><A class=s0 HREF=\"site_000001.html\" " + handlers +
                     "&nbsp;b</A>"),
            std::string::npos)
      << out;
}

// ---- Forms ----

TEST_F(ObjectText, FormFieldsAndTheirValues) {
  auto field = [&](int subtype, const std::string& value, std::uint8_t checked) {
    TAEHoggetto* f = Object(inputStat, subtype);
    f->SetStr(kObjectName, kFormNameCapacity, "f");
    f->SetStr(kFieldValue, kFieldValueCapacity, value);
    f->SetU8(kFieldChecked, checked);
    f->SetU8(kFieldHasValue, 1);
    f->SetU8(kFieldSize, 2);
    f->SetU8(kFieldMultiple, 0);
    return f;
  };
  TAEHoggetto* list = field(kFieldList, "", 0);
  list->SetContent("one\r\n1\r\nyes\r\ntwo\r\n2\r\nno\r\nthree\r\n3\r\nx\nfour\r\n4");
  TAEHoggetto* unset = Object(inputStat, kFieldEdit);  // every field still 0xFF
  struct Case {
    TAEHoggetto* record;
    std::string html;
  };
  const Case cases[] = {
      {field(kFieldCheckBox, "on", 1), "<INPUT TYPE=checkbox NAME=\"f\" VALUE=\"on\" CHECKED  >\r\n"},
      {field(kFieldCheckBox, "on", 0), "<INPUT TYPE=checkbox NAME=\"f\" VALUE=\"on\"  >\r\n"},
      {field(kFieldRadio, "a", 1), "<INPUT TYPE=radio NAME=\"f\" VALUE=\"a\" CHECKED  >\r\n"},
      {field(kFieldHidden, "7", 1), "<INPUT TYPE=hidden NAME=\"f\" VALUE=\"7\"  >\r\n"},
      {field(kFieldPassword, "say \"x\"", 0), "<INPUT TYPE=password NAME=\"f\" VALUE=\"say &quot;x&quot;\" SIZE=2 >\r\n"},
      {list, "<SELECT NAME=\"f\"  SIZE=2  ><OPTION VALUE=\"1\" SELECTED >one\r\n<OPTION VALUE=\"2\" >two\r\n"
             "<OPTION VALUE=\"3\" SELECTED >three\r\n</SELECT>"},
      {unset, "<INPUT NAME=\"\" VALUE=\"\" SIZE=255 >\r\n"},
      {Object(inputStat, 10), ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Walk("<Z S0 >" + Tag(c.record->GetId())), "<DIV class=s0 >\r\n" + c.html + "&nbsp;</DIV>\r\n") << c.html;
}

TEST_F(ObjectText, FormStartsOpenBeforeTheirParagraph) {
  TAEHoggetto* get = Object(inizioForm, kFormGet);
  get->SetStr(kObjectName, kFormStartNameCapacity, "find.cgi");
  TAEHoggetto* mail = Object(inizioForm, kFormMail);
  mail->SetStr(kObjectName, kFormStartNameCapacity, "jo@example.org");
  mail->SetExtra(ExtraBlock("NAME=m"));
  TAEHoggetto* button = Object(bottoneCGI, kButtonReset);
  button->SetStr(kFieldValue, kFieldValueCapacity, "Clear");
  button->SetI32(kButtonImage, -1);
  button->SetI32(kButtonLink, -1);
  button->SetStr(kObjectName, kFormNameCapacity, "");
  EXPECT_EQ(Walk("<Z S0 >one<Z S0 >two " + Tag(get->GetId()) + "x<Z S0 >" + Tag(mail->GetId()) + Tag(button->GetId())),
            "<DIV class=s0 >\r\none&nbsp;</DIV>\r\n"
            "<FORM TARGET=_top METHOD=GET ACTION=\"find.cgi\" >\r\n"
            "<DIV class=s0 >\r\ntwo x&nbsp;</DIV>\r\n"
            "</FORM><FORM METHOD=POST ACTION=\"mailto:jo@example.org\" ENCTYPE=\"text/plain\"  NAME=m>\r\n"
            "<DIV class=s0 >\r\n<INPUT TYPE=reset VALUE=\"Clear\"  >\r\n&nbsp;</DIV>\r\n");
}

TEST_F(ObjectText, ButtonsFollowTheirTargets) {
  TAEHoggetto* other = Page("Other", "<Z S0 >");
  TAEHoggetto* third = Page("Third", "<Z S0 >");
  page->SetI16(kPageBrowseGroup, 2);
  page->SetI16(kPageBrowseNumber, 1);
  third->SetI16(kPageBrowseGroup, 2);
  third->SetI16(kPageBrowseNumber, 4);
  TAEHoggetto* popup = Special(1, other->GetId(), kPopupWindow, -1, "w");
  popup->SetExtra(ExtraBlock("TITLE=pop"));
  struct Case {
    TAEHoggetto* target;
    std::string attribute;
    int flags;
  };
  const Case cases[] = {
      {other, " onClick=\"javascript:location='site_000001.html'\" ", 0},
      {Special(1, other->GetId(), kReplaceWindow, 3), " onClick=\"javascript:location='site_000001.html#an3'\"  ", 0},
      {Special(1, other->GetId(), kJumpTo), " onClick=\"javascript:location='site_000001.html'\"  ", 0},
      {popup, " onClick=\"javascript:TarnF_open('site_000001.html','w','','Pag0');\" TITLE=pop", kOpenWindowScript},
      {Special(1, other->GetId(), kNewBrowser), " onClick=\"javascript:TarnF_openB('site_000001.html');\" ",
       kOpenBrowserScript},
      {Special(1, -1, kAnchorInPage, 2), " onClick=\"javascript:location='#an2'\"  ", 0},
      {Special(1, other->GetId(), kReplaceFrame, -1, "main"),
       " onClick=\"javascript:open('site_000001.html','main');\"  ", 0},
      {Special(2, -1, 0, -1, "help"), " onClick=\"javascript:TarnF_close('help');\"  ", kCloseWindowScript},
      {Special(5), " onClick=\"javascript:location='site_000002.html'\"  ", 0},
      {Special(4), " onClick=\"javascript:location='site_index.html'\"  ", 0},
      {Special(3), "", 0},
      {Special(1, MakeObjectId(testoHtml, 50), kJumpTo), "", 0},
  };
  for (const Case& c : cases) {
    TAEHoggetto* button = Object(bottoneCGI, 7);
    button->SetStr(kObjectName, kFormNameCapacity, "b");
    button->SetStr(kFieldValue, kFieldValueCapacity, "Go");
    button->SetI32(kButtonImage, -1);
    button->SetI32(kButtonLink, c.target->GetId());
    const std::string out = Document("<Z S0 >" + Tag(button->GetId()));
    // A button with a target has no name; one of another subtype is a push button.
    EXPECT_NE(out.find("<INPUT TYPE=button VALUE=\"Go\"  " + c.attribute + ">\r\n"), std::string::npos)
        << c.attribute << "\n" << out;
    EXPECT_EQ(html.ScriptFlags(), c.flags) << c.attribute;
  }
}

// ---- Multimedia and custom objects ----

TEST_F(ObjectText, LoopsOfSoundsAndVideos) {
  auto media = [&](int subtype, std::uint8_t hidden, std::uint8_t repetitions) {
    TAEHoggetto* m = Object(multiMedia, subtype);
    m->SetI32(kMediaReference, -1);
    m->SetI32(kMediaAltImage, -1);
    m->SetU8(kMediaHideButtons, hidden);
    m->SetU8(kMediaRepetitions, repetitions);
    m->SetI16(kMediaWidth, 10);
    m->SetI16(kMediaHeight, 20);
    m->SetU8(kMediaPercent, 7);  // any stored unit above 0 is percent
    return Walk("<Z S0 >" + Tag(m->GetId()));
  };
  EXPECT_NE(media(1, 1, 0xFF).find("<EMBED SRC=\"\" AUTOSTART=true HIDDEN=true LOOP=true>\r\n</EMBED>\r\n"),
            std::string::npos);
  EXPECT_NE(media(2, 1, 3).find("LOOP=3>"), std::string::npos);
  EXPECT_NE(media(1, 0, 3).find("<EMBED SRC=\"\" CONTROLS=SMALLCONSOLE height=15>\r\n</EMBED>"), std::string::npos);
  EXPECT_NE(media(3, 1, 0xFF).find("WIDTH=10% HEIGHT=20% CONTROLLER=false AUTOSTART=true LOOP=true >"),
            std::string::npos);
  EXPECT_NE(media(4, 1, 2).find("LOOP=false >"), std::string::npos);
  EXPECT_NE(media(4, 0, 2).find("HEIGHT=20% CONTROLS=true  ></EMBED>"), std::string::npos);
  EXPECT_EQ(media(7, 1, 1), "<DIV class=s0 >\r\n&nbsp;</DIV>\r\n");
}

TEST_F(ObjectText, CustomObjectTemplates) {
  TAEHoggetto* prototype = Object(custom, 1);
  TAEHoggetto* other = Page("Other", "<Z S0 >");
  std::string content;
  base::AppendI32(content, 8);
  base::AppendI32(content, other->GetId());
  base::AppendI32(content, MakeObjectId(genLink, 40));  // a file that is gone
  prototype->SetContent(content + "title=0\r\nTint=1\r\nnext=8\r\nbad=x\r\n");
  TAEHoggetto* instance = Object(multiMedia, kMediaCustom);
  instance->SetI32(kMediaReference, prototype->GetId());
  instance->SetI16(kMediaWidth, 30);
  instance->SetI16(kMediaHeight, 40);
  instance->SetU8(kMediaPercent, 0);
  instance->SetContent("TITLE=Hello\nnext=" + std::to_string(other->GetId()) + "\r\n");
  struct Case {
    std::string text;
    std::string html;
  };
  const Case cases[] = {
      {"<B>!ReCP:title!</B>", "<B>Hello</B>"},
      {"#!ReCP:tint!;", "#000000;"},  // a colour without a value
      {"!ReCP:next! !ReCP:nothing!.", "site_000001.html ."},
      {"!ReCF:00000000|!ReCF:00000001|!ReCF:00000002|!ReCF:0000000g", "site_000001.html|||!ReCF:0000000g"},
      {"!RefX:00000000x!RefY:00000000 !RefI:00000000", "30x40 !RefI:00000000"},
      {"!Re !R !ReCP:title", "!Re !R !ReCP:title"},
  };
  for (const Case& c : cases) {
    prototype->SetExtra(ExtraBlock(c.text, "refs"));
    EXPECT_EQ(html.ExpandCustomObject(*instance, *prototype), c.html) << c.text;
  }
  instance->SetContent("tint=#12AB34\r\n");
  prototype->SetExtra(ExtraBlock("!ReCP:TINT!"));
  EXPECT_EQ(html.ExpandCustomObject(*instance, *prototype), "12AB34");
}

TEST(CustomPrototypes, FileListsNeverTrustTheirCount) {
  tarn::testing::TestEnv env;
  TAEHset set(env.Services());
  auto prototype = set.NewObject(custom);
  std::string content;
  base::AppendI32(content, 0x7FFFFFF0);
  base::AppendI32(content, 5);
  prototype->SetContent(content);
  const PrototypeData data = ReadPrototype(*prototype);
  EXPECT_EQ(data.files, std::vector<ObjectId>{5});
  EXPECT_TRUE(data.properties.empty());
  prototype->SetContent("ab");
  EXPECT_TRUE(ReadPrototype(*prototype).files.empty());
}

// ---- Scripts ----

TEST_F(ObjectText, WindowScriptsSetTheirFlags) {
  TAEHoggetto* other = Page("Other", "<Z S0 >");
  TAEHoggetto* opener = Object(shortObj, kShortLauncher);
  opener->SetI32(kShortValue, Special(1, other->GetId(), kReplaceWindow, -1, "w")->GetId());
  std::string out = Document("<Z S0 >" + Tag(opener->GetId()));
  EXPECT_NE(out.find("\r\n<SCRIPT>\r\n<!--//\r\n  w=TarnF_open('site_000001.html','w','','Pag0');\r\n//-->\r\n"
                     "</SCRIPT>\r\n"),
            std::string::npos)
      << out;
  EXPECT_EQ(html.ScriptFlags(), kOpenWindowScript);
  EXPECT_NE(out.find("function TarnF_open("), std::string::npos);
  opener->SetI32(kShortValue, Special(2, -1, 0, -1, "w")->GetId());
  out = Document("<Z S0 >" + Tag(opener->GetId()));
  EXPECT_NE(out.find("\r\n<SCRIPT><!--//\r\n  w=open('','w' );\r\n  w.close( );\r\n//--></SCRIPT>\r\n"), std::string::npos)
      << out;
  EXPECT_EQ(html.ScriptFlags(), 0);
  opener->SetI32(kShortValue, other->GetId());  // not a special link
  EXPECT_EQ(Walk("<Z S0 >" + Tag(opener->GetId())), "<DIV class=s0 >\r\n&nbsp;</DIV>\r\n");
}

// ---- Records ----

TEST(PlacedRecords, ListItemsInThrees) {
  const std::vector<ListItem> items = ListItems("a\r\n1\r\nX\nb\n2\n\nc\r\n3");
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].shown, "a");
  EXPECT_EQ(items[0].mark, "X");
  EXPECT_EQ(items[1].value, "2");
  EXPECT_EQ(items[1].mark, "");
  EXPECT_TRUE(ListItems("").empty());
}

// ---- UTF-8 pages ----

TEST(Utf8Pages, DeclaredAndEncodedWithTheMarkerKept) {
  HtmlFixture f;
  f.Page("Caf\xE9 \x80", "<Z S0 >5 \x80 \x96 \xFC");
  f.set->GetObject(stileParagrafo, 0)->SetStr(richtext::stylefield::kFace, richtext::stylefield::kFaceCapacity, "Cr\xE8me");
  // The document's own name is a name of the file system, in UTF-8 here.
  const fs::path file = f.env.Path("caf\xC3\xA9.aeh");
  ASSERT_TRUE(f.set->SaveToFile(file));
  ASSERT_TRUE(f.set->LoadFromFile(file));
  const std::string marker = "<!--pageTarn=\"0;" + file.string() + "\"-->\r\n";
  ASSERT_TRUE(f.html.ExportPageList({0}));
  const std::string plain = f.Read("site_index.html");
  EXPECT_EQ(plain.find("charset"), std::string::npos);
  EXPECT_NE(plain.find("5 \x80 \x96 \xFC&nbsp;"), std::string::npos);
  EXPECT_NE(plain.find(marker), std::string::npos);

  f.html.ExpUtf8 = true;
  ASSERT_TRUE(f.html.ExportPageList({0}));
  const std::string utf8 = f.Read("site_index.html");
  EXPECT_TRUE(utf8.starts_with("<HTML><HEAD>\r\n<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=utf-8\">\r\n"
                               "<TITLE>Caf\xC3\xA9 \xE2\x82\xAC\r\n</TITLE>\r\n"))
      << utf8;
  EXPECT_NE(utf8.find("5 \xE2\x82\xAC \xE2\x80\x93 \xC3\xBC&nbsp;"), std::string::npos) << utf8;
  EXPECT_NE(utf8.find(marker), std::string::npos) << utf8;
  EXPECT_NE(f.Read("site_style.css").find("font-family:\"Cr\xC3\xA8me\";"), std::string::npos);
}

}  // namespace
}  // namespace tarn::convert
