// Object records: clearing and initialising, free markers, upgrades of old
// records, the transfer format, content equality and pictures.
#include "document/aehoggetto.h"

#include <gtest/gtest.h>

#include "base/bytes.h"
#include "document/aehset.h"
#include "document/aehtesto.h"
#include "document/testfixtures.h"
#include "platform/clipboard.h"

namespace tarn::document {
namespace {

using testing::AehBuilder;
using testing::TestEnv;

struct FieldCase {
  int kind;
  int offset;
  int width;  // 1, 2 or 4 bytes
  std::int64_t expected;
};

TEST(AehObjectClear, FieldDefaultsPerKind) {
  TestEnv env;
  TAEHset set(env.Services());
  const FieldCase cases[] = {
      {testoHtml, 4, 1, 3},        {testoHtml, 101, 4, 0xC0C0C0}, {testoHtml, 85, 4, -1},
      {testoHtml, 93, 4, 0xFF0000}, {testoHtml, 195, 1, 2},       {testoHtml, 191, 2, 1033},
      {testoHtml, 189, 1, 1},       {testoHtml, 196, 4, 2},       {testoHtml, 105, 4, -1},
      {internetLink, 4, 1, 5},      {genLink, 89, 4, 2},          {immagine, 4, 1, 3},
      {immagine, 666, 1, 0},        {programma, 4, 1, 1},         {tabellaHtml, 5, 1, 1},
      {tabellaHtml, 54, 1, 1},      {tabellaHtml, 88, 1, 100},    {tabellaHtml, 90, 1, 2},
      {tabellaHtml, 97, 4, 0},      {tabellaHtml, 211, 4, static_cast<std::int32_t>(0x80000014u)},
      {tabellaHtml, 219, 1, 2},     {tabellaHtml, 205, 2, 0},     {mappaFrame, 4, 1, 1},
      {speclink, 4, 1, 0},          {dbloc, 46, 1, 0},            {stileParagrafo, 72, 2, 12},
      {stileParagrafo, 79, 2, -1},  {stileParagrafo, 81, 4, 0xFF0000}, {stileParagrafo, 94, 2, static_cast<std::int16_t>(0x8300)},
      {stileParagrafo, 98, 1, 1},   {stileParagrafo, 4, 1, 0},    {stileParagrafo, 200, 1, 0},
  };
  for (const auto& c : cases) {
    auto object = std::make_unique<TAEHoggetto>();
    object->SetType(c.kind);
    object->SetOwner(&set);
    object->Clear();
    std::int64_t got = c.width == 1 ? object->U8(c.offset) : c.width == 2 ? object->I16(c.offset) : object->I32(c.offset);
    EXPECT_EQ(got, c.expected) << "kind " << c.kind << " offset " << c.offset;
  }
  auto frame = set.NewObject(mappaFrame);
  EXPECT_EQ(frame->GetCaption(), "Map");
  EXPECT_EQ(set.NewObject(speclink)->Str(19, 19), "Kr");
  EXPECT_EQ(set.NewObject(custom)->GetCaption(), "New prototype");
  EXPECT_EQ(set.NewObject(dbloc)->GetCaption(), "db");
  EXPECT_EQ(set.NewObject(stileParagrafo)->Str(39, 32), "Times New Roman");
  auto page = set.NewObject(testoHtml);
  EXPECT_EQ(page->GetCaption(), "Untitled");
  EXPECT_EQ(page->ReadContent().value(), std::string("<Z S0 >\0", 8));
}

TEST(AehObjectClear, FreeMarkersAfterClearAndInitNew) {
  TestEnv env;
  TAEHset set(env.Services());
  const int subtypeAfterInit[] = {0, 4, -1, 4, -1, 0, -1, -1, 2, 2, 1, 1, 1, 7, -1, -1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
  for (int kind = 0; kind <= multiMedia; ++kind) {
    auto object = std::make_unique<TAEHoggetto>();
    object->SetType(kind);
    object->SetOwner(&set);
    object->Clear();
    const bool neverFree = kind == zipLink || kind == mappaClic || kind == spazio4 || kind == spazio5;
    EXPECT_EQ(object->IsFree(), !neverFree && kind != fontFace) << "cleared kind " << kind;
    object->InitNew();
    if (subtypeAfterInit[kind] >= 0) {
      EXPECT_EQ(object->Subtype(), subtypeAfterInit[kind]) << kind;
    }
    if (kind != keyword && kind != programma) {
      EXPECT_FALSE(object->IsFree()) << "new kind " << kind;
    }
  }
  auto word = set.NewObject(keyword);
  EXPECT_TRUE(word->IsFree());
  word->SetName("index");
  EXPECT_FALSE(word->IsFree());
}

TEST(AehObjectRead, OldRecordsAreUpgraded) {
  TestEnv env;
  AehBuilder b;
  b.sizes[0] = 242;  // an early release's page record
  b.AddPage("Old", "older text");
  std::string link = AehBuilder::BlankRecord(133);
  link[4] = 4;
  AehBuilder::PutStr(link, 5, "http://example.org/");
  b.records[1] = {link};
  std::string button = AehBuilder::BlankRecord(190);
  button[4] = 1;
  b.sizes[22] = 190;
  b.records[22] = {button};
  std::string media = AehBuilder::BlankRecord(46);
  media[4] = 1;
  AehBuilder::PutI32(media, 17, 7);
  b.records[24] = {media};
  testing::WriteFile(env.Path("old.aeh"), b.Build());

  TAEHset set(env.Services());
  ASSERT_TRUE(set.LoadFromFile(env.Path("old.aeh")));
  TAEHoggetto* page = set.GetObject(testoHtml, 0);
  EXPECT_EQ(page->U8(195), 1);
  EXPECT_EQ(page->I16(191), 1033);
  EXPECT_EQ(page->GetRevision(), set.Revision() - 1);
  EXPECT_EQ(page->I16(221), 5);
  EXPECT_EQ(page->I32(231), -1);
  // Bytes past the stored size read as 0xFF.
  EXPECT_EQ(page->U8(250), 0xFF);
  EXPECT_EQ(set.GetObject(internetLink, 0)->Subtype(), 7);
  EXPECT_EQ(set.GetObject(bottoneCGI, 0)->I16(186), -1);
  EXPECT_EQ(set.GetObject(multiMedia, 0)->I32(17), MakeObjectId(genLink, 7));
}

TEST(AehObjectTransfer, RoundTripAndDamagedStreams) {
  TestEnv env;
  TAEHset set(env.Services());
  auto page = set.NewObject(testoHtml);
  page->SetName("Transfer");
  page->SetExtra("extra-bytes");
  page->SetFilePath("/tmp/some file");
  TAEHoggetto* registered = set.Register(std::move(page));
  std::string stream;
  registered->SaveToStream(stream);
  EXPECT_EQ(stream.size(), 4u + 1 + 668 + 4 + 14 + 4 + 4 + 8 + 4 + 11);

  TAEHtesto copy;
  base::ByteReader reader(stream);
  ASSERT_TRUE(copy.LoadFromStream(reader));
  EXPECT_EQ(copy.Index(), registered->Index());
  EXPECT_TRUE(std::equal(copy.Record().begin(), copy.Record().end(), registered->Record().begin()));
  EXPECT_EQ(copy.FilePath(), "/tmp/some file");
  EXPECT_EQ(copy.ReadContent().value(), registered->ReadContent().value());
  EXPECT_EQ(copy.Extra().View(), "extra-bytes");

  // Cut after the path: content and extra are absent.
  TAEHoggetto cut;
  base::ByteReader shortReader(std::string_view(stream).substr(0, 4 + 1 + 668 + 4 + 14 + 2));
  ASSERT_TRUE(cut.LoadFromStream(shortReader));
  EXPECT_FALSE(cut.Content().Present());
  EXPECT_FALSE(cut.Extra().Present());
  // A length larger than the stream never reads beyond it.
  std::string bogus = stream;
  base::PutI32({reinterpret_cast<std::uint8_t*>(bogus.data()), bogus.size()}, 673, 1 << 30);
  TAEHoggetto damaged;
  base::ByteReader bogusReader(bogus);
  EXPECT_FALSE(damaged.LoadFromStream(bogusReader));

  // Another kind into a registered object: reported, index and kind kept.
  auto style = set.NewObject(stileParagrafo);
  style->SetName("Loaded");
  std::string styleStream;
  style->SaveToStream(styleStream);
  base::ByteReader styleReader(styleStream);
  registered->LoadFromStream(styleReader);
  EXPECT_TRUE(env.messages.Saw("In un TAEHoggetto registrato si pu"));
  EXPECT_EQ(registered->Kind(), testoHtml);
}

TEST(AehObjectClear, ClearingAPageClearsWhatItPlaces) {
  TestEnv env;
  TAEHset set(env.Services());
  testing::WriteFile(env.Path("p.gif"), testing::SmallGif());
  TAEHoggetto* image = set.AddImageFile(env.Path("p.gif"));
  ASSERT_NE(image, nullptr);
  TAEHoggetto* placed = set.Register(set.AddImmagineNew(image));
  TAEHoggetto* table = set.Register(set.NewObject(tabellaHtml));
  auto special = set.NewObject(speclink);
  TAEHoggetto* link = set.Register(std::move(special));
  placed->SetI32(73, link->GetId());  // the first click zone's link
  TAEHoggetto* other = set.Register(set.NewObject(testoHtml));
  char markup[128];
  std::snprintf(markup, sizeof markup, "<Z S0 ><$%08x>x<%%><$%08x><$%08x>", static_cast<unsigned>(other->GetId()),
                static_cast<unsigned>(placed->GetId()), static_cast<unsigned>(table->GetId()));
  auto page = set.NewObject(testoHtml);
  page->SetContent(markup);
  TAEHoggetto* registered = set.Register(std::move(page));
  registered->Clear();
  EXPECT_TRUE(registered->IsFree());
  EXPECT_TRUE(placed->IsFree());
  EXPECT_TRUE(table->IsFree());
  EXPECT_TRUE(link->IsFree());
  EXPECT_FALSE(image->IsFree());
  EXPECT_FALSE(other->IsFree());
}

TEST(AehObjectCompare, SameContent) {
  TestEnv env;
  TAEHset set(env.Services());
  auto a = set.NewLink("http://Example.org");
  auto b = set.NewLink("http://example.org");
  auto c = set.NewLink("http://Example.org");
  EXPECT_FALSE(a->SameContent(*b));
  EXPECT_TRUE(a->SameContent(*c));
  EXPECT_EQ(a->Subtype(), 7);
  EXPECT_EQ(set.NewLink("tarn:x.aeh|3")->Subtype(), 6);
  EXPECT_EQ(set.NewLink("mailto:a@b")->Subtype(), 8);
  EXPECT_EQ(set.NewLink("ftp://x")->Subtype(), 4);
  EXPECT_EQ(set.NewLink("HTTP://x")->Subtype(), 4);

  auto i1 = set.NewObject(immagine);
  auto i2 = set.NewObject(immagine);
  i1->SetContent(testing::SmallGif());
  i2->SetContent(testing::SmallGif());
  EXPECT_TRUE(i1->SameContent(*i2));
  i2->SetContent(testing::SmallGif(5, 3));
  EXPECT_FALSE(i1->SameContent(*i2));

  // Styles: the definition bytes decide; names count except for the defaults.
  auto s1 = set.NewObject(stileParagrafo);
  s1->SetName("[no style]");
  EXPECT_TRUE(set.DefaultStyle()->SameContent(*s1));
  s1->SetName("Other");
  EXPECT_TRUE(set.DefaultStyle()->SameContent(*s1));
  EXPECT_FALSE(s1->SameContent(*set.DefaultStyle()));
  EXPECT_FALSE(set.DefaultStyle()->SameContent(*set.DefaultCellStyle()));
}

TEST(AehObjectPicture, ExtractDecodeClipboardAndBitmap) {
  TestEnv env;
  TAEHset set(env.Services());
  testing::WriteFile(env.Path("pic.gif"), document::EncodeGif(testing::SmallBitmap(7, 3, true)).value());
  TAEHoggetto* image = set.AddImageFile(env.Path("pic.gif"));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->I32(170), -1);
  image->SetI16(85, 0);
  TAEHpicture* picture = image->GetPicture();
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->Width(), 7);
  EXPECT_EQ(image->I16(85), 7);
  EXPECT_EQ(image->GetPicture(), picture);
  EXPECT_EQ(testing::ReadFile(image->FilePath()), testing::ReadFile(env.Path("pic.gif")));

  auto placed = set.AddImmagineNew(image);
  EXPECT_EQ(placed->I32(0), image->Index());
  EXPECT_EQ(placed->I16(19), 7);
  EXPECT_EQ(placed->GetCaption(), "pic");
  EXPECT_EQ(placed->GetPicture(), picture);

  image->CopyImageToClipboard();
  const auto& clip = env.clipboard.Data();
  ASSERT_EQ(clip.items.size(), 1u);
  EXPECT_EQ(clip.items[0].mimeType, platform::kMimePicture);
  const std::string& data = clip.items[0].bytes;
  std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
  EXPECT_EQ(base::GetI32(bytes, 0), 3);
  EXPECT_EQ(base::GetI32(bytes, 4), 0);
  EXPECT_EQ(base::GetI32(bytes, 8), 1);
  EXPECT_EQ(base::GetI32(bytes, 12), immagine);
  EXPECT_EQ(data.substr(data.size() - 19), std::string("<Z S0 ><$FF000001>\0", 19));
  EXPECT_EQ(clip.image.width, 7);

  set.DefaultStyle()->CopyImageToClipboard();
  EXPECT_TRUE(env.messages.Saw("Allowed only for immagine"));
  EXPECT_FALSE(set.DefaultStyle()->ReplaceContent(*image));
  EXPECT_TRUE(env.messages.Saw("ReplaceContent called improperly..."));

  ASSERT_TRUE(image->SaveImageAsBitmap(env.Path("out.png")));
  const std::string bmp = testing::ReadFile(env.Path("out.bmp"));
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  EXPECT_EQ(set.CachedPicture(image), nullptr);

  auto other = set.NewObject(immagine);
  other->SetContent(testing::SmallGif(9, 9));
  const int index = image->Index();
  EXPECT_TRUE(image->ReplaceContent(std::move(other)));
  EXPECT_EQ(image->Index(), index);
  EXPECT_EQ(image->Kind(), immagine);
  EXPECT_EQ(image->GetPicture()->Width(), 9);
}

TEST(AehObjectPicture, PlacedImageInAnotherContainerIsRefused) {
  TestEnv env;
  TAEHset one(env.Services());
  TAEHset two(env.Services());
  auto image = two.NewObject(immagine);
  EXPECT_EQ(one.AddImmagineNew(image.get()), nullptr);
  EXPECT_TRUE(env.messages.Saw("Different AEHset in AddImmagineNew!"));
  auto empty = one.AddImmagineNew(nullptr);
  EXPECT_EQ(empty->I32(0), -1);
  EXPECT_EQ(empty->I16(21), 100);
}

}  // namespace
}  // namespace tarn::document
