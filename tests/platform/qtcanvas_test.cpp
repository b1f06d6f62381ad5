// The Qt drawing surface, offscreen: text is measured with the document
// fonts and a centred line's ink lands in the middle of the page.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "document/aehset.h"
#include "document/testfixtures.h"
#include "platform/qt/qtcanvas.h"
#include "platform/qt/qtstrings.h"
#include "richtext/documenthost.h"
#include "richtext/layout.h"

namespace tarn {
namespace {

TEST(QtCanvas, MeasuresDocumentFontsAtNinetySixPixelsPerInch) {
  platform::qt::QtCanvas canvas;
  const platform::FontRequest times{"Times New Roman", 12, 0, 0};
  const platform::FontMetrics m = canvas.Metrics(times);
  // 12 points are 16 pixels at 96 per inch; the line is a little taller.
  EXPECT_GE(m.height, 16);
  EXPECT_LE(m.height, 22);
  EXPECT_GT(m.ascent, m.descent);
  // Runs add up: no kerning, whole-pixel advances.
  EXPECT_EQ(canvas.TextWidth(times, "AVAV"), 2 * canvas.TextWidth(times, "AV"));
  EXPECT_GT(canvas.TextWidth({"Courier New", 12, 0, 0}, "iiii"), canvas.TextWidth(times, "iiii"));
}

TEST(QtCanvas, ConvertsCp1252AtTheBoundary) {
  EXPECT_EQ(platform::qt::ToQString("caf\xE9 \x80"), QString::fromUtf8("caf\xC3\xA9 \xE2\x82\xAC"));
  EXPECT_EQ(platform::qt::FromQString(QString::fromUtf8("\xC3\xA9")).value(), "\xE9");
  EXPECT_FALSE(platform::qt::FromQString(QString::fromUtf8("\xE4\xB8\xAD")).has_value());
}

TEST(QtCanvas, CentredLineInkIsCentred) {
  testing::TestEnv env;
  platform::qt::QtCanvas measurer;
  document::TAEHset set(env.Services());
  richtext::DocumentHost host(set, &measurer, &env.messages);
  richtext::RichText text;
  richtext::MarkupStream stream("<Z S0 s20 A2 >Centred words");
  richtext::ReadText(text, stream, host);
  richtext::TextLayout layout(text, measurer);
  layout.layoutWidth = 400;
  layout.LayoutAll();

  QImage image(400, 80, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    platform::qt::QtCanvas canvas(&painter);
    layout.Paint(canvas, {0, 0, 400, 80}, {});
  }
  int left = image.width();
  int right = -1;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (qGray(image.pixel(x, y)) < 128) {
        left = std::min(left, x);
        right = std::max(right, x);
      }
    }
  }
  ASSERT_GE(right, left) << "nothing was drawn";
  // Margins of 10 on both sides: the middle of the line is x = 200.
  EXPECT_NEAR((left + right) / 2.0, 200.0, 4.0);
  EXPECT_GT(right - left, 100);
}

}  // namespace
}  // namespace tarn

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
