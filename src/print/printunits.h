// Lengths on paper. The text layout measures in screen pixels and the
// author sets margins in hundredths of a millimetre; printing lays out in
// the printer's own pixels. Text lengths go through millimetres at the
// screen's resolution, object sizes through the image scale (hundredths
// of a millimetre per 100 screen pixels).
#pragma once

#include <cmath>

namespace tarn::print {

inline constexpr double kHundredthsPerInch = 2540.0;

struct PrintUnits {
  int screenPixelsPerInch = 96;
  // Printer pixels per hundredth of a millimetre.
  double horizontalScale = 96.0 / kHundredthsPerInch;
  double verticalScale = 96.0 / kHundredthsPerInch;
  // Printer pixels per 100 screen pixels of an image or object.
  double imageScaleX = 100.0;
  double imageScaleY = 100.0;

  // Sets the image scale from hundredths of a millimetre per 100 screen pixels.
  void SetImageScale(int hundredthsPer100Pixels) {
    imageScaleX = hundredthsPer100Pixels * horizontalScale;
    imageScaleY = hundredthsPer100Pixels * verticalScale;
  }

  // A horizontal (vertical) length of the text layout, given in screen
  // pixels, in printer pixels.
  int X(int screenPixels) const { return Round(ScreenToHundredths(screenPixels) * horizontalScale); }
  int Y(int screenPixels) const { return Round(ScreenToHundredths(screenPixels) * verticalScale); }
  // Hundredths of a millimetre in printer pixels.
  int HundredthsX(int hundredths) const { return Round(hundredths * horizontalScale); }
  int HundredthsY(int hundredths) const { return Round(hundredths * verticalScale); }
  // The printed width (height) of an object or image of this many screen pixels.
  int ImageX(int screenPixels) const { return Round(screenPixels * imageScaleX / 100.0); }
  int ImageY(int screenPixels) const { return Round(screenPixels * imageScaleY / 100.0); }

 private:
  double ScreenToHundredths(int pixels) const {
    return pixels * kHundredthsPerInch / (screenPixelsPerInch > 0 ? screenPixelsPerInch : 96);
  }
  static int Round(double v) { return static_cast<int>(std::lround(v)); }
};

}  // namespace tarn::print
