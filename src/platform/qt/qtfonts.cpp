// Document fonts in Qt; see qtfonts.h.
#include "platform/qt/qtfonts.h"

#include <QFontDatabase>
#include <QStringList>

#include <cmath>
#include <mutex>

#include "platform/qt/qtstrings.h"

namespace tarn::platform::qt {
namespace {
constexpr double kPointsPerInch = 72.0;
}

void RegisterDocumentFonts() {
  static std::once_flag once;
  std::call_once(once, [] {
    const QStringList files = {"wingding.ttf", "symbol.ttf", "small_fonts.ttf", "ms_sans_serif.ttf", "webdings.ttf"};
    for (const QString& file : files) QFontDatabase::addApplicationFont("/usr/share/wine/fonts/" + file);
  });
}

QFont ToQFont(const FontRequest& request, int pixelsPerInch) {
  QFont font(ToQString(request.face));
  // Sizes are points of a 96-pixels-per-inch screen whatever the display
  // says, so that pages lay out the same everywhere; a printer has its own.
  const int points = request.sizePoints > 0 ? request.sizePoints : 12;
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(points * pixelsPerInch / kPointsPerInch))));
  font.setBold((request.styleBits & 1) != 0);
  font.setItalic((request.styleBits & 2) != 0);
  font.setUnderline((request.styleBits & 4) != 0);
  font.setStrikeOut((request.styleBits & 8) != 0);
  // Whole-pixel advances and no kerning: the widths of a run then add up to
  // the run's extent, as the layout assumes (text output on Windows does
  // not kern either).
  font.setKerning(false);
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}

}  // namespace tarn::platform::qt
