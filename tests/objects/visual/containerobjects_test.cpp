// Placed objects in the clipboard container: a text with a picture (its
// click zones and their links) and form controls copied within a hypertext
// and into another one, a copied picture pasted, undo and redo of a paste,
// and containers cut short.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "base/bytes.h"
#include "base/filestream.h"
#include "base/hex.h"
#include "document/imagecodec.h"
#include "document/recordfields.h"
#include "objects/visual/visualrecord.h"
#include "richtext/tablerecord.h"
#include "undo/undoworld.h"

namespace tarn {
namespace {

using document::TAEHoggetto;
namespace field = document::field;
using testing::UndoWorld;

std::string Tag(const TAEHoggetto& record) {
  std::string out = "<$";
  base::AppendHex(out, static_cast<std::uint32_t>(record.GetId()), 8);
  return out + ">";
}

int CountTags(const std::string& markup, std::string_view tagStart) {
  int n = 0;
  for (std::size_t at = markup.find(tagStart); at != std::string::npos; at = markup.find(tagStart, at + 1)) ++n;
  return n;
}

int Live(const document::TAEHset& set, int kind) {
  int n = 0;
  for (int i = 0; i < set.CountOf(kind); ++i) {
    const TAEHoggetto* o = set.GetObject(kind, i);
    if (o != nullptr && !o->IsFree()) ++n;
  }
  return n;
}

// A placed picture (a small red GIF) with two zones: one to a web address,
// one to the hypertext's second page; a check box beside it.
struct Source {
  explicit Source(UndoWorld& w) : world(w) {
    const base::Bitmap red{8, 6, std::vector<std::uint32_t>(48, 0xFFFF0000u), false};
    const auto path = std::filesystem::temp_directory_path() / "tarn-container-objects.gif";
    if (base::WriteWholeFile(path, document::EncodeGif(red).value())) image = w.set.AddImageFile(path);
    std::filesystem::remove(path);
    placed = w.set.Register(w.set.AddImmagineNew(image));
    TAEHoggetto* url = w.set.Register(w.set.NewLink("http://example.org/lake"));
    auto special = w.set.NewObject(document::speclink);
    special->SetSubtype(1);
    page1 = w.AddPage("<Z S0 >Target");
    special->SetI32(field::kSpecialTarget, w.set.GetObject(document::testoHtml, page1)->GetId());
    TAEHoggetto* pageLink = w.set.Register(std::move(special));
    objects::visual::WriteZones(*placed, {{url->GetId(), 0, 0, 4, 6}, {pageLink->GetId(), 4, 0, 4, 6}});
    auto box = w.set.NewObject(document::inputStat);
    box->SetSubtype(field::kFieldCheckBox);
    box->SetStr(field::kObjectName, field::kFormNameCapacity, "more");
    check = w.set.Register(std::move(box));
    page0 = w.AddPage("<Z S0 >Map " + Tag(*placed) + " and " + Tag(*check) + " end");
  }
  // The container of the whole first paragraph of page 0.
  std::string Copy() {
    world.Show(page0);
    richtext::BoxText& text = world.Text();
    const int p = text.FirstOwn();
    text.SelectRange({p, 0}, {p, text.Paragraph(p).Length()});
    return world.Commands().WriteContainer(false);
  }
  UndoWorld& world;
  TAEHoggetto* image = nullptr;
  TAEHoggetto* placed = nullptr;
  TAEHoggetto* check = nullptr;
  int page0 = 0;
  int page1 = 0;
};

// The zones of the placed pictures a stored page names.
std::vector<objects::visual::Zone> ZonesOfStoredPicture(UndoWorld& w, int page) {
  const std::string stored = w.Stored(page);
  const std::size_t at = stored.find("<$10");
  if (at == std::string::npos) return {};
  const auto id = static_cast<document::ObjectId>(std::stoul(stored.substr(at + 2, 8), nullptr, 16));
  const TAEHoggetto* placed = w.set.GetObjectById(id);
  return placed != nullptr ? objects::visual::ReadZones(*placed) : std::vector<objects::visual::Zone>{};
}

TEST(ContainerObjects, APictureWithZonesAndAControlPasteIntoAnotherPageWithExactUndo) {
  UndoWorld w;
  Source source(w);
  const std::string container = source.Copy();
  const int images = Live(w.set, document::immagine);

  w.Show(source.page1);
  richtext::BoxText& text = w.Text();
  const int p = text.FirstOwn();
  text.SelectRange({p, 6}, {p, 6});
  const std::string before = w.Shown();
  ASSERT_TRUE(w.Commands().InsertContainer(container, richtext::kCaptionClipboard));
  const std::string after = w.Shown();
  EXPECT_EQ(CountTags(after, "<$FF"), 2);
  EXPECT_NE(after.find("Map "), std::string::npos);
  w.List().Undo();
  EXPECT_EQ(w.Shown(), before);
  w.List().Redo();
  EXPECT_EQ(w.Shown(), after);

  w.CommitAndReload();
  const std::string stored = w.Stored(source.page1);
  EXPECT_EQ(CountTags(stored, "<$10"), 1) << stored;  // a placed picture of its own
  EXPECT_EQ(CountTags(stored, "<$14"), 1) << stored;  // and a check box
  // New records of their own, not those of the first page.
  const std::string first = w.Stored(source.page0);
  EXPECT_EQ(first.find(stored.substr(stored.find("<$10"), 11)), std::string::npos) << first << " / " << stored;
  EXPECT_EQ(first.find(stored.substr(stored.find("<$14"), 11)), std::string::npos);
  // The picture is the hypertext's own image, not a second copy of it.
  EXPECT_EQ(Live(w.set, document::immagine), images);
  const auto zones = ZonesOfStoredPicture(w, source.page1);
  ASSERT_EQ(zones.size(), 2u);
  const TAEHoggetto* url = w.set.GetObjectById(zones[0].link);
  ASSERT_NE(url, nullptr);
  EXPECT_EQ(url->Str(field::kLinkUrl, field::kLinkUrlCapacity), "http://example.org/lake");
  const TAEHoggetto* special = w.set.GetObjectById(zones[1].link);
  ASSERT_NE(special, nullptr);
  EXPECT_EQ(special->Kind(), document::speclink);
  EXPECT_EQ(special->I32(field::kSpecialTarget), w.set.GetObject(document::testoHtml, source.page1)->GetId());
}

TEST(ContainerObjects, IntoAnotherHypertextThePictureAndItsAddressLinkComeAlong) {
  UndoWorld from;
  Source source(from);
  const std::string container = source.Copy();
  UndoWorld to;
  const int page = to.AddPage("<Z S0 >Elsewhere");
  to.Show(page);
  ASSERT_EQ(Live(to.set, document::immagine), 0);
  ASSERT_TRUE(to.Commands().InsertContainer(container, richtext::kCaptionClipboard));
  to.CommitAndReload();
  EXPECT_EQ(Live(to.set, document::immagine), 1);
  const auto zones = ZonesOfStoredPicture(to, page);
  ASSERT_EQ(zones.size(), 2u);
  const TAEHoggetto* url = to.set.GetObjectById(zones[0].link);
  ASSERT_NE(url, nullptr);
  EXPECT_EQ(url->Str(field::kLinkUrl, field::kLinkUrlCapacity), "http://example.org/lake");
  const std::string stored = to.Stored(page);
  const std::size_t at = stored.find("<$10");
  ASSERT_NE(at, std::string::npos);
  const TAEHoggetto* placed =
      to.set.GetObjectById(static_cast<document::ObjectId>(std::stoul(stored.substr(at + 2, 8), nullptr, 16)));
  ASSERT_NE(placed, nullptr);
  // Named by its plain index, as stored records name their pictures.
  const TAEHoggetto* picture = to.set.GetObject(document::immagine, placed->I32(field::kPlacedImage));
  ASSERT_NE(picture, nullptr);
  EXPECT_TRUE(picture->SameContent(*source.image));
  // Pasting it again finds the image it brought the first time.
  to.Show(page);
  ASSERT_TRUE(to.Commands().InsertContainer(container, richtext::kCaptionClipboard));
  to.CommitAndReload();
  EXPECT_EQ(Live(to.set, document::immagine), 1);
  EXPECT_EQ(CountTags(to.Stored(page), "<$10"), 2);
}

// Tables and placed objects share the container's objects part: a table
// whose cell shows the picture as its background and holds a second placed
// picture, copied with a picture beside it into another hypertext.
TEST(ContainerObjects, ATableWithAPictureInACellAndAPictureBesideItTravelTogether) {
  UndoWorld from;
  Source source(from);
  auto record = from.set.NewObject(document::tabellaHtml);
  record->InitNew();
  record->SetU8(field::kTableRows, 1);
  record->SetU8(field::kTableColumns, 2);
  for (int c = 0; c < 2; ++c) richtext::SetColumn(*record, c, field::kColumnPercent, 50);
  richtext::Background lake;
  lake.kind = richtext::Background::Kind::Image;
  lake.image = source.image->Index();
  richtext::StoreCellBackgrounds(*record, {lake.Encode(), -1});
  TAEHoggetto* table = from.set.Register(std::move(record));
  TAEHoggetto* inCell = from.set.Register(from.set.AddImmagineNew(source.image));
  const int page = from.AddPage("<Z S0 >Mix " + Tag(*source.placed) + "<Z S0 >" + Tag(*table) + "<Z S1 >x" +
                                Tag(*inCell) + "<T><Z S1 >y<T><Z S0 >end");
  from.Show(page);
  richtext::BoxText& text = from.Text();
  const int first = text.FirstOwn();
  const int last = text.LastOwn();
  text.SelectRange({first, 0}, {last, text.Paragraph(last).Length()});
  const std::string container = from.Commands().WriteContainer(false);

  UndoWorld to;
  const int target = to.AddPage("<Z S0 >Elsewhere");
  to.Show(target);
  const std::string before = to.Shown();
  ASSERT_TRUE(to.Commands().InsertContainer(container, richtext::kCaptionClipboard));
  const std::string after = to.Shown();
  to.List().Undo();
  EXPECT_EQ(to.Shown(), before);
  to.List().Redo();
  EXPECT_EQ(to.Shown(), after);
  to.CommitAndReload();
  const std::string stored = to.Stored(target);
  EXPECT_EQ(CountTags(stored, "<$08"), 1) << stored;
  EXPECT_EQ(CountTags(stored, "<$10"), 2) << stored;  // beside the table and in its cell
  EXPECT_NE(stored.find("<Z S1 >y<T>"), std::string::npos) << stored;
  // One image serves both pictures and the cell's background.
  EXPECT_EQ(Live(to.set, document::immagine), 1);
  const std::size_t at = stored.find("<$08");
  ASSERT_NE(at, std::string::npos);
  const TAEHoggetto* pasted =
      to.set.GetObjectById(static_cast<document::ObjectId>(std::stoul(stored.substr(at + 2, 8), nullptr, 16)));
  ASSERT_NE(pasted, nullptr);
  const std::vector<std::int32_t> backgrounds = richtext::ReadCellBackgrounds(*pasted);
  ASSERT_EQ(backgrounds.size(), 2u);
  const richtext::Background shown = richtext::Background::Decode(backgrounds[0]);
  ASSERT_EQ(shown.kind, richtext::Background::Kind::Image);
  const TAEHoggetto* picture = to.set.GetObject(document::immagine, shown.image);
  ASSERT_NE(picture, nullptr);
  EXPECT_TRUE(picture->SameContent(*source.image));
}

TEST(ContainerObjects, ACopiedPictureIsPlacedFromItsClipboardForm) {
  UndoWorld w;
  Source source(w);
  source.image->CopyImageToClipboard();
  const auto content = w.env.clipboard.Get();
  const std::string* picture = nullptr;
  for (const auto& item : content.items) {
    if (item.mimeType == platform::kMimePicture) picture = &item.bytes;
  }
  ASSERT_NE(picture, nullptr);
  w.Show(source.page1);
  ASSERT_TRUE(w.Commands().InsertContainer(*picture, richtext::kCaptionClipboard));
  w.CommitAndReload();
  EXPECT_EQ(CountTags(w.Stored(source.page1), "<$10"), 1);
}

TEST(ContainerObjects, AContainerCutAtAnyByteIsRefusedAndLeavesNothingBehind) {
  UndoWorld w;
  Source source(w);
  const std::string container = source.Copy();
  w.Show(source.page1);
  const std::string before = w.Shown();
  const int links = Live(w.set, document::internetLink);
  const int images = Live(w.set, document::immagine);
  const int styles = Live(w.set, document::stileParagrafo);
  // Cut inside its text a container is whole but for the text's end; every
  // cut before the text is refused.
  const std::size_t text = container.rfind("<Z S");
  ASSERT_NE(text, std::string::npos);
  for (std::size_t cut = 0; cut < text - 4; cut += cut < 64 ? 1 : 7) {
    ASSERT_FALSE(w.Commands().InsertContainer(std::string_view(container.data(), cut), richtext::kCaptionClipboard))
        << cut;
  }
  EXPECT_EQ(w.Shown(), before);
  EXPECT_FALSE(w.List().CanUndo());
  EXPECT_EQ(Live(w.set, document::internetLink), links);
  EXPECT_EQ(Live(w.set, document::immagine), images);
  EXPECT_EQ(Live(w.set, document::stileParagrafo), styles);
}

TEST(ContainerObjects, MovingAPictureWithinTheTextIsOneStep) {
  UndoWorld w;
  Source source(w);
  w.Show(source.page0);
  richtext::BoxText& text = w.Text();
  const int p = text.FirstOwn();
  ASSERT_EQ(text.Paragraph(p).text, "Map   and   end");
  ASSERT_GE(text.Paragraph(p).infos[4].object, 0);
  const std::string before = w.Shown();
  const int steps = w.List().UndoCount();
  // Onto itself nothing happens.
  text.SelectRange({p, 4}, {p, 5});
  EXPECT_FALSE(w.Commands().MoveSelection({p, 5}));
  EXPECT_EQ(w.List().UndoCount(), steps);
  ASSERT_TRUE(w.Commands().MoveSelection({p, text.Paragraph(p).Length()}));
  EXPECT_EQ(text.Paragraph(p).text, "Map  and   end ");
  EXPECT_GE(text.Paragraph(p).infos[14].object, 0);
  EXPECT_EQ(CountTags(w.Shown(), "<$FF"), 2);
  EXPECT_EQ(w.List().UndoCount(), steps + 1);
  const std::string moved = w.Shown();
  w.List().Undo();
  EXPECT_EQ(w.Shown(), before);
  w.List().Redo();
  EXPECT_EQ(w.Shown(), moved);
}

}  // namespace
}  // namespace tarn
