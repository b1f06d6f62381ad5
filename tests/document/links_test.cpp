// Links, anchors and keywords: internal URLs, descriptions, titles and
// exported names of other hypertexts' pages, keyword slots, and the
// reference bookkeeping that finds, collects and cancels references.
#include "document/links.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "document/aehset.h"
#include "document/aehtesto.h"
#include "document/recordfields.h"
#include "document/testfixtures.h"

namespace tarn::document {
namespace {

using namespace field;
using testing::AehBuilder;
using testing::TestEnv;

std::string Hex8(ObjectId id) {
  char buf[12];
  std::snprintf(buf, sizeof buf, "%08x", static_cast<unsigned>(id));
  return buf;
}

// An extra block in the stored form: 32-bit L, L bytes of reference data,
// then the text.
std::string ExtraBlock(const std::string& text) { return std::string("\0\0\0\0", 4) + text; }

TAEHoggetto* AddPage(TAEHset& set, const std::string& title, const std::string& markup = "<Z S0 >") {
  auto page = set.NewObject(testoHtml);
  page->SetName(title);
  page->SetContent(markup + std::string(1, '\0'));
  return set.Register(std::move(page));
}

TAEHoggetto* AddObject(TAEHset& set, int kind, int subtype = -1) {
  auto object = set.NewObject(kind);
  if (subtype >= 0) object->SetSubtype(subtype);
  return set.Register(std::move(object));
}

TAEHoggetto* AddSpecial(TAEHset& set, int subtype, ObjectId target = -1, int action = 0, int anchor = -1) {
  TAEHoggetto* link = AddObject(set, speclink, subtype);
  link->SetI32(kSpecialTarget, target);
  link->SetU8(kSpecialTargetKind, 0);
  link->SetU8(kSpecialAction, static_cast<std::uint8_t>(action));
  link->SetI32(kSpecialAnchor, anchor);
  return link;
}

// ---- Internal URLs ----

TEST(InternalUrl, SplitsFileAndPage) {
  TestEnv env;
  TAEHset set(env.Services());
  const std::string folder = env.Dir().string() + "/";
  testing::WriteFile(env.Path("book.aeh"), "");
  ASSERT_TRUE(set.LoadFromFile(env.Path("book.aeh")));
  set.SetHeaderI32(header::kCoverPage, 4);
  struct Case {
    std::string url;
    bool internal;
    std::string file;
    bool same;
    int page;
  };
  const Case cases[] = {
      {"tarn://sub\\x.aeh|3", true, folder + "sub\\x.aeh", false, 3},
      {"tarn:sub\\x.aeh|3", true, folder + "sub\\x.aeh", false, 3},
      {"tarn://x.aeh|", true, folder + "x.aeh", false, kNoPageGiven},
      {"tarn://x.aeh|-5", true, folder + "x.aeh", false, 0},
      {"tarn://x.aeh|abc", true, folder + "x.aeh", false, 0},
      {"tarn://x.aeh", true, folder + "x.aeh", false, 4},
      {"tarn://C:\\work\\x.aeh|7", true, "C:\\work\\x.aeh", false, 7},
      {"tarn:///srv/x.aeh|7", true, "/srv/x.aeh", false, 7},
      {"tarn://book.aeh|2", true, folder + "book.aeh", true, 2},
      {"tarn://" + folder + "book.aeh|2", true, folder + "book.aeh", true, 2},
      {"tarn:|1", true, "", false, 1},
      {"http://example.org/", false, "", false, 0},
      {"TARN://x.aeh|1", false, "", false, 0},
  };
  for (const Case& c : cases) {
    const InternalUrl u = ParseInternalUrl(set, c.url);
    EXPECT_EQ(u.isInternal, c.internal) << c.url;
    EXPECT_EQ(u.file, c.file) << c.url;
    EXPECT_EQ(u.sameFile, c.same) << c.url;
    EXPECT_EQ(u.page, c.page) << c.url;
  }
}

TEST(InternalUrl, WrittenRelativeBelowTheHypertextsFolder) {
  TestEnv env;
  TAEHset set(env.Services());
  testing::WriteFile(env.Path("book.aeh"), "");
  ASSERT_TRUE(set.LoadFromFile(env.Path("book.aeh")));
  const std::string folder = env.Dir().string() + "/";
  EXPECT_EQ(MakeInternalUrl(set, folder + "sub/x.aeh", 3), "tarn://sub/x.aeh|3");
  EXPECT_EQ(MakeInternalUrl(set, "/elsewhere/x.aeh", 0), "tarn:///elsewhere/x.aeh|0");
  const InternalUrl back = ParseInternalUrl(set, MakeInternalUrl(set, folder + "sub/x.aeh", 3));
  EXPECT_EQ(back.file, folder + "sub/x.aeh");
  EXPECT_EQ(back.page, 3);
}

// ---- Other hypertexts ----

class OtherHypertext : public ::testing::Test {
 protected:
  void SetUp() override {
    TAEHset other(env.Services());
    other.SetExpPrefix("book");
    for (int i = 0; i < 27; ++i) AddPage(other, "Chapter " + std::to_string(i));
    other.SetHeaderI32(header::kCoverPage, 2);
    other.SetBackup(false);
    ASSERT_TRUE(other.SaveToFile(env.Path("other.aeh")));
    file = env.Path("other.aeh").string();
  }
  TestEnv env;
  std::string file;
};

TEST_F(OtherHypertext, PageTitlesWithoutOpeningIt) {
  EXPECT_EQ(TargetPageTitle(file, MakeObjectId(testoHtml, 5)), "Chapter 5");
  EXPECT_EQ(TargetPageTitle(file, MakeObjectId(testoHtml, 27)), "");  // beyond the count
  EXPECT_EQ(TargetPageTitle(file, MakeObjectId(stileParagrafo, 0)), "");  // not a page
  EXPECT_EQ(TargetPageTitle(env.Path("missing.aeh").string(), 0), "");
  // Paths written on Windows name the same file.
  EXPECT_EQ(TargetPageTitle("C:" + file, MakeObjectId(testoHtml, 1)), "Chapter 1");
}

TEST_F(OtherHypertext, ExportedPageNames) {
  EXPECT_EQ(ExportedPageName(file, 2, ".html"), "book_index.html");
  EXPECT_EQ(ExportedPageName(file, 26, ".htm"), "book_00001a.htm");
  EXPECT_EQ(ExportedPageName(file, -1, ".htm"), "");
  EXPECT_EQ(ExportedPageName(env.Path("missing.aeh").string(), 1, ".htm"), "");
  AehBuilder old;
  old.SetI16(header::kVersion, 1);
  testing::WriteFile(env.Path("old.aeh"), old.Build());
  EXPECT_EQ(ExportedPageName(env.Path("old.aeh").string(), 3, ".htm"), "LinkToOldHypertext.htm");
}

// ---- Descriptions ----

TEST(Descriptions, EveryKindOfLink) {
  TestEnv env;
  TAEHset set(env.Services());
  TAEHoggetto* page = AddPage(set, "Intro");
  auto url = [&](const std::string& text) { return set.Register(set.NewLink(text)); };
  TAEHoggetto* file = AddObject(set, genLink, 4);
  file->SetStr(kEmbeddedFileName, 79, "report.pdf");
  TAEHoggetto* closer = AddSpecial(set, kSpecialCloseWindow);
  closer->SetStr(kSpecialWindow, kSpecialWindowCapacity, "help");
  TAEHoggetto* replace = AddSpecial(set, kSpecialToObject, page->GetId(), kReplaceWindow, 3);
  TAEHoggetto* frame = AddSpecial(set, kSpecialToObject, page->GetId(), kReplaceFrame);
  frame->SetStr(kSpecialWindow, kSpecialWindowCapacity, "main");
  frame->SetU8(kSpecialTargetKind, 1);
  TAEHoggetto* popup = AddSpecial(set, kSpecialToObject, page->GetId(), kPopupWindow);
  popup->SetStr(kSpecialWindow, kSpecialWindowCapacity, "pop");
  TAEHoggetto* inPage = AddSpecial(set, kSpecialToObject, -1, kAnchorInPage, 2);
  TAEHoggetto* scripted = AddSpecial(set, kSpecialNext);
  scripted->SetExtra(ExtraBlock("onMouseOver=\"x()\""));
  TAEHoggetto* importer = AddSpecial(set, kSpecialAutoImport);
  importer->SetContent("news.htm");
  TAEHoggetto* anchor = AddObject(set, shortObj, 14);
  anchor->SetI32(kShortValue, 7);
  TAEHoggetto* param = AddObject(set, shortObj, 27);
  param->SetI32(kShortValue, 9);
  TAEHoggetto* named = AddObject(set, shortObj, 28);
  named->SetContent("data.txt");
  TAEHoggetto* opener = AddObject(set, shortObj, 13);
  opener->SetI32(kShortValue, popup->GetId());
  TAEHoggetto* button = AddObject(set, bottoneCGI, 3);
  button->SetI32(kButtonLink, -1);
  button->SetStr(kFieldValue, 79, "Clear");
  TAEHoggetto* edit = AddObject(set, inputStat, 1);
  edit->SetStr(kObjectName, 79, "name");
  edit->SetStr(kFieldValue, 79, "Jo");
  edit->SetU8(kFieldHasValue, 1);
  TAEHoggetto* sound = AddObject(set, multiMedia, 1);
  sound->SetI32(kMediaReference, file->GetId());
  TAEHoggetto* keywords = AddSpecial(set, kSpecialKeywords);
  TAEHoggetto* previous = AddSpecial(set, kSpecialPrevious);
  TAEHoggetto* bare = AddSpecial(set, kSpecialAutoImport);
  // Made last: a free record's slot is taken by the next new object.
  TAEHoggetto* freed = AddObject(set, speclink, 0);

  struct Case {
    const TAEHoggetto* object;
    std::string description;
  };
  const Case cases[] = {
      {page, "Intro|Link to: Intro (0)"},
      {url("mailto:jo@example.org"), "jo@example.org|Link to e-mail: jo@example.org"},
      {url("http://example.org/"), "http://example.org/|Link to: http://example.org/"},
      {url("tarn://missing.aeh|4"), "missing.aeh Pag.:4|Link to hypertext: missing.aeh Pag.:4"},
      {file, "report.pdf|Link to file: report.pdf"},
      {closer, "Close window: help|Close window: help"},
      {keywords, "Keywords|Link to: keywords window"},
      {previous, "previous page|Link to: previous page"},
      {scripted, "next page|Link to: next page\r\n----------\r\nonMouseOver=\"x()\""},
      {importer, "news.htm|Auto import:news.htm"},
      {bare, "Auto import"},
      {replace, "Intro|Here we replace current window with the page: Intro #a3 @0"},
      {frame, "Intro|Here we replace frame \"main\" with the frame set: Intro @0"},
      {popup, "Intro|Here we create in popup \"pop\"  the page: Intro @0"},
      {inPage, "|Here we jump in current page, to anchor:  #a2"},
      {anchor, "Anchor: a7"},
      {param, "Parameter: #9"},
      {named, "File: data.txt"},
      {opener, "Intro|Here we create in popup \"pop\"  the page: Intro @0"},
      {button, "Button for reset: Clear"},
      {edit, "Edit box: name\r\n(Jo)"},
      {sound, "Sound: \r\n(report.pdf)"},
      {freed, "Undefined."},
  };
  for (const Case& c : cases) EXPECT_EQ(GetDescription(*c.object), c.description) << "kind " << c.object->Kind();
  EXPECT_EQ(LinkCaption(*param), "File #9");
  EXPECT_EQ(LinkCaption(*opener), "Intro");
  EXPECT_EQ(DescriptionHint("Intro|Link to: Intro (0)"), "Link to: Intro (0)");
  EXPECT_EQ(DescriptionHint("Anchor: a7"), "Anchor: a7");
}

TEST(Descriptions, InternalUrlShowsTheTargetPagesTitle) {
  TestEnv env;
  {
    TAEHset other(env.Services());
    AddPage(other, "Zero");
    AddPage(other, "Glossary");
    other.SetBackup(false);
    ASSERT_TRUE(other.SaveToFile(env.Path("terms.aeh")));
  }
  TAEHset set(env.Services());
  testing::WriteFile(env.Path("book.aeh"), "");
  ASSERT_TRUE(set.LoadFromFile(env.Path("book.aeh")));
  TAEHoggetto* link = set.Register(set.NewLink("tarn://terms.aeh|1"));
  EXPECT_EQ(GetDescription(*link), "terms.aeh Pag.:Glossary|Link to hypertext: terms.aeh Pag.:Glossary");
}

TEST(Descriptions, LinksThatLeadToThemselvesEnd) {
  TestEnv env;
  TAEHset set(env.Services());
  TAEHoggetto* loop = AddSpecial(set, kSpecialToObject);
  loop->SetI32(kSpecialTarget, loop->GetId());
  TAEHoggetto* echo = AddObject(set, shortObj, 13);
  echo->SetI32(kShortValue, echo->GetId());
  EXPECT_FALSE(GetDescription(*loop).empty());
  EXPECT_EQ(GetDescription(*echo), "");
  EXPECT_EQ(FollowSpecialLink(*loop), nullptr);
}

// ---- Keywords and markers ----

TEST(Keywords, TwentySlotsEachKeywordOnce) {
  TestEnv env;
  TAEHset set(env.Services());
  TAEHoggetto* page = AddPage(set, "Words");
  for (int k = 0; k < kPageKeywordSlots; ++k) EXPECT_TRUE(AddKeyword(*page, k));
  EXPECT_FALSE(AddKeyword(*page, 20));
  page->SetI32(kPageKeywords + 4 * 5, -1);
  EXPECT_FALSE(AddKeyword(*page, 3));  // already there: nothing changes
  EXPECT_EQ(page->I32(kPageKeywords + 4 * 5), -1);
  EXPECT_TRUE(AddKeyword(*page, 42));
  EXPECT_EQ(page->I32(kPageKeywords + 4 * 5), 42);
  EXPECT_EQ(PageKeywords(*page).size(), 20u);
  AddPage(set, "Other");
  EXPECT_EQ(PagesWithKeyword(set, 42), std::vector<int>{0});
}

TEST(ReferenceMarkers, OnlyWellFormedOnes) {
  const auto markers = FindReferenceMarkers("a !RefI:0500000a b !RefP:00000003!RefQ:00000001 !RefL:0100zz01 !RefF:0300000");
  ASSERT_EQ(markers.size(), 2u);
  EXPECT_EQ(markers[0].letter, 'I');
  EXPECT_EQ(markers[0].id, 0x0500000a);
  EXPECT_EQ(markers[0].at, 2u);
  EXPECT_EQ(markers[1].letter, 'P');
  EXPECT_EQ(markers[1].id, 3);
}

// ---- Reference bookkeeping ----

// A hypertext that uses one image, one page and one link every way a
// reference can be made.
class References : public ::testing::Test {
 protected:
  void SetUp() override {
    set = std::make_unique<TAEHset>(env.Services());
    target = AddPage(*set, "Target");
    image = set->AddImageData(WriteGif(), false, 3, 4);
    ASSERT_NE(image, nullptr);
    url = set->Register(set->NewLink("http://example.org/"));
    file = AddObject(*set, genLink, 4);
    link = AddSpecial(*set, kSpecialToObject, target->GetId());
    placed = set->Register(set->AddImmagineNew(image));
    placed->SetI32(kPlacedZones, url->GetId());
    word = AddObject(*set, keyword);
    word->SetName("alpha");
    page = AddPage(*set, "User", "<Z S0 >Go <$" + Hex8(target->GetId()) + ">there<%>, <$" + Hex8(link->GetId()) +
                                      ">here<%> and see <$" + Hex8(placed->GetId()) + ">.");
    page->SetI32(kPageBgImage, image->Index());
    page->SetI32(kPageSlideTarget, target->GetId());
    AddKeyword(*page, word->Index());
    page->SetExtra(ExtraBlock("<SCRIPT>x('!RefF:" + Hex8(file->GetId()) + "')</SCRIPT>"));
  }
  std::filesystem::path WriteGif() {
    testing::WriteFile(env.Path("pic.gif"), testing::SmallGif());
    return env.Path("pic.gif");
  }
  TestEnv env;
  std::unique_ptr<TAEHset> set;
  TAEHoggetto *target = nullptr, *image = nullptr, *url = nullptr, *file = nullptr, *link = nullptr,
              *placed = nullptr, *word = nullptr, *page = nullptr;
};

TEST_F(References, HowAnObjectContainsAnother) {
  TAEHoggetto* table = AddObject(*set, tabellaHtml, 2);
  std::string cells(8, '\0');
  const ObjectId stored = MakeObjectId(genLink, image->Index());
  for (int i = 0; i < 4; ++i) cells[4 + static_cast<std::size_t>(i)] = static_cast<char>((stored >> (8 * i)) & 0xFF);
  table->SetContent(cells);
  TAEHoggetto* opener = AddObject(*set, shortObj, 13);
  opener->SetI32(kShortValue, link->GetId());
  TAEHoggetto* media = AddObject(*set, multiMedia, 1);
  media->SetI32(kMediaReference, file->GetId());
  media->SetI32(kMediaAltImage, image->Index());
  TAEHoggetto* data = AddObject(*set, dbloc, 7);
  data->SetI32(kDataImage, image->Index());
  TAEHoggetto* headed = AddPage(*set, "Headed");
  headed->SetI32(kPageHeaderChoice, target->GetId());
  struct Case {
    TAEHoggetto* object;
    ObjectId id;
    int result;
  };
  const Case cases[] = {
      {page, target->GetId(), kAsNextSlide},      {page, link->GetId(), kInText},
      {page, image->GetId(), kInTextBackground},  {page, word->GetId(), kInText},
      {page, file->GetId(), kInScript},           {page, url->GetId(), kInClickableMap},
      {table, image->GetId(), kInTableBackground}, {headed, target->GetId(), kAsHeaderOrFooter},
      {link, target->GetId(), kInSpecialLink},    {opener, target->GetId(), kInOpenWindowObject},
      {placed, image->GetId(), kInText},          {placed, url->GetId(), kInClickableMap},
      {media, file->GetId(), kInMultimedia},      {media, image->GetId(), kAsAlternativeImage},
      {data, image->GetId(), kInDataSource},      {headed, image->GetId(), kNotContained},
      {target, link->GetId(), kNotContained},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsContainedIn(*c.object, c.id), c.result)
        << "object " << Hex8(c.object->GetId()) << " id " << Hex8(c.id);
  }
  page->SetI32(kPageBgImage, -1);
  EXPECT_EQ(IsContainedIn(*page, image->GetId()), kInText);  // through the placed image
  EXPECT_EQ(ContainmentText(kInOpenWindowObject), "in \"open window\" object");
  EXPECT_EQ(ContainmentText(kNotContained), "No references");
  EXPECT_EQ(ContainmentText(kInDataSource), "in local DB object");
}

TEST_F(References, CollectsPagesLinksAndFilesOnce) {
  std::vector<ObjectId> list;
  CollectReferences(*page, list);
  // The script's file first, then the tags in text order (the special link
  // gives its target, already listed), the placed image's zone link, and
  // the slide target (listed already).
  const std::vector<ObjectId> expected = {file->GetId(), target->GetId(), url->GetId()};
  EXPECT_EQ(list, expected);
  CollectReferences(*page, list);
  EXPECT_EQ(list, expected);
}

TEST_F(References, DeletingAnImageCancelsEveryUse) {
  set->SetHeaderI32(header::kBackgroundImage, image->Index());
  const ObjectId id = image->GetId();
  const ObjectId placedId = placed->GetId();
  RemoveReferencesEverywhere(*set, id);
  EXPECT_EQ(page->I32(kPageBgImage), -1);
  EXPECT_EQ(set->HeaderI32(header::kBackgroundImage), -1);
  // The placed image has nothing left to show: it is cleared and its tag cancelled.
  EXPECT_TRUE(placed->IsFree());
  const std::string markup = page->ReadContent().value();
  EXPECT_EQ(markup.find(Hex8(placedId)), std::string::npos);
  EXPECT_NE(markup.find("<$ffffffff>."), std::string::npos);
  EXPECT_NE(markup.find("<$" + Hex8(target->GetId()) + ">"), std::string::npos);
  EXPECT_TRUE(set->IsModified());
}

TEST_F(References, DeletingAPageCancelsLinksSlidesMarkersAndTheCover) {
  page->SetExtra(ExtraBlock("see !RefP:" + Hex8(target->GetId()) + " and !RefL:" + Hex8(url->GetId())));
  set->SetHeaderI32(header::kCoverPage, target->Index());
  set->SetHeaderI32(header::kHeaderPage, target->Index());
  RemoveReferencesEverywhere(*set, target->GetId());
  EXPECT_EQ(page->I32(kPageSlideTarget), -1);
  EXPECT_EQ(link->I32(kSpecialTarget), -1);
  EXPECT_EQ(set->HeaderI32(header::kCoverPage), 0);
  EXPECT_EQ(set->HeaderI32(header::kHeaderPage), -1);
  EXPECT_EQ(ExtraText(*page), "see !RefP:ffffffff and !RefL:" + Hex8(url->GetId()));
  const std::string markup = page->ReadContent().value();
  EXPECT_NE(markup.find("Go <$ffffffff>there"), std::string::npos);
  EXPECT_FALSE(placed->IsFree());
}

TEST_F(References, PrototypesThatReferToAFile) {
  TAEHoggetto* prototype = AddObject(*set, custom, 1);
  std::string ids(8, '\0');
  ids[0] = 4;
  const ObjectId fileId = file->GetId();
  for (int i = 0; i < 4; ++i) ids[4 + static_cast<std::size_t>(i)] = static_cast<char>((fileId >> (8 * i)) & 0xFF);
  prototype->SetContent(ids);
  AddObject(*set, custom, 1);
  std::vector<TAEHoggetto*> users;
  ReferencingObjects(*set, fileId, users);
  ASSERT_EQ(users.size(), 1u);
  EXPECT_EQ(users[0], prototype);
  RemoveReferencesTo(*prototype, fileId);
  users.clear();
  ReferencingObjects(*set, fileId, users);
  EXPECT_TRUE(users.empty());
}

}  // namespace
}  // namespace tarn::document
