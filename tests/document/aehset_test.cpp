// The container: new hypertexts, opening (valid, damaged and old files),
// registration, styles, pages, temporary names, images and the cache.
#include "document/aehset.h"

#include <gtest/gtest.h>

#include <chrono>

#include "base/bytes.h"
#include "base/cp1252.h"
#include "base/winpath.h"
#include "document/imagecodec.h"
#include "document/recordfields.h"
#include "document/aehtesto.h"
#include "document/hostilefiles.h"
#include "document/testfixtures.h"

namespace tarn::document {
namespace {

using testing::AehBuilder;
using testing::TestEnv;
using namespace field;
namespace fs = std::filesystem;

TEST(AehSetNew, HeaderDefaultsAndDefaultStyles) {
  TestEnv env;
  TAEHset set(env.Services());
  EXPECT_EQ(set.Title(), "Untitled");
  EXPECT_EQ(set.Header()[header::kHighestKind], 26);
  EXPECT_EQ(set.Version(), 2);
  EXPECT_EQ(set.Revision(), 2);
  EXPECT_EQ(set.HeaderString(header::kTextFont, 39), "Times New Roman");
  EXPECT_EQ(set.HeaderString(header::kFixedFont, 39), "Courier New");
  EXPECT_EQ(set.HeaderString(header::kAuthors, 79), "Tester");
  EXPECT_EQ(set.HeaderI32(header::kHeaderPage), -1);
  EXPECT_EQ(set.HeaderI32(header::kBackgroundColour), 0xC0C0C0);
  EXPECT_EQ(set.HeaderI32(header::kLinkColour), 0xFF0000);
  const std::uint8_t buttons[] = {0, 0, 0, 1, 0, 1};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(set.Header()[header::kContentsButton + i], buttons[i]) << i;
  ASSERT_EQ(set.CountOf(stileParagrafo), 2);
  EXPECT_EQ(set.DefaultStyle()->GetCaption(), "[no style]");
  EXPECT_EQ(set.DefaultCellStyle()->GetCaption(), "[no style intab]");
  EXPECT_EQ(set.DefaultStyle()->I16(86), 10);
  EXPECT_EQ(set.DefaultCellStyle()->I16(86), 0);
  EXPECT_EQ(set.DefaultCellStyle()->I16(88), 0);
  EXPECT_FALSE(set.IsModified());
  EXPECT_EQ(set.ProtectionPassword(), ".");
}

TEST(AehSetLoad, ReadsBuiltFileWithPagesStylesAndExtra) {
  TestEnv env;
  AehBuilder b;
  b.AddPage("Cover", "<Z S0 >Hello");
  b.AddPage("Second", "<Z S0 >World");
  // A page whose extra data carries its lookup name.
  std::string extra = std::string(4, '\0') + std::string("\x05\0\0\0", 4) + "intro" + "tail";
  AehBuilder::PutI32(b.records[0][1], 239, b.AddData(extra));
  AehBuilder::PutI32(b.records[0][1], 243, static_cast<std::int32_t>(extra.size()));
  testing::WriteFile(env.Path("a.aeh"), b.Build());

  TAEHset set(env.Services());
  ASSERT_TRUE(set.LoadFromFile(env.Path("a.aeh")));
  EXPECT_EQ(set.Title(), "Test");
  ASSERT_EQ(set.CountOf(testoHtml), 2);
  auto* second = dynamic_cast<TAEHtesto*>(set.GetObject(testoHtml, 1));
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->Title(), "Second");
  EXPECT_EQ(second->Markup(), std::string("<Z S0 >World\0", 13));
  EXPECT_EQ(set.FindPage("INTRO"), second);
  EXPECT_EQ(set.FindPage("nothing"), nullptr);
  // No styles in the file: the two defaults are made.
  EXPECT_EQ(set.CountOf(stileParagrafo), 2);
  EXPECT_TRUE(env.messages.entries.empty());
  EXPECT_FALSE(set.IsModified());
}

struct BadHeaderCase {
  const char* name;
  void (*mutate)(AehBuilder&);
  bool loads;
  const char* message;  // expected before "Error reading file:", or ""
};

void PrintTo(const BadHeaderCase& c, std::ostream* os) { *os << c.name; }

class AehSetHeaderTest : public ::testing::TestWithParam<BadHeaderCase> {};

TEST_P(AehSetHeaderTest, AcceptsOrRefuses) {
  const auto& c = GetParam();
  TestEnv env;
  AehBuilder b;
  b.AddPage("P", "<Z S0 >x");
  c.mutate(b);
  testing::WriteFile(env.Path("h.aeh"), b.Build());
  TAEHset set(env.Services());
  EXPECT_EQ(set.LoadFromFile(env.Path("h.aeh")), c.loads);
  if (c.loads) {
    EXPECT_EQ(set.CountOf(testoHtml), 1);
    EXPECT_TRUE(env.messages.entries.empty());
  } else {
    ASSERT_FALSE(env.messages.entries.empty());
    if (*c.message) {
      EXPECT_EQ(env.messages.entries.front().text.substr(0, std::string(c.message).size()), c.message);
    }
    EXPECT_EQ(env.messages.entries.back().text, "Error reading file:" + env.Path("h.aeh").string());
    EXPECT_EQ(set.Title(), "Untitled");
    EXPECT_EQ(set.CountOf(testoHtml), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AehSetHeaderTest,
    ::testing::Values(
        BadHeaderCase{"lower_magic", [](AehBuilder& b) { b.header.replace(0, 4, "brix"); }, true, ""},
        BadHeaderCase{"version_0", [](AehBuilder& b) { b.SetI16(1621, 0); }, true, ""},
        BadHeaderCase{"version_negative", [](AehBuilder& b) { b.SetI16(1621, -3); }, true, ""},
        BadHeaderCase{"k_26", [](AehBuilder& b) { b.highestKind = 26; }, true, ""},
        BadHeaderCase{"wrong_magic", [](AehBuilder& b) { b.header.replace(0, 4, "BRIC"); }, false,
                      "Unrecognized format."},
        BadHeaderCase{"version_3", [](AehBuilder& b) { b.SetI16(1621, 3); }, false, "Unsupported file.\r"},
        BadHeaderCase{"k_27", [](AehBuilder& b) { b.highestKind = 27; }, false, "Unsupported file.\r"},
        BadHeaderCase{"version_1_k_7", [](AehBuilder& b) { b.SetI16(1621, 1); b.highestKind = 7; }, false,
                      "Attenzione: file salvato"},
        BadHeaderCase{"record_larger_than_buffer", [](AehBuilder& b) { b.sizes[0] = 700; }, true, ""},
        BadHeaderCase{"negative_size", [](AehBuilder& b) { b.sizes[0] = -292; }, false, ""},
        BadHeaderCase{"tiny_record_size", [](AehBuilder& b) { b.sizes[0] = 1; }, false, ""}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(AehSetLoad, TypeTableClaimingMillionsOfRecordsFailsFast) {
  TestEnv env;
  AehBuilder b;
  b.AddPage("P", "<Z S0 >x");
  std::string bytes = b.Build();
  // Count of kind 0 (type table entry 0, third field) claims 5,000,000 pages.
  AehBuilder::PutI32(bytes, 1978 + 8, 5'000'000);
  testing::WriteFile(env.Path("m.aeh"), bytes);
  TAEHset set(env.Services());
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(set.LoadFromFile(env.Path("m.aeh")));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_TRUE(env.messages.Saw("Error reading file:"));
  EXPECT_EQ(set.CountOf(testoHtml), 0);
}

// Files that claim records or data many times over what their bytes hold:
// refused before anything is made of them, with the reason.
TEST(AehSetLoad, FilesClaimingMoreThanTheirSizeAreRefused) {
  TestEnv env;
  constexpr std::size_t kSize = 256 << 10;
  struct Case {
    const char* name;
    std::string bytes;
    const char* reason;
  };
  const Case cases[] = {
      {"overlapping records", testing::OverlappingRecords(kSize), "records, more than its"},
      {"overlapping frame descriptions", testing::OverlappingFrameDescriptions(kSize),
       "The data blocks of the file's records overlap."},
      {"overlapping image data", testing::OverlappingImageData(kSize),
       "The data of the file's images and files overlap."},
  };
  for (const Case& c : cases) {
    testing::WriteFile(env.Path("crafted.aeh"), c.bytes);
    env.messages.Clear();
    TAEHset set(env.Services());
    EXPECT_FALSE(set.LoadFromFile(env.Path("crafted.aeh"))) << c.name;
    EXPECT_TRUE(env.messages.Saw("Error reading file:" + env.Path("crafted.aeh").string() + "\r")) << c.name;
    EXPECT_TRUE(env.messages.Saw(c.reason)) << c.name;
    EXPECT_EQ(set.CountOf(testoHtml), 0) << c.name;
  }
  // As many small records as fit in the bound are read.
  testing::WriteFile(env.Path("tiny.aeh"), testing::TinyRecords(64 << 10));
  TAEHset set(env.Services());
  ASSERT_TRUE(set.LoadFromFile(env.Path("tiny.aeh")));
  EXPECT_EQ(set.CountOf(shortObj), 4096);
}

TEST(AehSetLoad, ShortEmbeddedRecordsGetNamesUniqueAmongAllEmbeddedObjects) {
  TestEnv env;
  AehBuilder b;
  b.sizes[genLink] = 92;
  b.sizes[immagine] = 666;
  for (const char* name : {"same.txt", "SAME.txt", "keep.txt", "same.TXT"}) {
    std::string file = AehBuilder::BlankRecord(92);
    file[4] = 4;
    AehBuilder::PutStr(file, 5, name);
    b.records[genLink].push_back(file);
  }
  std::string image = AehBuilder::BlankRecord(666);
  image[4] = 0;
  AehBuilder::PutStr(image, 94, "Keep.txt");
  b.records[immagine] = {image};
  testing::WriteFile(env.Path("names.aeh"), b.Build());
  TAEHset set(env.Services());
  ASSERT_TRUE(set.LoadFromFile(env.Path("names.aeh")));
  EXPECT_EQ(set.GetObject(genLink, 0)->FileName(), "same.txt");
  EXPECT_EQ(set.GetObject(genLink, 2)->FileName(), "keep.txt");
  std::vector<std::string> names;
  for (int i = 0; i < 4; ++i) names.push_back(base::UpperCase(set.GetObject(genLink, i)->FileName()));
  names.push_back(base::UpperCase(set.GetObject(immagine, 0)->FileName()));
  for (int i : {1, 3}) EXPECT_EQ(set.GetObject(genLink, i)->FileName().substr(0, 2), "ed");
  EXPECT_EQ(set.GetObject(immagine, 0)->FileName().substr(0, 2), "ed");
  std::sort(names.begin(), names.end());
  EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end());
}

TEST(AehSetLoad, BlocksSharedByRecordsAreReadOnceAndFreeRecordsIgnored) {
  TestEnv env;
  AehBuilder b;
  b.AddPage("One", "<Z S0 >shared text");
  std::string second = b.records[0][0];
  AehBuilder::PutStr(second, 5, "Two");
  std::string deleted = second;
  deleted[4] = 3;  // a free page whose stale fields point anywhere
  AehBuilder::PutI32(deleted, 185, 0x7FFFFFF0);
  b.records[0].push_back(second);
  b.records[0].push_back(deleted);
  testing::WriteFile(env.Path("s.aeh"), b.Build());
  TAEHset set(env.Services());
  ASSERT_TRUE(set.LoadFromFile(env.Path("s.aeh")));
  EXPECT_EQ(set.GetObject(testoHtml, 1)->ReadContent(), set.GetObject(testoHtml, 0)->ReadContent());
  EXPECT_FALSE(set.GetObject(testoHtml, 2)->Content().Present());
}

TEST(AehSetLoad, ShortEmptyAndMissingFiles) {
  TestEnv env;
  TAEHset set(env.Services());
  set.SetTitle("Kept");
  EXPECT_FALSE(set.LoadFromFile(env.Path("missing.aeh")));
  EXPECT_EQ(env.messages.entries.at(0).kind, "warning");
  EXPECT_EQ(env.messages.entries.at(0).text, env.Path("missing.aeh").string() + " doesn't exist");
  EXPECT_EQ(set.Title(), "Kept");

  testing::WriteFile(env.Path("Short File.aeh"), std::string(100, 'x'));
  env.messages.Clear();
  EXPECT_FALSE(set.LoadFromFile(env.Path("Short File.aeh")));
  ASSERT_EQ(env.messages.entries.size(), 1u);
  EXPECT_EQ(env.messages.entries[0].text, "Error reading file:" + env.Path("Short File.aeh").string());

  testing::WriteFile(env.Path("MyEmptyHypertext.aeh"), "");
  env.messages.Clear();
  EXPECT_TRUE(set.LoadFromFile(env.Path("MyEmptyHypertext.aeh")));
  EXPECT_TRUE(env.messages.entries.empty());
  EXPECT_EQ(set.AEHFileName(), env.Path("MyEmptyHypertext.aeh"));
  EXPECT_EQ(set.ExpPrefix(), "myemptyh");
}

TEST(AehSetLoad, VersionOneConvertsClickMapsAndArchives) {
  TestEnv env;
  AehBuilder b;
  b.SetI16(1621, 1);
  b.highestKind = 24;
  b.AddPage("P", "<Z S0 >x");
  std::string map = AehBuilder::BlankRecord(667);
  map[4] = 0;
  AehBuilder::PutStr(map, 94, "map.gif");
  std::string gif = testing::SmallGif();
  AehBuilder::PutI32(map, 0, b.AddData(gif));
  AehBuilder::PutI32(map, 174, static_cast<std::int32_t>(gif.size()));
  b.records[6] = {map, map};
  std::string zip = AehBuilder::BlankRecord(93);
  zip[4] = 4;
  AehBuilder::PutStr(zip, 5, "old.zip");
  AehBuilder::PutI32(zip, 85, 0);
  b.records[2] = {zip};
  // One image already in kind 5, so the converted ones come after it.
  std::string image = map;
  AehBuilder::PutStr(image, 94, "first.gif");
  b.records[5] = {image};
  testing::WriteFile(env.Path("v1.aeh"), b.Build());

  TAEHset set(env.Services());
  ASSERT_TRUE(set.LoadFromFile(env.Path("v1.aeh")));
  EXPECT_EQ(set.CountOf(mappaClic), 0);
  EXPECT_EQ(set.CountOf(zipLink), 0);
  ASSERT_EQ(set.CountOf(immagine), 3);
  EXPECT_EQ(set.CountOf(genLink), 1);
  TAEHoggetto* converted = set.GetObject(mappaClic, 1);
  ASSERT_NE(converted, nullptr);
  EXPECT_EQ(converted->Kind(), immagine);
  EXPECT_EQ(converted->Index(), 2);
  EXPECT_EQ(converted->I32(662), 1);
  EXPECT_EQ(converted->GetRevision(), set.Revision() - 1);
  EXPECT_EQ(set.GetObjectById(MakeObjectId(zipLink, 0)), set.GetObject(genLink, 0));
  // Both click maps had the same file name; the second one got a unique name.
  EXPECT_NE(set.GetObject(immagine, 1)->FileName(), set.GetObject(immagine, 2)->FileName());
  // The upgraded header.
  EXPECT_EQ(set.ExpPrefix(), "v1");
  EXPECT_EQ(set.HeaderI32(header::kHeaderPage), -1);
  EXPECT_EQ(set.RemapList().size(), 3u);
}

TEST(AehSetRegister, FreeSlotsAreReusedAndSlotsReplaced) {
  TestEnv env;
  TAEHset set(env.Services());
  TAEHoggetto* a = set.Register(set.NewObject(testoHtml));
  TAEHoggetto* b = set.Register(set.NewObject(testoHtml));
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->Index(), 1);
  EXPECT_TRUE(set.IsModified());
  a->Clear();  // deleting a page leaves a free record in its slot
  EXPECT_TRUE(a->IsFree());
  TAEHoggetto* c = set.Register(set.NewObject(testoHtml));
  EXPECT_EQ(c->Index(), 0);
  EXPECT_EQ(set.CountOf(testoHtml), 2);

  // An explicit index replaces what is there.
  auto replacement = set.NewObject(testoHtml);
  replacement->SetName("Replacement");
  EXPECT_EQ(set.RegisterObject(replacement, 1), 1);
  EXPECT_EQ(replacement, nullptr);
  EXPECT_EQ(set.GetObject(testoHtml, 1)->GetCaption(), "Replacement");

  // A kind change empties the slot; registering at an empty slot fails, the
  // free search fills it.
  auto moved = set.ChangeKind(set.GetObject(testoHtml, 1), keyword);
  ASSERT_NE(moved, nullptr);
  EXPECT_FALSE(moved->IsRegistered());
  EXPECT_EQ(set.GetObject(testoHtml, 1), nullptr);
  auto page = set.NewObject(testoHtml);
  EXPECT_EQ(set.RegisterObject(page, 1), -1);
  EXPECT_NE(page, nullptr);
  EXPECT_EQ(set.RegisterObject(page, -1), 1);

  EXPECT_EQ(set.GetObject(testoHtml, 99), nullptr);
  EXPECT_EQ(set.GetObject(testoHtml, -1), nullptr);
  EXPECT_EQ(set.GetObject(none, 0), nullptr);
  EXPECT_EQ(set.CountOf(testoHtmlRtf), 0);
}

TEST(AehSetStyles, UniqueNamesAndLookup) {
  TestEnv env;
  TAEHset set(env.Services());
  auto add = [&](const std::string& name) {
    auto s = set.NewObject(stileParagrafo);
    s->SetName(name);
    return set.Register(std::move(s));
  };
  add("Body");
  EXPECT_EQ(set.UniqueStyleName("Body"), "Body 1");
  add("Body 1");
  EXPECT_EQ(set.UniqueStyleName("Body"), "Body 2");
  EXPECT_EQ(set.UniqueStyleName("Heading"), "Heading");
  EXPECT_EQ(set.StyleIndex("BODY"), 2);
  EXPECT_EQ(set.StyleIndex("missing"), -1);
  TAEHoggetto* dup = add("body");
  set.MakeStyleNamesUnique();
  EXPECT_EQ(dup->GetCaption(), "body 2");
  EXPECT_EQ(set.StyleNames(), (std::vector<std::string>{"Body", "Body 1", "body 2", "[no style intab]", "[no style]"}));
}

TEST(AehSetPages, BrowseSequence) {
  TestEnv env;
  TAEHset set(env.Services());
  // (group, number) per page.
  const std::pair<int, int> seq[] = {{1, 0}, {1, 5}, {1, 2}, {2, 3}, {1, -1}};
  for (auto [group, number] : seq) {
    auto p = set.NewObject(testoHtml);
    p->SetI16(77, static_cast<std::int16_t>(group));
    p->SetI16(79, static_cast<std::int16_t>(number));
    set.Register(std::move(p));
  }
  EXPECT_EQ(set.NextInSequence(0), 2);
  EXPECT_EQ(set.NextInSequence(2), 1);
  EXPECT_EQ(set.NextInSequence(1), 1);
  EXPECT_EQ(set.PreviousInSequence(1), 2);
  EXPECT_EQ(set.PreviousInSequence(0), 0);
  EXPECT_EQ(set.NextInSequence(3), 3);
  EXPECT_EQ(set.NextInSequence(4), 4);
}

TEST(AehSetFiles, TemporaryNamesAndEmbeddedNames) {
  TestEnv env;
  fs::path folder;
  {
    TAEHset set(env.Services());
    folder = set.TempFolder();
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(folder.filename().string().size(), 17u);
    const fs::path first = set.TempFileName("C:\\dir\\pic.gif");
    EXPECT_EQ(first, folder / "pic.gif");
    testing::WriteFile(first, "x");
    const fs::path second = set.TempFileName("pic.gif");
    EXPECT_NE(second, first);
    EXPECT_EQ(second.filename().string().substr(0, 2), "re");
    EXPECT_EQ(second.extension(), ".gif");

    testing::WriteFile(env.Path("doc.txt"), "payload");
    TAEHoggetto* file = set.AddEmbeddedFile(env.Path("doc.txt"));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->FileName(), "doc.txt");
    EXPECT_EQ(file->Subtype(), 4);
    EXPECT_EQ(set.UniqueEmbeddedName("/x/DOC.TXT").substr(0, 2), "ed");
    EXPECT_EQ(set.UniqueEmbeddedName("/x/DOC.TXT").size(), 12u);
    EXPECT_EQ(set.UniqueEmbeddedName("/x/other.txt"), "other.txt");
  }
  EXPECT_FALSE(fs::exists(folder));
}

TEST(AehSetImages, SameGifTwiceGivesFirstObjectAndBmpBecomesGif) {
  TestEnv env;
  TAEHset set(env.Services());
  testing::WriteFile(env.Path("a.gif"), testing::SmallGif(5, 4));
  testing::WriteFile(env.Path("b.gif"), testing::SmallGif(5, 4));
  TAEHoggetto* first = set.AddImageFile(env.Path("a.gif"));
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->Subtype(), 0);
  EXPECT_EQ(first->I16(85), 5);
  EXPECT_EQ(first->I16(87), 4);
  EXPECT_EQ(first->GetCaption(), "a");
  EXPECT_EQ(first->I32(170), -2);
  EXPECT_EQ(set.AddImageFile(env.Path("b.gif")), first);
  EXPECT_EQ(set.CountOf(immagine), 1);

  testing::WriteFile(env.Path("pic.bmp"), EncodeBmp(testing::SmallBitmap(6, 2, false)));
  TAEHoggetto* bmp = set.AddImageFile(env.Path("pic.bmp"));
  ASSERT_NE(bmp, nullptr);
  EXPECT_EQ(bmp->FileName(), "pic.gif");
  EXPECT_EQ(bmp->Subtype(), 0);
  auto content = bmp->ReadContent();
  ASSERT_TRUE(content);
  EXPECT_EQ(content->substr(0, 3), "GIF");
  EXPECT_FALSE(fs::exists(set.TempFolder() / "pic.gif"));

  testing::WriteFile(env.Path("notes.txt"), "text");
  EXPECT_EQ(set.AddImageFile(env.Path("notes.txt")), nullptr);
  testing::WriteFile(env.Path("broken.png"), "\x89PNG\r\n\x1A\n garbage");
  EXPECT_EQ(set.AddImageFile(env.Path("broken.png")), nullptr);
  EXPECT_EQ(set.AddImageFile(env.Path("missing.gif")), nullptr);
  testing::WriteFile(env.Path("broken.gif"), "GIF89a garbage");
  EXPECT_EQ(set.AddImageFile(env.Path("broken.gif")), nullptr);
}

// PNG is kept as GIF (few colours, or transparency) or as JPEG (a
// photograph): the file format stores no other pictures.
TEST(AehSetImages, PngBecomesGifOrJpeg) {
  struct Case {
    const char* name;
    base::Bitmap bitmap;
    std::string stored;  // file name
    int subtype;
    std::int32_t transparency;
  };
  base::Bitmap clearPhoto = testing::PhotoBitmap(40, 30);
  clearPhoto.pixels[0] = 0;
  clearPhoto.transparent = true;
  const Case cases[] = {
      {"few colours", testing::SmallBitmap(6, 2, false), "icon.gif", 0, -2},
      {"transparent", testing::SmallBitmap(6, 2, true), "clear.gif", 0, -1},
      {"photograph", testing::PhotoBitmap(40, 30), "photo.jpg", 1, -2},
      {"transparent photograph", clearPhoto, "clearphoto.gif", 0, -1},
  };
  for (const Case& c : cases) {
    TestEnv env;
    TAEHset set(env.Services());
    const fs::path file = env.Path(base::ChangeFileExt(c.stored, ".png"));
    testing::WriteFile(file, testing::PngOf(c.bitmap));
    TAEHoggetto* image = set.AddImageFile(file);
    ASSERT_NE(image, nullptr) << c.name;
    EXPECT_EQ(image->FileName(), c.stored) << c.name;
    EXPECT_EQ(image->Subtype(), c.subtype) << c.name;
    EXPECT_EQ(image->I32(kImageTransparency), c.transparency) << c.name;
    EXPECT_EQ(image->I16(kImageWidth), c.bitmap.width) << c.name;
    EXPECT_EQ(image->I16(kImageHeight), c.bitmap.height) << c.name;
    // What is stored reads back as the picture.
    const auto stored = DecodeImage(image->ReadContent().value_or(""));
    ASSERT_TRUE(stored) << c.name;
    EXPECT_EQ(stored->width, c.bitmap.width) << c.name;
    if (c.subtype == 0 && c.bitmap.pixels.size() < 256) {
      EXPECT_EQ(stored->pixels, c.bitmap.pixels) << c.name;
    }
  }
}

TEST(AehSetImages, CacheEvictsFirstInFirstOut) {
  TestEnv env;
  TAEHset set(env.Services());
  std::vector<TAEHoggetto*> images;
  for (int i = 0; i < 21; ++i) {
    const auto path = env.Path("img" + std::to_string(i) + ".gif");
    testing::WriteFile(path, testing::SmallGif(i + 1, 2));
    images.push_back(set.AddImageFile(path));
    ASSERT_NE(images.back(), nullptr);
  }
  for (int i = 0; i < 20; ++i) ASSERT_NE(images[static_cast<std::size_t>(i)]->GetPicture(), nullptr);
  EXPECT_EQ(set.CacheSize(), 20u);
  EXPECT_NE(set.CachedPicture(images[0]), nullptr);
  TAEHpicture* last = images[20]->GetPicture();
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->Width(), 21);
  EXPECT_EQ(set.CacheSize(), 20u);
  EXPECT_EQ(set.CachedPicture(images[0]), nullptr);
  EXPECT_NE(set.CachedPicture(images[1]), nullptr);

  set.CachePicture(set.DefaultStyle(), std::make_unique<TAEHpicture>());
  EXPECT_TRUE(env.messages.Saw("What happens? Image cache bug?"));
  images[1]->Clear();
  EXPECT_EQ(set.CachedPicture(images[1]), nullptr);
}

TEST(AehSetHeader, ProtectionPassword) {
  TestEnv env;
  TAEHset set(env.Services());
  set.SetHeaderString(header::kPassword, 16, "secret");
  EXPECT_EQ(set.ProtectionPassword(), ".");
  set.Header()[header::kReadOnly] = 1;
  EXPECT_EQ(set.ProtectionPassword(), "secret");
  base::PutI16(set.Header(), header::kVersion, 1);
  EXPECT_EQ(set.ProtectionPassword(), "");
}

}  // namespace
}  // namespace tarn::document
