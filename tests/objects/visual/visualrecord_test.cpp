// What the screen objects read from and write to their records: the class
// each record gets, sizes, zones, control values, metafile conversion.
#include <gtest/gtest.h>

#include "document/aehpicture.h"
#include "document/aehset.h"
#include "document/imagecodec.h"
#include "document/metafile.h"
#include "document/metafiles.h"
#include "document/recordfields.h"
#include "document/testfixtures.h"
#include "objects/visual/visualrecord.h"

namespace tarn::objects::visual {
namespace {

using document::TAEHset;
using testing::TestEnv;
namespace field = document::field;

TEST(VisualClass, EachKindAndSubtypeOfTheClassTable) {
  struct Case {
    int kind;
    int subtype;
    VisualClass expected;
  };
  const Case cases[] = {
      {16, 0, VisualClass::Image},        {11, 5, VisualClass::BelPanel},    {11, 10, VisualClass::BelPanel},
      {11, 15, VisualClass::BelPanel},    {11, 21, VisualClass::BelPanel},   {11, 28, VisualClass::BelPanel},
      {11, 16, VisualClass::None},        {11, 29, VisualClass::None},       {20, 5, VisualClass::BelPanel},
      {21, 11, VisualClass::BelPanel},    {21, 12, VisualClass::BelPanel},   {23, 1, VisualClass::InizioForm},
      {22, 3, VisualClass::Button},       {13, 7, VisualClass::Multimedia},  {24, 1, VisualClass::Multimedia},
      {20, 1, VisualClass::Edit},         {20, 2, VisualClass::Edit},        {20, 3, VisualClass::Edit},
      {20, 4, VisualClass::Memo},         {21, 2, VisualClass::Memo},        {20, 6, VisualClass::RadioButton},
      {20, 7, VisualClass::CheckBox},     {20, 8, VisualClass::ListBox},     {21, 6, VisualClass::ListBox},
      {20, 9, VisualClass::ComboBox},     {21, 7, VisualClass::ComboBox},    {20, 18, VisualClass::Floating},
      {20, 10, VisualClass::None},        {21, 1, VisualClass::None},        {8, 2, VisualClass::None},
      {0, 0, VisualClass::None},          {5, 0, VisualClass::None},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClassOf(c.kind, c.subtype), c.expected) << "kind " << c.kind << " subtype " << c.subtype;
  }
  EXPECT_EQ(UndoCaption(VisualClass::Floating), "Modify indipendent frame");
  EXPECT_EQ(ResizeCaption(VisualClass::Image), "Image resize");
  EXPECT_EQ(ResizeCaption(VisualClass::Edit), "");
}

class VisualRecords : public ::testing::Test {
 protected:
  TestEnv env;
  TAEHset set{env.Services()};

  std::unique_ptr<document::TAEHoggetto> Record(int kind, int subtype) {
    auto record = set.NewObject(kind);
    record->SetSubtype(subtype);
    return record;
  }
  std::unique_ptr<document::TAEHoggetto> PlacedImage(int width, int height) {
    auto placed = Record(document::immagineNew, 1);
    placed->SetI32(field::kPlacedImage, -1);
    placed->SetI16(field::kPlacedWidth, static_cast<std::int16_t>(width));
    placed->SetI16(field::kPlacedHeight, static_cast<std::int16_t>(height));
    WriteZones(*placed, {});
    return placed;
  }
};

TEST_F(VisualRecords, ResizingAnImageScalesItsZones) {
  auto placed = PlacedImage(200, 100);
  WriteZones(*placed, {{0, 20, 10, 60, 40}, {7, 101, 51, 99, 49}});
  ResizeImage(*placed, 100, 50);
  const std::vector<Zone> zones = ReadZones(*placed);
  ASSERT_EQ(zones.size(), 2u);
  EXPECT_EQ(zones[0].left, 10);
  EXPECT_EQ(zones[0].top, 5);
  EXPECT_EQ(zones[0].width, 30);
  EXPECT_EQ(zones[0].height, 20);
  EXPECT_EQ(zones[1].link, 7);
  EXPECT_EQ(zones[1].left, 50);  // integer halves
  EXPECT_EQ(zones[1].height, 24);
  EXPECT_EQ(placed->I16(field::kPlacedWidth), 100);
  EXPECT_EQ(placed->I16(field::kPlacedHeight), 50);
  // A damaged size is never stored.
  ResizeImage(*placed, -5, 100000);
  EXPECT_EQ(placed->I16(field::kPlacedWidth), 1);
  EXPECT_EQ(placed->I16(field::kPlacedHeight), kMaxObjectSize);
}

TEST_F(VisualRecords, ZonesReadFromUsedEntriesAndWriteBackPacked) {
  auto placed = PlacedImage(200, 100);
  WriteZones(*placed, {});
  // Entries 0 and 5 in use, the others free.
  placed->SetI32(field::kPlacedZones, 0);
  placed->SetI16(field::kPlacedZones + field::kZoneWidth, 30);
  placed->SetI32(field::kPlacedZones + 5 * field::kZoneSize, 12);
  placed->SetI16(field::kPlacedZones + 5 * field::kZoneSize + field::kZoneLeft, 40);
  std::vector<Zone> zones = ReadZones(*placed);
  ASSERT_EQ(zones.size(), 2u);
  WriteZones(*placed, zones);
  EXPECT_EQ(placed->I32(field::kPlacedZones), 0);
  EXPECT_EQ(placed->I32(field::kPlacedZones + field::kZoneSize), 12);
  EXPECT_EQ(placed->I16(field::kPlacedZones + field::kZoneSize + field::kZoneLeft), 40);
  for (int i = 2; i < field::kZoneCount; ++i) {
    EXPECT_EQ(placed->I32(field::kPlacedZones + i * field::kZoneSize), -1) << i;
    EXPECT_EQ(placed->I16(field::kPlacedZones + i * field::kZoneSize + field::kZoneLeft), 0) << i;
  }
  // A 31st zone is not written over the record's next field.
  const std::int32_t after = placed->I32(field::kPlacedZones + field::kZoneCount * field::kZoneSize);
  WriteZones(*placed, std::vector<Zone>(31, Zone{1, 1, 1, 1, 1}));
  EXPECT_EQ(placed->I32(field::kPlacedZones + field::kZoneCount * field::kZoneSize), after);
}

TEST(Zones, NewZonePlaceAndClipboardForm) {
  const Zone beyond = NewZoneAt(500, 10, 200, 100);
  EXPECT_EQ(beyond.left, 190);
  EXPECT_EQ(beyond.top, 10);
  EXPECT_EQ(NewZoneAt(20, 300, 200, 100).top, 90);

  const Zone zone{0x0A000003, -4, 5, 60, 70};
  const std::string bytes = ZoneClipboardBytes(zone);
  ASSERT_EQ(bytes.size(), 20u);
  EXPECT_EQ(bytes.substr(0, 4), std::string("\x02\0\0\0", 4));
  Zone back;
  ASSERT_TRUE(ZoneFromClipboardBytes(bytes, back));
  EXPECT_EQ(back.link, zone.link);
  EXPECT_EQ(back.left, -4);
  EXPECT_EQ(back.height, 70);
  EXPECT_FALSE(ZoneFromClipboardBytes(bytes.substr(0, 19), back));
  EXPECT_FALSE(ZoneFromClipboardBytes(std::string("\x03\0\0\0", 4) + bytes.substr(4), back));
}

TEST_F(VisualRecords, SizesOfControlsFramesAndGlyphs) {
  auto frame = Record(document::inputStat, field::kFloatingFrame);
  frame->SetU8(field::kFramePercent, 1);
  frame->SetI16(field::kFrameWidth, 50);
  frame->SetI16(field::kFrameHeight, 25);
  PixelSize size = ResolveSize(ObjectScreenSize(*frame), 600, 400);
  EXPECT_EQ(size.width, 300);
  EXPECT_EQ(size.height, 100);
  ResizeFloating(*frame, 150, 200, 600, 400);
  EXPECT_EQ(frame->I16(field::kFrameWidth), 25);
  EXPECT_EQ(frame->I16(field::kFrameHeight), 50);

  auto edit = Record(document::inputStat, field::kFieldEdit);
  edit->SetU8(field::kFieldSize, 20);
  size = ResolveSize(ObjectScreenSize(*edit), 600, 400);
  EXPECT_EQ(size.width, 20 * kLetterWidth);
  EXPECT_EQ(size.height, kStyleBoxHeight);

  auto parameter = Record(document::shortObj, 27);
  EXPECT_EQ(GlyphOf(*parameter).name, "par");
  EXPECT_EQ(ObjectScreenSize(*parameter).width, 90);
  auto dataSource = Record(document::multiMedia, 7);
  dataSource->SetU8(field::kData46, 19);
  EXPECT_EQ(GlyphOf(*dataSource).name, "dbrep");
  EXPECT_EQ(ObjectScreenSize(*dataSource).width, 27);
  // A list whose row count is damaged still has a row.
  auto list = Record(document::inputStat, field::kFieldList);
  list->SetU8(field::kFieldSize, 0);
  EXPECT_EQ(ObjectScreenSize(*list).height, kListItemHeight + 4);
}

TEST(FormValues, ListSelectionAndValues) {
  const auto none = document::ListItems("A\r\na\r\nn\r\nB\r\nb\r\nN\r\nC\r\nc\r\n\r\n");
  EXPECT_EQ(InitialSelection(none, false), -1);
  EXPECT_EQ(InitialSelection(none, true), 0);
  const auto two = document::ListItems("A\r\na\r\nX\r\nB\r\nb\r\nn\r\nC\r\nc\r\ny\r\n");
  EXPECT_EQ(InitialSelection(two, false), 2);
  EXPECT_EQ(ItemValue(two, 2), "c");
  EXPECT_EQ(ItemValue(two, 3), "");
  EXPECT_EQ(ItemValue(two, -1), "");
}

TEST_F(VisualRecords, ImageTakesThePictureSizeWhenThePictureChanged) {
  testing::WriteFile(env.Path("pic.gif"), document::EncodeGif(testing::SmallBitmap(7, 3, true)).value());
  document::TAEHoggetto* image = set.AddImageFile(env.Path("pic.gif"));
  ASSERT_NE(image, nullptr);
  auto placed = set.AddImmagineNew(image);
  placed->SetI16(field::kPlacedNaturalWidth, 70);  // as if made for another picture
  placed->SetI16(field::kPlacedWidth, 140);
  const PixelSize size = ImageDisplaySize(*placed);
  EXPECT_EQ(size.width, 7);
  EXPECT_EQ(size.height, 3);
  ZoomImage(*placed, 200);
  EXPECT_EQ(placed->I16(field::kPlacedWidth), 14);
  EXPECT_EQ(placed->I16(field::kPlacedHeight), 6);
  EXPECT_EQ(PlaceholderName(*placed), "pic.gif");
}

TEST_F(VisualRecords, APictureHeldOnScreenIsNotDecodedAgainAfterTheCacheLetItGo) {
  set.SetMaxCacheImg(1);
  std::vector<document::TAEHoggetto*> images;
  for (int i = 0; i < 3; ++i) {
    const auto path = env.Path("pic" + std::to_string(i) + ".gif");
    testing::WriteFile(path, document::EncodeGif(testing::SmallBitmap(3 + i, 2, false)).value());
    images.push_back(set.AddImageFile(path));
    ASSERT_NE(images.back(), nullptr);
  }
  document::TAEHpicture* first = images[0]->GetPicture();
  std::shared_ptr<document::TAEHpicture> held = set.SharedPicture(images[0]);
  ASSERT_EQ(held.get(), first);
  images[1]->GetPicture();
  images[2]->GetPicture();
  EXPECT_EQ(set.CacheSize(), 1u);
  EXPECT_EQ(images[0]->GetPicture(), first);  // the same decoded picture
  // Without a holder the cache's first in, first out rule holds.
  document::TAEHpicture* second = images[1]->GetPicture();
  EXPECT_NE(second, nullptr);
  EXPECT_EQ(set.CachedPicture(images[0]), nullptr);
  held.reset();
  EXPECT_EQ(set.HeldPicture(images[0]), nullptr);
}

TEST(Metafiles, WmfAndEmfBecomeSvgDamagedOnesDoNot) {
  const std::string wmf = testing::SmallWmf(120, 60);
  ASSERT_EQ(document::SniffImageFormat(wmf), document::ImageFormat::Wmf);
  const auto wmfSvg = document::MetafileToSvg(wmf);
  ASSERT_TRUE(wmfSvg.has_value());
  EXPECT_NE(wmfSvg->find("<svg"), std::string::npos);

  const std::string emf = testing::SmallEmf(80, 40);
  ASSERT_EQ(document::SniffImageFormat(emf), document::ImageFormat::Emf);
  const auto emfSvg = document::MetafileToSvg(emf);
  ASSERT_TRUE(emfSvg.has_value());
  EXPECT_NE(emfSvg->find("svg"), std::string::npos);

  // Cut short anywhere, neither converter fails other than cleanly.
  for (std::size_t cut : {std::size_t{10}, std::size_t{30}, wmf.size() - 7}) {
    (void)document::MetafileToSvg(wmf.substr(0, cut));
  }
  for (std::size_t cut : {std::size_t{44}, std::size_t{88}, emf.size() - 5}) {
    (void)document::MetafileToSvg(emf.substr(0, cut));
  }
  EXPECT_FALSE(document::MetafileToSvg("not a metafile"));
  // A header that claims a record far larger than the file is refused
  // before the converter sizes its buffer by it (found by fuzzing: a
  // 130-byte file asked for 3 GB).
  std::string greedy = wmf;
  for (int i = 0; i < 4; ++i) greedy[22 + 12 + static_cast<std::size_t>(i)] = i == 3 ? '\x60' : '\0';
  EXPECT_FALSE(document::MetafileToSvg(greedy));

  document::TAEHpicture picture;
  ASSERT_TRUE(picture.LoadFromBytes(wmf));
  EXPECT_EQ(picture.Width(), 120);
  EXPECT_FALSE(picture.Svg().empty());
  EXPECT_TRUE(picture.Bitmap().Empty());
}

TEST(Pictures, AnAnimatedGifKeepsItsBytesForTheAnimation) {
  base::Bitmap bitmap;
  bitmap.width = 4;
  bitmap.height = 3;
  bitmap.pixels.assign(12, 0xFF112233u);
  const std::string one = document::EncodeGif(bitmap).value();
  // A second frame: the first one's descriptor and data once more.
  const std::size_t frame = one.find('\x2C', 13);
  ASSERT_NE(frame, std::string::npos);
  const std::string two = one.substr(0, one.size() - 1) + one.substr(frame, one.size() - 1 - frame) + ";";
  EXPECT_EQ(document::CountGifFrames(one, 10), 1);
  EXPECT_EQ(document::CountGifFrames(two, 10), 2);
  document::TAEHpicture still;
  ASSERT_TRUE(still.LoadFromBytes(one));
  EXPECT_EQ(still.FrameCount(), 1);
  EXPECT_TRUE(still.AnimationBytes().empty());
  document::TAEHpicture animated;
  ASSERT_TRUE(animated.LoadFromBytes(two));
  EXPECT_EQ(animated.FrameCount(), 2);
  EXPECT_EQ(animated.AnimationBytes(), two);
  EXPECT_EQ(animated.Bitmap().At(0, 0), 0xFF112233u);
  // Cut inside the second frame, the first still shows.
  EXPECT_EQ(document::CountGifFrames(two.substr(0, two.size() - 4), 10), 1);
}

}  // namespace
}  // namespace tarn::objects::visual
