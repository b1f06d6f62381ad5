// Printing into a real PDF file with the document fonts, checked from the
// outside with poppler's tools: the sheets a long page takes, the text of
// every page in order with the header and footer pages, the words inside
// the margins, and a picture at the size the image scale gives it.
#include <gtest/gtest.h>

#include <QImage>

#include <cstdlib>
#include <cstdio>

#include "app/compose.h"
#include "document/aehset.h"
#include "document/aehtesto.h"
#include "document/imagecodec.h"
#include "document/testfixtures.h"
#include "platform/memorysettings.h"
#include "platform/qt/qtcanvas.h"
#include "platform/qt/qtpagedprinter.h"
#include "platform/qt/qtstrings.h"
#include "print/pagesetupdialog.h"
#include "print/printlist.h"

namespace tarn::print {
namespace {

using namespace document;

constexpr double kPointsPerMillimetre = 72.0 / 25.4;

std::string Z(const std::string& markup) { return markup + std::string(1, '\0'); }

std::string RunTool(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buf[4096];
    std::size_t n = 0;
    while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
    pclose(pipe);
  }
  return out;
}

bool HaveTool(const char* tool) { return !RunTool(std::string("command -v ") + tool).empty(); }

struct Word {
  double xMin, yMin, xMax, yMax;
  std::string text;
};

// The words of pdftotext's bounding-box listing:
// <word xMin="x" yMin="y" xMax="x" yMax="y">text</word>.
std::vector<Word> Words(const std::filesystem::path& pdf) {
  const std::string html = RunTool("pdftotext -bbox '" + pdf.string() + "' - 2>/dev/null");
  std::vector<Word> words;
  for (std::size_t at = html.find("<word "); at != std::string::npos; at = html.find("<word ", at + 1)) {
    Word w{};
    if (std::sscanf(html.c_str() + at, "<word xMin=\"%lf\" yMin=\"%lf\" xMax=\"%lf\" yMax=\"%lf\">", &w.xMin, &w.yMin,
                    &w.xMax, &w.yMax) != 4) {
      continue;
    }
    const std::size_t open = html.find('>', at);
    const std::size_t close = html.find("</word>", open);
    if (open == std::string::npos || close == std::string::npos) break;
    w.text = html.substr(open + 1, close - open - 1);
    words.push_back(w);
  }
  return words;
}

class PdfFixture : public ::testing::Test {
 protected:
  PdfFixture()
      : set({&env.messages, &system, &measurer, nullptr}),
        printer(env.Path("out.pdf")),
        setup(printer, settings, env.messages) {
    app::Compose(set);
    setup.SetOptions(poDefaultMinMargins | poMargins | poHundredthsOfMillimeters);
    setup.TakeMargins(kDefaultMargin, kDefaultMargin, kDefaultMargin, kDefaultMargin);
  }
  void SetUp() override {
    if (!HaveTool("pdftotext") || !HaveTool("pdfinfo") || !HaveTool("pdftoppm")) {
      GTEST_SKIP() << "poppler-utils are not installed (scripts/deps.sh installs them)";
    }
  }

  TAEHtesto* Page(const std::string& markup, const std::string& title) {
    auto page = set.NewObject(testoHtml);
    page->SetName(title);
    page->SetContent(Z(markup));
    return static_cast<TAEHtesto*>(set.Register(std::move(page)));
  }
  int PdfPages() {
    const std::string info = RunTool("pdfinfo '" + env.Path("out.pdf").string() + "'");
    const std::size_t at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 6);
  }

  testing::TestEnv env;
  platform::HostSystemInfo system;
  platform::qt::QtCanvas measurer;
  TAEHset set;
  platform::qt::QtPdfPrinter printer;
  platform::MemorySettings settings;
  TPageSetupDialog setup;
};

TEST_F(PdfFixture, PagesPrintInOrderWithHeaderAndFooterInsideTheMargins) {
  TAEHtesto* header = Page("<Z S0 >Headline of the hypertext", "Header");
  TAEHtesto* footer = Page("<Z S0 >Footnote of the hypertext", "Footer");
  set.SetHeaderI32(header::kHeaderPage, header->Index());
  set.SetHeaderI32(header::kFooterPage, footer->Index());
  std::string longText;
  for (int i = 1; i <= 160; ++i) longText += "<Z S0 >Line" + std::to_string(i) + " of the long page";
  TAEHtesto* first = Page(longText, "Long");
  TAEHtesto* second = Page("<Z S0 >Second page text", "Short");

  PrintList list(set);
  list.Add(first->GetId());
  list.Add(second->GetId());
  ASSERT_EQ(list.Print(first->Index(), setup, {}), 2);
  // 160 lines of 12-point text need more than one A4 sheet between 25 mm
  // margins; the short page starts a sheet of its own.
  ASSERT_GE(list.Sheets(), 3);
  EXPECT_EQ(PdfPages(), list.Sheets());

  const std::string text = RunTool("pdftotext '" + env.Path("out.pdf").string() + "' -");
  std::vector<std::string> expected{"Headline", "Line1 ", "Line80 ", "Line160 ", "Footnote", "Headline",
                                    "Second page text", "Footnote"};
  std::size_t at = 0;
  for (const std::string& piece : expected) {
    const std::size_t found = text.find(piece, at);
    ASSERT_NE(found, std::string::npos) << piece << " after " << at;
    at = found + piece.size();
  }

  const double margin = 25 * kPointsPerMillimetre;
  const std::vector<Word> words = Words(env.Path("out.pdf"));
  ASSERT_GT(words.size(), 600u);
  for (const Word& w : words) {
    EXPECT_GE(w.xMin, margin - 1) << w.text;
    EXPECT_LE(w.xMax, 595.3 - margin + 1) << w.text;
    EXPECT_GE(w.yMin, margin - 1) << w.text;
    EXPECT_LE(w.yMax, 841.9 - margin + 1) << w.text;
  }
}

TEST_F(PdfFixture, APictureIsAsWideAsTheImageScaleMakesIt) {
  base::Bitmap red;
  red.width = 400;
  red.height = 40;
  red.pixels.assign(400 * 40, 0xFFFF0000u);
  testing::WriteFile(env.Path("red.gif"), document::EncodeGif(red).value());
  TAEHoggetto* image = set.AddImageFile(env.Path("red.gif"));
  const ObjectId placed = set.Register(set.AddImmagineNew(image))->GetId();
  char tag[16];
  std::snprintf(tag, sizeof tag, "<$%08x>", static_cast<unsigned>(placed));
  TAEHtesto* page = Page(std::string("<Z S0 >Picture: ") + tag + "<Z S0 >after", "Picture");

  PrintList list(set);
  list.Add(page->GetId());
  PrintOptions options;
  options.pageBackground = false;
  ASSERT_EQ(list.Print(page->Index(), setup, options), 1);
  // At 72 dots per inch a dot is a point.
  RunTool("pdftoppm -png -r 72 '" + env.Path("out.pdf").string() + "' '" + env.Path("shot").string() + "'");
  QImage shot(platform::qt::PathToQString(env.Path("shot-1.png").string()));
  ASSERT_FALSE(shot.isNull());
  int left = shot.width();
  int right = -1;
  int top = shot.height();
  int bottom = -1;
  for (int y = 0; y < shot.height(); ++y) {
    for (int x = 0; x < shot.width(); ++x) {
      const QColor c = shot.pixelColor(x, y);
      if (c.red() > 200 && c.green() < 60 && c.blue() < 60) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
    }
  }
  // 400 pixels at 0.25 mm are 100 mm; 40 pixels 10 mm.
  EXPECT_NEAR(right - left + 1, 100 * kPointsPerMillimetre, 2);
  EXPECT_NEAR(bottom - top + 1, 10 * kPointsPerMillimetre, 2);
  EXPECT_GE(left, 25 * kPointsPerMillimetre - 1);
}

TEST_F(PdfFixture, AFileThatCannotBeWrittenIsReported) {
  platform::qt::QtPdfPrinter nowhere(env.Path("missing/folder/out.pdf"));
  TPageSetupDialog elsewhere(nowhere, settings, env.messages);
  PrintList list(set);
  TAEHtesto* page = Page("<Z S0 >text", "Page");
  list.Add(page->GetId());
  EXPECT_EQ(list.Print(page->Index(), elsewhere, {}), -1);
  ASSERT_FALSE(env.messages.entries.empty());
  EXPECT_NE(env.messages.entries.back().text.find("missing/folder/out.pdf"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(env.Path("missing/folder/out.pdf")));
}

}  // namespace
}  // namespace tarn::print
