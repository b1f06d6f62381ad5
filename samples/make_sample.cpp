// Writes the sample hypertext bundled with Tarn: a few pages with titles,
// text in three styles, links between pages, a keyword, a GIF image with a
// map of three click zones, a JPEG photograph, a WMF drawing, a floating frame, a table with
// coloured cells, a form with its controls and a small
// chapter tree.
#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <filesystem>
#include <string>

#include "app/compose.h"
#include "base/bytes.h"
#include "base/filestream.h"
#include "document/aehorderedtree.h"
#include "document/aehset.h"
#include "document/imagecodec.h"
#include "document/links.h"
#include "document/recordfields.h"
#include "platform/testing/testplatform.h"

using namespace tarn;
using namespace tarn::document;
using namespace tarn::document::field;

namespace {

std::string Id(ObjectId id) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%08x", static_cast<unsigned>(id));
  return buf;
}

std::string Tag(const TAEHoggetto& record) { return "<$" + Id(record.GetId()) + ">"; }

// A small picture: a blue lake under a pale sky, with a transparent corner.
base::Bitmap Lake() {
  base::Bitmap b;
  b.width = 48;
  b.height = 32;
  b.pixels.resize(48 * 32);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 48; ++x) {
      std::uint32_t c = y < 14 ? 0xFFCFE8FFu : (((x + y) % 7 == 0) ? 0xFF5A8FD0u : 0xFF2B5C9Eu);
      if (y >= 12 && y < 14 && (x / 6) % 2 == 0) c = 0xFF3C7A3Cu;
      b.pixels[static_cast<std::size_t>(y) * 48 + x] = c;
    }
  }
  b.pixels[0] = 0;
  b.transparent = true;
  return b;
}

// ---- A Windows metafile, drawn record by record ----

void Word(std::string& out, int v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

// One record: its size in 16-bit words, its function, its parameters.
void WmfRecord(std::string& out, std::size_t& largest, int function, std::initializer_list<int> params) {
  const std::size_t words = 3 + params.size();
  largest = std::max(largest, words);
  base::AppendI32(out, static_cast<std::int32_t>(words));
  Word(out, function);
  for (int p : params) Word(out, p);
}

// A solid brush of the colour 0xBBGGRR selected into slot 1 (the null pen
// keeps slot 0); the previous brush goes first.
void WmfBrush(std::string& out, std::size_t& largest, std::uint32_t bgr, bool first) {
  if (!first) WmfRecord(out, largest, 0x01F0, {1});  // DeleteObject
  WmfRecord(out, largest, 0x02FC, {0, static_cast<int>(bgr & 0xFFFF), static_cast<int>(bgr >> 16), 0});
  WmfRecord(out, largest, 0x012D, {1});  // SelectObject
}

// A signpost by the lake: sky, sun, hills, water, a post with its board,
// 160 x 80 pixels. Metafiles are what pictures of older hypertexts often
// are; this one shows that they are drawn like any other picture.
std::string Signpost() {
  constexpr int kWidth = 160;
  constexpr int kHeight = 80;
  std::size_t largest = 0;
  std::string records;
  WmfRecord(records, largest, 0x020B, {0, 0});              // SetWindowOrg
  WmfRecord(records, largest, 0x020C, {kHeight, kWidth});   // SetWindowExt
  WmfRecord(records, largest, 0x02FA, {5, 0, 0, 0, 0});     // CreatePenIndirect: null pen
  WmfRecord(records, largest, 0x012D, {0});
  WmfBrush(records, largest, 0xF0D8B0, true);               // sky
  WmfRecord(records, largest, 0x041B, {kHeight, kWidth, 0, 0});
  WmfBrush(records, largest, 0x40D8F8, false);              // sun
  WmfRecord(records, largest, 0x0418, {30, 150, 6, 126});
  WmfBrush(records, largest, 0x3C7A3C, false);              // hills
  WmfRecord(records, largest, 0x0324, {5, 0, 50, 40, 26, 80, 44, 120, 24, 160, 50});
  WmfRecord(records, largest, 0x041B, {kHeight, kWidth, 48, 0});
  WmfBrush(records, largest, 0x9E5C2B, false);              // water
  WmfRecord(records, largest, 0x0418, {78, 150, 54, 40});
  WmfBrush(records, largest, 0x2B4A6B, false);              // post and board
  WmfRecord(records, largest, 0x041B, {76, 28, 30, 24});
  WmfRecord(records, largest, 0x0324, {5, 8, 22, 56, 22, 64, 29, 56, 36, 8, 36});
  WmfRecord(records, largest, 0x01F0, {1});
  WmfRecord(records, largest, 0x0000, {});                  // end

  std::string placeable;
  base::AppendI32(placeable, static_cast<std::int32_t>(0x9AC6CDD7u));
  Word(placeable, 0);
  for (int v : {0, 0, kWidth, kHeight}) Word(placeable, v);
  Word(placeable, 96);  // units per inch: one unit a pixel
  base::AppendI32(placeable, 0);
  int checksum = 0;
  for (std::size_t i = 0; i + 1 < placeable.size(); i += 2) {
    checksum ^= static_cast<std::uint8_t>(placeable[i]) | (static_cast<std::uint8_t>(placeable[i + 1]) << 8);
  }
  Word(placeable, checksum);
  std::string header;
  Word(header, 1);       // in memory
  Word(header, 9);       // header words
  Word(header, 0x0300);  // version
  base::AppendI32(header, static_cast<std::int32_t>((18 + records.size()) / 2));
  Word(header, 2);  // objects: the pen and a brush
  base::AppendI32(header, static_cast<std::int32_t>(largest));
  Word(header, 0);
  return placeable + header + records;
}

// A picture file added to the hypertext under its name.
TAEHoggetto* AddPicture(TAEHset& set, const std::string& name, const std::string& bytes) {
  const std::filesystem::path file = std::filesystem::temp_directory_path() / name;
  base::WriteWholeFile(file, bytes);
  TAEHoggetto* image = set.AddImageFile(file);
  std::filesystem::remove(file);
  return image;
}

TAEHoggetto* NewRecord(TAEHset& set, int kind, int subtype) {
  auto record = set.NewObject(kind);
  record->SetSubtype(subtype);
  return set.Register(std::move(record));
}

// A link that shows the page in the reader's window.
TAEHoggetto* PageLink(TAEHset& set, const TAEHoggetto& page, int anchor = -1) {
  TAEHoggetto* link = NewRecord(set, speclink, kSpecialToObject);
  link->SetI32(kSpecialTarget, page.GetId());
  link->SetU8(kSpecialTargetKind, 1);
  link->SetU8(kSpecialAction, kReplaceWindow);
  link->SetI32(kSpecialAnchor, anchor);
  return link;
}

TAEHoggetto* FormField(TAEHset& set, int subtype, const std::string& name, const std::string& value, int size) {
  TAEHoggetto* field = NewRecord(set, inputStat, subtype);
  field->SetStr(kObjectName, kFormNameCapacity, name);
  field->SetStr(kFieldValue, kFieldValueCapacity, value);
  field->SetU8(kFieldHasValue, 0);
  field->SetU8(kFieldChecked, 0);
  field->SetU8(kFieldSize, static_cast<std::uint8_t>(size));
  field->SetU8(kFieldMultiple, 0);
  return field;
}

TAEHoggetto* FormButton(TAEHset& set, int subtype, const std::string& caption) {
  TAEHoggetto* button = NewRecord(set, bottoneCGI, subtype);
  button->SetStr(kObjectName, kFormNameCapacity, "");
  button->SetStr(kFieldValue, kFieldValueCapacity, caption);
  button->SetI32(kButtonImage, -1);
  button->SetI32(kButtonLink, -1);
  return button;
}

// The page with a table of lakes and a small form.
std::string TablesAndForms(TAEHset& set, const TAEHoggetto& self) {
  TAEHoggetto* table = NewRecord(set, tabellaHtml, kTableNew);
  table->SetU8(kTableRows, 3);
  table->SetU8(kTableColumns, 2);
  table->SetU8(kTableWidthPercent, 60);
  table->SetU8(kTableBorder, 1);
  table->SetU8(kTablePadding, 4);
  for (int c = 0; c < 2; ++c) {
    table->SetU8(kTableColumnKinds + c, kColumnPercent);
    table->SetI16(kTableColumnSizes + 2 * c, 50);
  }
  std::string backgrounds;
  for (std::int32_t v : {0xF0D8B0, 0xF0D8B0, -1, -1, 0xE8F4E8, 0xE8F4E8}) base::AppendI32(backgrounds, v);
  table->SetContent(backgrounds);
  std::string cells;
  for (const char* text : {"<Y y1 >Lake", "<Y y1 >Depth", "Tarn", "12 m", "Loch", "230 m"}) {
    cells += std::string("<Z S1 >") + text + "<T>";
  }

  TAEHoggetto* form = NewRecord(set, inizioForm, kFormGet);
  // The form is sent to its own page, as the site names it.
  char action[32];
  std::snprintf(action, sizeof action, "sample_%06x.html", static_cast<unsigned>(self.Index()));
  form->SetStr(kObjectName, kFormStartNameCapacity, action);
  form->SetStr(kFormEncoding, kFormEncodingCapacity, "");
  TAEHoggetto* lake = FormField(set, kFieldCombo, "lake", "", 1);
  lake->SetContent("Tarn\r\ntarn\r\nX\r\nLoch\r\nloch\r\n\r\nMere\r\nmere\r\n\r\n");
  TAEHoggetto* anchor = NewRecord(set, shortObj, kShortAnchor);
  anchor->SetI32(kShortValue, 1);
  TAEHoggetto* been = FormField(set, kFieldRadio, "been", "yes", 0);
  been->SetU8(kFieldChecked, 1);
  TAEHoggetto* notBeen = FormField(set, kFieldRadio, "been", "no", 0);
  TAEHoggetto* notes = FormField(set, kFieldMemo, "notes", "", 0);
  notes->SetU8(kFieldColumns, 40);
  notes->SetU8(kFieldRows, 3);
  return "<Z S2 >Tables and forms<Z S0 >A table holds rich text in its cells, and each cell may have a colour of "
         "its own:<Z S0 >" + Tag(*table) + cells + "<Z S0 >" + Tag(*anchor) + "A form sends what a reader fills in." +
         "<Z S0 >" + Tag(*form) + "Your name: " + Tag(*FormField(set, kFieldEdit, "name", "", 20)) +
         "<Z S0 >Favourite lake: " + Tag(*lake) + " " + Tag(*FormField(set, kFieldCheckBox, "news", "yes", 0)) +
         " send me news<Z S0 >Been there: " + Tag(*been) + " yes " + Tag(*notBeen) + " not yet<Z S0 >Notes: " +
         Tag(*notes) + "<Z S0 >" + Tag(*FormButton(set, kButtonSubmit, "Send")) + " " +
         Tag(*FormButton(set, kButtonReset, "Clear"));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: tarn-make-sample OUT.aeh\n", stderr);
    return 2;
  }
  const std::filesystem::path out = argv[1];
  platform::testing::RecordingMessages messages;
  platform::testing::FixedSystemInfo system(std::filesystem::temp_directory_path());
  system.userName = "Tarn";
  TAEHset set({&messages, &system, nullptr, nullptr});
  app::Compose(set);
  set.SetTitle("Welcome to Tarn");
  set.SetExpPrefix("sample");
  set.SetBackup(false);

  auto heading = set.NewObject(stileParagrafo);
  heading->SetName("Heading");
  heading->SetI16(72, 18);  // size in points
  heading->SetStr(39, 32, "Arial");
  set.Register(std::move(heading));

  auto word = set.NewObject(keyword);
  word->SetName("welcome");
  TAEHoggetto* welcome = set.Register(std::move(word));

  // The lake as a GIF, and as a photograph shown at its own size.
  TAEHoggetto* image = AddPicture(set, "lake.gif", EncodeGif(Lake()).value());
  TAEHoggetto* photo = AddPicture(set, "lake.jpg", EncodeJpeg(Lake(), 85).value());
  TAEHoggetto* sign = AddPicture(set, "signpost.wmf", Signpost());
  if (image == nullptr || photo == nullptr || sign == nullptr) {
    std::fputs("could not add the pictures\n", stderr);
    return 1;
  }
  TAEHoggetto* placed = set.Register(set.AddImmagineNew(image));
  TAEHoggetto* photoPlaced = set.Register(set.AddImmagineNew(photo));
  photoPlaced->SetStr(kPlacedAltText, kPlacedAltTextCapacity, "The lake, photographed");
  TAEHoggetto* signPlaced = set.Register(set.AddImmagineNew(sign));
  signPlaced->SetStr(kPlacedAltText, kPlacedAltTextCapacity, "A signpost drawing");
  // Shown three times its size, so that its zones are easy to hit.
  placed->SetI16(kPlacedWidth, 144);
  placed->SetI16(kPlacedHeight, 96);

  const char* titles[] = {"Cover", "Getting started", "Pictures", "Tables and forms"};
  TAEHoggetto* pages[4];
  for (int i = 0; i < 4; ++i) {
    auto page = set.NewObject(testoHtml);
    page->SetName(titles[i]);
    pages[i] = set.Register(std::move(page));
  }
  const std::string nul(1, '\0');
  pages[0]->SetContent("<Z S2 >Welcome to Tarn<Z S0 >This hypertext shows what a page can hold. Read on in "
                       "<$" + Id(pages[1]->GetId()) + ">Getting started<%> or look at the "
                       "<$" + Id(pages[2]->GetId()) + ">pictures<%>." + nul);
  pages[1]->SetContent("<Z S2 >Getting started<Z S0 >Pages are written as rich text with styles, links and "
                       "pictures. Every page can link to any other.<Z S0 >Back to the <$" +
                       Id(pages[0]->GetId()) + ">cover<%>." + nul);
  TAEHoggetto* floating = NewRecord(set, inputStat, kFloatingFrame);
  floating->SetStr(kObjectName, kFormNameCapacity, "inside");
  floating->SetI32(kFrameTarget, pages[1]->Index());
  floating->SetU8(kFrameShowNested, 0);
  floating->SetU8(kFrameAutoJump, 0);
  floating->SetU8(kFramePercent, 1);
  floating->SetI16(kFrameWidth, 60);
  floating->SetI16(kFrameHeight, 25);
  pages[2]->SetContent("<Z S2 >Pictures<Z S0 >A picture stands in the text like a character: <$" +
                       Id(placed->GetId()) + "> a lake. Its left, middle and right thirds lead to the cover, the "
                       "tables and the form.<Z S0 >A photograph keeps its own size: <$" + Id(photoPlaced->GetId()) +
                       ">.<Z S0 >A drawing in the picture format of older Windows programs: <$" + Id(signPlaced->GetId()) +
                       ">.<Z S0 >A floating frame shows another page inside this one:<Z S0 ><$" +
                       Id(floating->GetId()) + "><Z S0 >Back to the <$" + Id(pages[0]->GetId()) + ">cover<%>." + nul);
  pages[0]->SetI32(105, welcome->Index());
  pages[3]->SetContent(TablesAndForms(set, *pages[3]) + nul);
  // Three click zones side by side: the cover, the tables and the form.
  const ObjectId targets[] = {PageLink(set, *pages[0])->GetId(), PageLink(set, *pages[3])->GetId(),
                              PageLink(set, *pages[3], 1)->GetId()};
  for (int i = 0; i < kZoneCount; ++i) {
    const int at = kPlacedZones + i * kZoneSize;
    placed->SetI32(at, i < 3 ? targets[i] : -1);
    placed->SetI32(at + 4, 0);
    placed->SetI16(at + kZoneLeft, static_cast<std::int16_t>(i < 3 ? 48 * i : 0));
    placed->SetI16(at + kZoneTop, 0);
    placed->SetI16(at + kZoneWidth, static_cast<std::int16_t>(i < 3 ? 48 : 0));
    placed->SetI16(at + kZoneHeight, static_cast<std::int16_t>(i < 3 ? 96 : 0));
  }

  // Formatting: "Getting started" ends with a formatted paragraph, a list
  // in a style of its own and a link to a web address.
  {
    auto item = set.NewObject(stileParagrafo);
    item->SetName("List item");
    item->SetU8(field::style::kListKind, field::style::kListBullet);
    item->SetI16(field::style::kIndent, -38);  // the bullet hangs 10 mm left
    item->SetI16(field::style::kLeftMargin, 48);
    const int list = set.Register(std::move(item))->Index();
    const TAEHoggetto* site = set.Register(set.NewLink("http://www.example.com/"));
    const std::string li = "<Z S" + std::to_string(list) + " >";
    std::string text = pages[1]->ReadContent().value_or(nul);
    text.pop_back();  // its byte 0
    text += "<Z S0 A2 >Text can be <Y y1 >bold<Y >, <Y y2 >italic<Y >, <Y c0000FF >blue<Y > or "
            "<Y s16 >larger<Y >, and a paragraph can be centred.<Z S0 >A list:" +
            li + "styles name a look once" + li + "paragraphs take it with one click" +
            "<Z S0 >More on the web: <$" + Id(site->GetId()) + ">example.com<%>." + nul;
    pages[1]->SetContent(text);
  }

  // A small chapter tree, so that a newcomer sees chapters in the Pages
  // panel and the default page order at once.
  TAEHorderedTree tree;
  tree.Editable = true;
  tree.SetLinkedAEHset(&set);
  TreeNode& root = *tree.RootNode();
  tree.Rename(root, out.filename().string());
  TreeNode* opening = tree.AddChapter(root, "Welcome");
  tree.AddObject(*opening, pages[0]->GetId());
  TreeNode* steps = tree.AddChapter(root, "First steps");
  tree.AddObject(*steps, pages[1]->GetId());
  tree.AddObject(*steps, pages[2]->GetId());
  tree.AddObject(*steps, pages[3]->GetId());
  if (!set.SaveToFile(out)) {
    for (const auto& e : set.SaveErrors()) std::fprintf(stderr, "%s\n", e.c_str());
    return 1;
  }
  std::printf("wrote %s\n", out.c_str());
  return 0;
}
