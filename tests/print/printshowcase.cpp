// Writes a hypertext that shows what printing handles (a manual tool, not a
// test): a shared header and footer page, numbered and bulleted lists, a
// picture with a transparent corner, a table with coloured cells, a cell
// with a picture behind it and a border, a page with a tiled background
// picture, and a page long enough for several sheets.
//   build/tests/tarn_printshowcase OUT.aeh && build/apps/tarn-cli print OUT.aeh --pdf OUT.pdf
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/compose.h"
#include "base/filestream.h"
#include "document/aehset.h"
#include "document/imagecodec.h"
#include "document/recordfields.h"
#include "platform/testing/testplatform.h"

using namespace tarn;
using namespace tarn::document;
using namespace tarn::document::field;

namespace {

std::string Tag(ObjectId id) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "<$%08x>", static_cast<unsigned>(id));
  return buf;
}

base::Bitmap Picture(int width, int height, bool transparentCorner) {
  base::Bitmap b;
  b.width = width;
  b.height = height;
  b.pixels.resize(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool sky = y < height / 2;
      std::uint32_t c = sky ? 0xFFCFE8FFu : (((x + y) % 9 == 0) ? 0xFF5A8FD0u : 0xFF2B5C9Eu);
      // A sun in the sky, and a corner that is not there.
      const int dx = x - width * 3 / 4;
      const int dy = y - height / 4;
      if (dx * dx + dy * dy < (height / 8) * (height / 8)) c = 0xFFFFD040u;
      if (transparentCorner && x < width / 4 && y < height / 4) c = 0;
      b.pixels[static_cast<std::size_t>(y) * width + x] = c;
    }
  }
  b.transparent = transparentCorner;
  return b;
}

// A small tile: a pale check pattern for backgrounds.
base::Bitmap Tile() {
  base::Bitmap b;
  b.width = b.height = 24;
  b.pixels.resize(24 * 24);
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 24; ++x) b.pixels[y * 24 + x] = ((x / 12 + y / 12) % 2) ? 0xFFF4EEDCu : 0xFFE6F0F4u;
  }
  return b;
}

TAEHoggetto* AddImage(TAEHset& set, const base::Bitmap& bitmap, const std::string& name) {
  const std::filesystem::path gif = std::filesystem::temp_directory_path() / name;
  base::WriteWholeFile(gif, EncodeGif(bitmap).value());
  TAEHoggetto* image = set.AddImageFile(gif);
  std::filesystem::remove(gif);
  return image;
}

int Style(TAEHset& set, const char* name, int size, const char* face, int list, int left, int indent) {
  auto style = set.NewObject(stileParagrafo);
  style->SetName(name);
  style->SetI16(style::kSize, static_cast<std::int16_t>(size));
  style->SetStr(style::kFace, style::kFaceCapacity, face);
  style->SetU8(style::kListKind, static_cast<std::uint8_t>(list));
  style->SetI16(style::kLeftMargin, static_cast<std::int16_t>(left));
  style->SetI16(style::kIndent, static_cast<std::int16_t>(indent));
  style->SetI16(style::kSpaceAfter, 4);
  return set.Register(std::move(style))->Index();
}

std::string P(int style) { return "<Z S" + std::to_string(style) + " >"; }

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: tarn_printshowcase OUT.aeh\n", stderr);
    return 2;
  }
  const std::filesystem::path out = argv[1];
  platform::testing::RecordingMessages messages;
  platform::testing::FixedSystemInfo system(std::filesystem::temp_directory_path());
  TAEHset set({&messages, &system, nullptr, nullptr});
  app::Compose(set);
  set.SetTitle("Printing showcase");
  set.SetBackup(false);

  const int heading = Style(set, "Heading", 18, "Arial", style::kListNone, 10, 0);
  const int numbered = Style(set, "Numbered", 12, "Times New Roman", style::kListNumbered, 40, -24);
  const int bullet = Style(set, "Bullet", 12, "Times New Roman", style::kListBullet, 40, -20);
  const int small = Style(set, "Small", 8, "Arial", style::kListNone, 10, 0);

  TAEHoggetto* lake = AddImage(set, Picture(160, 96, true), "showcase-lake.gif");
  TAEHoggetto* tile = AddImage(set, Tile(), "showcase-tile.gif");
  const ObjectId placed = set.Register(set.AddImmagineNew(lake))->GetId();

  auto page = [&set](const std::string& title, const std::string& markup) {
    auto p = set.NewObject(testoHtml);
    p->SetName(title);
    p->SetContent(markup + std::string(1, '\0'));
    // White pages, as most printed pages are; the background page sets its own.
    p->SetI32(kPageBgColour, 0xFFFFFF);
    return set.Register(std::move(p));
  };

  TAEHoggetto* header = page("Header", P(small) + "Printing showcase - shared header page");
  TAEHoggetto* footer = page("Footer", P(small) + "Shared footer page - printed after the text");
  set.SetHeaderI32(header::kHeaderPage, header->Index());
  set.SetHeaderI32(header::kFooterPage, footer->Index());
  header->SetI32(kPageHeaderChoice, -2);
  header->SetI32(kPageFooterChoice, -2);
  footer->SetI32(kPageHeaderChoice, -2);
  footer->SetI32(kPageFooterChoice, -2);

  page("Lists and a picture",
       P(heading) + "Lists and a picture" + P(0) + "Numbered paragraphs count from one:" + P(numbered) +
           "First step" + P(numbered) + "Second step" + P(numbered) + "Third step" + P(numbered) + "Fourth step" +
           P(0) + "A plain paragraph restarts the count:" + P(numbered) + "Again the first" + P(numbered) +
           "And the second" + P(bullet) + "A bullet" + P(bullet) + "Another bullet" + P(0) +
           "A picture stands in the line like a character " + Tag(placed) +
           " and its transparent corner prints white. Lorem ipsum dolor sit amet, consectetur adipiscing elit.");

  // A table: percent columns, a coloured first row, a cell with the tile
  // behind it, a border.
  auto table = set.NewObject(tabellaHtml);
  table->SetU8(kTableRows, 3);
  table->SetU8(kTableColumns, 3);
  for (int c = 0; c < 3; ++c) {
    table->SetU8(kTableColumnKinds + c, 0);
    table->SetI16(kTableColumnSizes + 2 * c, c == 0 ? 40 : 30);
  }
  table->SetU8(kTableBorder, 1);
  table->SetU8(kTableSpacing, 2);
  table->SetU8(kTablePadding, 4);
  std::string backgrounds;
  const std::int32_t cells[] = {0x00D0A040, 0x00D0A040, 0x00D0A040, 0x00F0F0F0, -1,
                                0x03000000 | tile->Index(), 0x00F0F0F0, -1, 0x00C0FFC0};
  for (std::int32_t v : cells) {
    for (int b = 0; b < 4; ++b) backgrounds.push_back(static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * b)) & 0xFF));
  }
  table->SetContent(backgrounds);
  const ObjectId tableId = set.Register(std::move(table))->GetId();
  std::string cellText;
  const char* texts[] = {"Column one", "Column two", "Column three", "Plain text in a cell that wraps onto a second line",
                         "Transparent cell", "A cell over a tiled picture", "Left", "Middle", "Green cell"};
  for (const char* t : texts) cellText += P(1) + t + "<T>";
  page("A table", P(heading) + "A table" + P(0) + "Cells keep their colours when table backgrounds print:" + P(0) +
                      Tag(tableId) + cellText + P(0) + "Text after the table.");

  TAEHoggetto* background = page("A background", P(heading) + "A background picture" + P(0) +
                                                     "With the page background option the tile covers the sheet "
                                                     "between the margins.");
  background->SetI32(kPageBgImage, tile->Index());

  std::string lines = P(heading) + "A long page";
  for (int i = 1; i <= 120; ++i) {
    lines += P(0) + "Line " + std::to_string(i) +
             ": a paragraph of the long page, so that it needs more than one sheet of paper.";
  }
  page("A long page", lines);

  if (!set.SaveToFile(out)) {
    for (const auto& e : set.SaveErrors()) std::fprintf(stderr, "%s\n", e.c_str());
    return 1;
  }
  std::printf("wrote %s\n", out.c_str());
  return 0;
}
