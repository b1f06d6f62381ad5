// Printing on the recording printer (fixed metrics, 96 pixels per inch, an
// A4 sheet): the page setup and its stored profile, pagination, headers and
// footers, list numbers, images and tables on paper, and the print list.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "app/compose.h"
#include "document/aehorderedtree.h"
#include "document/aehset.h"
#include "document/aehtesto.h"
#include "document/imagecodec.h"
#include "document/recordfields.h"
#include "document/testfixtures.h"
#include "platform/memorysettings.h"
#include "platform/testing/recordingprinter.h"
#include "print/aehpagep.h"
#include "print/pagesetupdialog.h"
#include "print/printlist.h"

namespace tarn::print {
namespace {

using namespace document;
using namespace document::field;
using platform::testing::FixedCanvas;

std::string Z(const std::string& markup) { return markup + std::string(1, '\0'); }

std::string Tag(ObjectId id) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "<$%08x>", static_cast<unsigned>(id));
  return buf;
}

class PrintFixture : public ::testing::Test {
 protected:
  PrintFixture() : set(env.Services()), setup(printer, settings, env.messages) {
    app::Compose(set);
    // The main window's page setup: 25 mm all round.
    setup.SetOptions(poDefaultMinMargins | poMargins | poHundredthsOfMillimeters);
    for (auto set_margin : {&TPageSetupDialog::SetMarginLeft, &TPageSetupDialog::SetMarginTop,
                            &TPageSetupDialog::SetMarginRight, &TPageSetupDialog::SetMarginBottom}) {
      (setup.*set_margin)(kDefaultMargin);
    }
    setup.Refresh();
  }

  TAEHtesto* Page(const std::string& markup, const std::string& title = "Untitled") {
    auto page = set.NewObject(testoHtml);
    page->SetName(title);
    page->SetContent(Z(markup));
    return static_cast<TAEHtesto*>(set.Register(std::move(page)));
  }
  // Paragraphs "<prefix>1" .. "<prefix>n".
  static std::string Lines(const std::string& prefix, int n) {
    std::string markup;
    for (int i = 1; i <= n; ++i) markup += "<Z S0 >" + prefix + std::to_string(i);
    return markup;
  }
  std::vector<std::string> AllTexts() const {
    std::vector<std::string> all;
    for (std::size_t s = 0; s < printer.sheets.size(); ++s) {
      for (const std::string& t : printer.Texts(s)) all.push_back(t);
    }
    return all;
  }
  TAEHtesto* Print(TAEHtesto* page, PrintOptions options = {}) {
    TAEHpageP printable(set);
    printable.options = options;
    return printable.Riempi(page, setup);
  }

  testing::TestEnv env;
  TAEHset set;
  platform::testing::RecordingPrinter printer;
  platform::MemorySettings settings;
  TPageSetupDialog setup;
};

// ---- Page setup ----

TEST(PageSetupRules, MarginsAreTakenOnlyInsideTheirMinimums) {
  testing::TestEnv env;
  platform::testing::RecordingPrinter printer;
  platform::MemorySettings settings;
  TPageSetupDialog setup(printer, settings, env.messages);
  setup.SetMarginLeft(2000);
  setup.SetMarginTop(2000);
  setup.SetMinMarginLeft(1000);
  setup.SetMinMarginTop(1000);
  setup.SetMarginLeft(1000);  // equal to its minimum: refused
  setup.SetMarginTop(1000);   // equal to its minimum: taken
  EXPECT_EQ(setup.MarginLeft(), 2000);
  EXPECT_EQ(setup.MarginTop(), 1000);
  setup.SetMinMarginTop(1500);  // above its margin: refused
  EXPECT_EQ(setup.MinMarginTop(), 1000);
  setup.SetMarginRight(-5);  // below its minimum of 0
  EXPECT_EQ(setup.MarginRight(), 0);
}

TEST(PageSetupRules, OptionsExcludeEachOther) {
  testing::TestEnv env;
  platform::testing::RecordingPrinter printer;
  platform::MemorySettings settings;
  TPageSetupDialog setup(printer, settings, env.messages);
  // A new component has both minimum options; setting them again keeps both.
  EXPECT_TRUE(setup.Has(poDefaultMinMargins) && setup.Has(poMinMargins));
  setup.SetOptions(poMargins | poHundredthsOfMillimeters);
  setup.SetOptions(poMargins | poHundredthsOfMillimeters | poDefaultMinMargins | poMinMargins);
  EXPECT_TRUE(setup.Has(poDefaultMinMargins));
  EXPECT_FALSE(setup.Has(poMinMargins));
  setup.SetOptions(poMargins | poMinMargins | poHundredthsOfMillimeters);
  EXPECT_TRUE(setup.Has(poMinMargins));
  // The unit set last wins.
  setup.SetOptions(setup.Options() | poThousandthsOfInches);
  EXPECT_TRUE(setup.Has(poThousandthsOfInches));
  EXPECT_FALSE(setup.Has(poHundredthsOfMillimeters));
  setup.SetMarginLeft(1000);  // an inch
  EXPECT_EQ(setup.LeftHundredths(), 2540);
}

TEST_F(PrintFixture, DerivedValuesFollowThePaper) {
  EXPECT_EQ(setup.PaperWidth(), 21008);  // 794 pixels at 96 per inch
  EXPECT_NEAR(setup.HorizontalScale(), 96.0 / 2540.0, 1e-4);
  printer.paper.width = 1588;
  printer.paper.dpiX = 192;
  setup.Refresh();
  EXPECT_EQ(setup.PaperWidth(), 21008);
  EXPECT_NEAR(setup.HorizontalScale(), 192.0 / 2540.0, 1e-4);
}

TEST_F(PrintFixture, StoredPrinterProfileRoundTrips) {
  setup.RegString = std::string(kMainRegString);
  setup.SetIniSettings(std::string(kMainIniSettings));
  ASSERT_TRUE(printer.Select({"Second printer", "drv2", "USB1"}));
  platform::DeviceMode mode;
  mode.orientation = platform::DeviceMode::kLandscape;
  mode.copies = 3;
  mode.duplex = platform::DeviceMode::kDuplexLongEdge;
  mode.paperSize = 0;
  mode.paperWidth = 2100;
  mode.paperLength = 1480;
  printer.SetMode(mode);
  setup.TakeMargins(1200, 1300, 1400, 1500);
  setup.SaveSettings();
  const std::string key = "\\Software\\LF\\printerProfiles\\PrnSettings_PrinterSettings1";
  EXPECT_EQ(settings.Read(key, "device").value_or(""), "Second printer");
  EXPECT_EQ(settings.Read(key, "dmOrientation").value_or(""), "2");
  EXPECT_EQ(settings.Read(key, "Bottom").value_or(""), "1500");
  EXPECT_EQ(settings.Read(key, "PrnParsSaved").value_or(""), "1");

  platform::testing::RecordingPrinter other;
  TPageSetupDialog loaded(other, settings, env.messages);
  loaded.RegString = std::string(kMainRegString);
  loaded.SetIniSettings(std::string(kMainIniSettings));
  EXPECT_EQ(other.Current().device, "Second printer");
  EXPECT_EQ(other.Current().port, "USB1");
  EXPECT_EQ(other.Mode(), mode);
  EXPECT_EQ(loaded.MarginLeft(), 1200);
  EXPECT_EQ(loaded.MarginTop(), 1300);
  EXPECT_EQ(loaded.MarginRight(), 1400);
  EXPECT_EQ(loaded.MarginBottom(), 1500);

  // A profile cut short is read up to its first missing value.
  platform::MemorySettings partial;
  for (const char* name : {"device", "driver", "port", "dmPaperSize", "dmPaperLength", "dmPaperWidth",
                           "dmOrientation"}) {
    partial.Write(key, name, settings.Read(key, name).value());
  }
  partial.Write(key, "Left", "900");
  platform::testing::RecordingPrinter third;
  TPageSetupDialog cut(third, partial, env.messages);
  cut.RegString = std::string(kMainRegString);
  cut.SetIniSettings(std::string(kMainIniSettings));
  EXPECT_EQ(third.Current().device, "Second printer");
  EXPECT_EQ(third.Mode().orientation, platform::DeviceMode::kLandscape);
  EXPECT_EQ(third.Mode().copies, 1);
  EXPECT_EQ(cut.MarginLeft(), 0);
}

TEST_F(PrintFixture, IniProfileIsReadOnlyOnceSaved) {
  setup.IniFile = env.Path("printer.ini").string();
  setup.SetIniSettings("Draft");
  EXPECT_FALSE(setup.LoadSettings());
  setup.TakeMargins(1000, 1000, 1000, 1000);
  setup.SaveSettings();
  EXPECT_FALSE(settings.KeyExists("PrnSettings_Draft"));

  platform::testing::RecordingPrinter other;
  TPageSetupDialog loaded(other, settings, env.messages);
  loaded.IniFile = setup.IniFile;
  loaded.SetIniSettings("Draft");
  EXPECT_EQ(loaded.MarginTop(), 1000);
}

TEST_F(PrintFixture, WithoutPrintersNothingIsStoredOrPrinted) {
  printer.installed.clear();
  setup.RegString = "\\Software\\LF\\printerProfiles";
  setup.SetIniSettings("PrinterSettings1");
  setup.SaveSettings();
  EXPECT_TRUE(settings.Subkeys("\\Software\\LF\\printerProfiles").empty());
  EXPECT_EQ(Print(Page("<Z S0 >Hello")), nullptr);
  EXPECT_TRUE(env.messages.Saw(kNoPrinters));
  EXPECT_TRUE(printer.sheets.empty());
}

// ---- The printable page ----

TEST_F(PrintFixture, AShortPageIsOneJobOfOneSheet) {
  TAEHtesto* page = Page("<Z S0 >Hello<Z S0 >world", "Greeting");
  EXPECT_EQ(Print(page), page);
  ASSERT_EQ(printer.titles.size(), 1u);
  EXPECT_EQ(printer.titles[0], "Tarn, pag: Greeting");
  EXPECT_EQ(printer.ended, 1);
  ASSERT_EQ(printer.sheets.size(), 1u);
  EXPECT_EQ(printer.Texts(0), (std::vector<std::string>{"Hello", "world"}));
}

TEST_F(PrintFixture, RiempiWithoutAPageSaysSo) {
  TAEHpageP printable(set);
  EXPECT_EQ(printable.Riempi(nullptr, setup), nullptr);
  EXPECT_TRUE(env.messages.Saw(kInvalidRiempi));
  EXPECT_TRUE(printer.titles.empty());
}

// Every line lies whole inside the printable area of one sheet, and all of
// them come out once, in order.
TEST_F(PrintFixture, ALongPageBreaksBetweenLinesInsideTheMargins) {
  TAEHtesto* page = Page(Lines("Line ", 150));
  ASSERT_NE(Print(page), nullptr);
  ASSERT_GE(printer.sheets.size(), 3u);
  std::vector<std::string> expected;
  for (int i = 1; i <= 150; ++i) expected.push_back("Line " + std::to_string(i));
  EXPECT_EQ(AllTexts(), expected);
  const int margin = static_cast<int>(2500 * 96 / 2540.0 + 0.5);  // 94.5 pixels
  for (const auto& sheet : printer.sheets) {
    for (const FixedCanvas::Op& op : sheet) {
      if (op.what != "text") continue;
      EXPECT_GE(op.x, margin - 1);
      EXPECT_GE(op.y, margin - 1);
      EXPECT_LE(op.y2, printer.paper.height - margin + 1) << op.text;
    }
  }
}

TEST_F(PrintFixture, AParagraphCrossingASheetPrintsItsLinesOnBoth) {
  std::string words;
  for (int i = 0; i < 2000; ++i) words += "w" + std::to_string(i) + " ";
  ASSERT_NE(Print(Page("<Z S0 >" + words)), nullptr);
  ASSERT_GE(printer.sheets.size(), 2u);
  EXPECT_FALSE(printer.Texts(0).empty());
  EXPECT_FALSE(printer.Texts(1).empty());
  std::string joined;
  for (const std::string& t : AllTexts()) joined += t;
  EXPECT_EQ(joined, words);
}

TEST_F(PrintFixture, HeaderAndFooterPagesFrameThePage) {
  TAEHtesto* header = Page("<Z S0 >Top of every page", "Header");
  TAEHtesto* footer = Page("<Z S0 >Bottom line", "Footer");
  set.SetHeaderI32(header::kHeaderPage, header->Index());
  set.SetHeaderI32(header::kFooterPage, footer->Index());
  TAEHtesto* page = Page(Lines("Body ", 60));
  ASSERT_NE(Print(page), nullptr);
  const std::vector<std::string> texts = AllTexts();
  ASSERT_GE(texts.size(), 62u);
  EXPECT_EQ(texts.front(), "Top of every page");
  EXPECT_EQ(texts[1], "Body 1");
  EXPECT_EQ(texts.back(), "Bottom line");
  // The header page printed on its own is not its own header.
  printer.sheets.clear();
  ASSERT_NE(Print(header), nullptr);
  EXPECT_EQ(AllTexts(), (std::vector<std::string>{"Top of every page", "Bottom line"}));
}

TEST_F(PrintFixture, NumberedParagraphsCountAndRestart) {
  auto style = set.NewObject(stileParagrafo);
  style->SetName("Numbers");
  style->SetU8(style::kListKind, style::kListNumbered);
  const int numbers = set.Register(std::move(style))->Index();
  const std::string n = "<Z S" + std::to_string(numbers) + " >";
  ASSERT_NE(Print(Page(n + "a" + n + "b" + n + "c" + n + "d" + "<Z S0 >plain" + n + "e")), nullptr);
  std::vector<std::string> marks;
  for (const std::string& t : AllTexts()) {
    if (t.size() > 1 && t.back() == ' ' && t[t.size() - 2] == '.') marks.push_back(t);
  }
  EXPECT_EQ(marks, (std::vector<std::string>{"1. ", "2. ", "3. ", "4. ", "1. "}));
}

TEST_F(PrintFixture, OlderTextThatCannotBeConvertedIsRefused) {
  TAEHset bare(env.Services());  // no converter of older text installed
  auto page = bare.NewObject(testoHtml);
  page->SetContent(Z("plain old text"));
  page->SetU8(kPageGeneration, 1);
  auto* registered = static_cast<TAEHtesto*>(bare.Register(std::move(page)));
  TAEHpageP printable(bare);
  EXPECT_EQ(printable.Riempi(registered, setup), nullptr);
  EXPECT_TRUE(env.messages.Saw(kOlderTextInPrint));
  EXPECT_TRUE(printer.sheets.empty());
}

TEST_F(PrintFixture, MarginsWiderThanThePaperStillPrint) {
  setup.TakeMargins(15000, 15000, 15000, 15000);
  ASSERT_NE(Print(Page("<Z S0 >Squeezed")), nullptr);
  ASSERT_EQ(printer.Texts(0), (std::vector<std::string>{"Squeezed"}));
  for (const FixedCanvas::Op& op : printer.sheets[0]) {
    if (op.what == "text") {
      EXPECT_LT(op.x, printer.paper.width);
    }
  }
}

// ---- Backgrounds, images and tables ----

class ImageFixture : public PrintFixture {
 protected:
  // A placed image of the picture at its natural size, on a page.
  TAEHtesto* ImagePage(const base::Bitmap& bitmap, const std::string& before = "") {
    testing::WriteFile(env.Path("pic.gif"), document::EncodeGif(bitmap).value());
    TAEHoggetto* image = set.AddImageFile(env.Path("pic.gif"));
    auto placed = set.AddImmagineNew(image);
    const ObjectId id = set.Register(std::move(placed))->GetId();
    return Page("<Z S0 >" + before + Tag(id) + "<Z S0 >after");
  }
  std::vector<FixedCanvas::Op> Ops(const std::string& what) const {
    std::vector<FixedCanvas::Op> found;
    for (const auto& sheet : printer.sheets) {
      for (const FixedCanvas::Op& op : sheet) {
        if (op.what == what) found.push_back(op);
      }
    }
    return found;
  }
};

TEST_F(ImageFixture, ImageScaleSetsThePrintedSize) {
  // 400 screen pixels at 25 hundredths of a millimetre each: 100 mm.
  ASSERT_NE(Print(ImagePage(testing::SmallBitmap(400, 20, false))), nullptr);
  std::vector<FixedCanvas::Op> images = Ops("image");
  ASSERT_EQ(images.size(), 1u);
  EXPECT_NEAR(images[0].x2 - images[0].x, 100 * 96 / 25.4, 1.0);
  EXPECT_NEAR(images[0].y2 - images[0].y, 5 * 96 / 25.4, 1.0);

  printer.sheets.clear();
  PrintOptions options;
  options.imageScale = 5000;
  ASSERT_NE(Print(ImagePage(testing::SmallBitmap(100, 20, false)), options), nullptr);
  images = Ops("image");
  ASSERT_EQ(images.size(), 1u);
  EXPECT_NEAR(images[0].x2 - images[0].x, 50 * 96 / 25.4, 1.0);
}

TEST_F(ImageFixture, TransparentPicturesPrintWhiteHolesOverTheBackground) {
  PrintOptions options;
  options.pageBackground = true;
  ASSERT_NE(Print(ImagePage(testing::SmallBitmap(40, 20, true)), options), nullptr);
  const auto& ops = printer.sheets.at(0);
  const auto image = std::find_if(ops.begin(), ops.end(), [](const FixedCanvas::Op& op) { return op.what == "image"; });
  ASSERT_NE(image, ops.end());
  // The page's grey first, then white under the picture, then the picture.
  EXPECT_EQ(ops.front().what, "clip");
  EXPECT_EQ(ops[1].what, "fill");
  EXPECT_EQ(ops[1].colour, 0xC0C0C0u);
  const auto under = image - 1;
  EXPECT_EQ(under->what, "fill");
  EXPECT_EQ(under->colour, 0xFFFFFFu);
  EXPECT_EQ(std::tie(under->x, under->y, under->x2, under->y2), std::tie(image->x, image->y, image->x2, image->y2));
}

TEST_F(ImageFixture, BackgroundIsPrintedOnlyWhenAsked) {
  TAEHtesto* page = Page(Lines("Line ", 150));
  page->SetI32(kPageBgColour, 0x00FFEEDD);
  ASSERT_NE(Print(page), nullptr);
  EXPECT_TRUE(Ops("fill").empty());
  printer.sheets.clear();
  PrintOptions options;
  options.pageBackground = true;
  ASSERT_NE(Print(page, options), nullptr);
  // Every sheet is covered between its margins.
  const std::vector<FixedCanvas::Op> fills = Ops("fill");
  ASSERT_EQ(fills.size(), printer.sheets.size());
  for (const FixedCanvas::Op& fill : fills) {
    EXPECT_EQ(fill.colour, 0x00FFEEDDu);
    EXPECT_NEAR(fill.x, 94.5, 1);
    EXPECT_NEAR(fill.x2, 794 - 94.5, 1);
  }
}

TEST_F(ImageFixture, AnImageTallerThanASheetIsMadeToFit) {
  ASSERT_NE(Print(ImagePage(testing::SmallBitmap(200, 6000, false))), nullptr);
  const std::vector<FixedCanvas::Op> images = Ops("image");
  ASSERT_EQ(images.size(), 1u);
  const int printable = 1123 - 2 * 94;
  EXPECT_LE(images[0].y2 - images[0].y, printable + 1);
  EXPECT_NEAR(static_cast<double>(images[0].y2 - images[0].y) / (images[0].x2 - images[0].x), 30.0, 0.5);
}

class TableFixture : public ImageFixture {
 protected:
  // A 2 x 2 table of cells "a".."d", the first cell red, the last with an
  // image behind it, the others transparent; percent columns 50/50.
  TAEHtesto* TablePage(int border = 0, const std::string& cells = "") {
    auto table = set.NewObject(tabellaHtml);
    table->SetU8(kTableRows, 2);
    table->SetU8(kTableColumns, 2);
    table->SetU8(kTableColumnKinds, 0);
    table->SetU8(kTableColumnKinds + 1, 0);
    table->SetI16(kTableColumnSizes, 50);
    table->SetI16(kTableColumnSizes + 2, 50);
    table->SetU8(kTableBorder, static_cast<std::uint8_t>(border));
    std::string backgrounds;
    for (std::int32_t v : {0x0000FF, -1, -1, -1}) {
      for (int b = 0; b < 4; ++b) backgrounds.push_back(static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * b)) & 0xFF));
    }
    table->SetContent(backgrounds);
    const ObjectId id = set.Register(std::move(table))->GetId();
    const std::string c = cells.empty() ? "<Z S1 >a<T><Z S1 >b<T><Z S1 >c<T><Z S1 >d<T>" : cells;
    return Page("<Z S0 >before<Z S0 >" + Tag(id) + c + "<Z S0 >after");
  }
};

TEST_F(TableFixture, CellsPrintInRowsWithTheirBackgrounds) {
  ASSERT_NE(Print(TablePage()), nullptr);
  EXPECT_EQ(AllTexts(), (std::vector<std::string>{"before", "a", "b", "c", "d", "after"}));
  std::vector<FixedCanvas::Op> texts;
  for (const FixedCanvas::Op& op : printer.sheets[0]) {
    if (op.what == "text") texts.push_back(op);
  }
  // a and b side by side, c and d below them: halves of the width between
  // the paragraph's margins, less the spacing of 2 pixels around the cells.
  EXPECT_EQ(texts[1].y, texts[2].y);
  EXPECT_GT(texts[3].y, texts[1].y);
  EXPECT_EQ(texts[1].x, texts[3].x);
  const int styleMargin = texts[0].x - 94;
  EXPECT_NEAR(texts[2].x - texts[1].x, (606 - 2 * styleMargin - 3 * 2) / 2 + 2, 1);
  const std::vector<FixedCanvas::Op> fills = Ops("fill");
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0].colour, 0x0000FFu);
  EXPECT_LE(fills[0].x, texts[1].x);
  EXPECT_GT(fills[0].x2, texts[1].x);

  printer.sheets.clear();
  PrintOptions options;
  options.tableBackground = false;
  ASSERT_NE(Print(TablePage(), options), nullptr);
  EXPECT_TRUE(Ops("fill").empty());
}

TEST_F(TableFixture, ALongTableBreaksBetweenTheLinesOfItsCells) {
  const std::string tall = "<Z S1 >" + Lines("x", 80).substr(7);
  ASSERT_NE(Print(TablePage(1, tall + "<T><Z S1 >b<T><Z S1 >c<T><Z S1 >d<T>")), nullptr);
  ASSERT_GE(printer.sheets.size(), 2u);
  const int margin = 94;
  for (const auto& sheet : printer.sheets) {
    for (const FixedCanvas::Op& op : sheet) {
      if (op.what == "text") {
        EXPECT_LE(op.y2, 1123 - margin + 1) << op.text;
      }
    }
  }
  const std::vector<std::string> texts = AllTexts();
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "x80"), 1);
  EXPECT_EQ(texts.back(), "after");
}

TEST_F(TableFixture, AWordWiderThanItsColumnWidensItAsOnScreen) {
  // The printed grid is the screen's: the column of a cell whose word does
  // not fit grows, and the next column starts after the word.
  const std::string word(90, 'W');
  ASSERT_NE(Print(TablePage(0, "<Z S1 >" + word + "<T><Z S1 >b<T><Z S1 >c<T><Z S1 >d<T>")), nullptr);
  std::vector<FixedCanvas::Op> texts;
  for (const FixedCanvas::Op& op : printer.sheets[0]) {
    if (op.what == "text") texts.push_back(op);
  }
  ASSERT_GE(texts.size(), 5u);
  ASSERT_EQ(texts[1].text, word);
  EXPECT_GT(texts[1].x2 - texts[1].x, 606 / 2);
  EXPECT_GE(texts[2].x, texts[1].x2);  // "b"
  EXPECT_EQ(texts[3].x, texts[1].x);   // "c" under the word
}

// ---- Sheets ----

TEST(Paginate, SheetsEndBeforeTheFirstLineThatDoesNotFit) {
  struct Case {
    const char* name;
    std::vector<Span> lines;
    int height;
    std::vector<Span> sheets;
  };
  const Case cases[] = {
      {"fits", {{0, 40}, {40, 80}}, 80, {{0, 80}}},
      {"crossing", {{0, 60}, {60, 120}, {120, 180}}, 180, {{0, 60}, {60, 120}, {120, 180}}},
      {"taller than a sheet", {{0, 250}, {250, 260}}, 260, {{0, 100}, {100, 200}, {200, 260}}},
      // A table row: two cells' lines side by side, the second one taller.
      {"side by side", {{0, 90}, {10, 60}, {60, 130}}, 130, {{0, 60}, {60, 130}}},
      {"empty", {}, 1, {{0, 1}}},
  };
  for (const Case& c : cases) {
    const std::vector<Span> sheets = Paginate(c.lines, c.height, 100);
    ASSERT_EQ(sheets.size(), c.sheets.size()) << c.name;
    for (std::size_t i = 0; i < sheets.size(); ++i) {
      EXPECT_EQ(sheets[i].top, c.sheets[i].top) << c.name << " " << i;
      EXPECT_EQ(sheets[i].bottom, c.sheets[i].bottom) << c.name << " " << i;
    }
  }
}

// ---- The print list ----

TEST_F(PrintFixture, PrintListFollowsTheDefaultOrderInOneJob) {
  TAEHtesto* first = Page("<Z S0 >one", "One");
  TAEHtesto* second = Page("<Z S0 >two", "Two");
  TAEHtesto* third = Page("<Z S0 >three", "Three");
  // The default order puts the third page first.
  {
    TAEHorderedTree tree;
    tree.SetLinkedAEHset(&set);
    tree.Editable = true;
    tree.MoveUp(*tree.FindObject(third->GetId()));
    tree.MoveUp(*tree.FindObject(third->GetId()));
  }
  PrintList list(set);
  list.AllInDefaultOrder();
  EXPECT_EQ(list.Entries(), (std::vector<ObjectId>{third->GetId(), first->GetId(), second->GetId()}));

  list.Clear();
  list.Add(second->GetId());
  list.Add(MakeObjectId(immagine, 0));  // names no page
  list.Add(first->GetId());
  std::vector<int> steps;
  EXPECT_EQ(list.Print(0, setup, {}, [&](int step, int total) {
    steps.push_back(step * 100 + total);
    return true;
  }),
            2);
  EXPECT_EQ(steps, (std::vector<int>{104, 204, 304, 404}));
  EXPECT_EQ(printer.titles, (std::vector<std::string>{"Tarn, pag: Two"}));
  EXPECT_EQ(printer.ended, 1);
  EXPECT_EQ(printer.sheets.size(), 2u);
  EXPECT_EQ(AllTexts(), (std::vector<std::string>{"two", "one"}));
}

TEST_F(PrintFixture, AnEmptyListPrintsTheCurrentPage) {
  Page("<Z S0 >one", "One");
  TAEHtesto* second = Page("<Z S0 >two", "Two");
  PrintList list(set);
  EXPECT_EQ(list.Print(second->Index(), setup, {}), 1);
  EXPECT_EQ(list.Entries(), (std::vector<ObjectId>{second->GetId()}));
  EXPECT_EQ(AllTexts(), (std::vector<std::string>{"two"}));
}

TEST_F(PrintFixture, StoppingOrAFailedJobPrintsNothing) {
  TAEHtesto* page = Page("<Z S0 >one");
  PrintList list(set);
  list.Add(page->GetId());
  list.Add(page->GetId());
  EXPECT_EQ(list.Print(0, setup, {}, [](int step, int) { return step < 2; }), -1);
  EXPECT_EQ(printer.aborted, 1);
  printer.failBegin = true;
  EXPECT_EQ(list.Print(0, setup, {}), -1);
  EXPECT_TRUE(env.messages.Saw("The page could not be printed.\rthe test printer refuses"));
}

}  // namespace
}  // namespace tarn::print
