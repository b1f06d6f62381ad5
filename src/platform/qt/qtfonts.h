// Fonts for documents written on Windows: the metric-compatible faces come
// from the system (fontconfig maps "Times New Roman", "Arial" and "Courier
// New" to Liberation); the symbol faces and the small bitmap-era faces are
// registered from the Wine font files.
#pragma once

#include <QFont>

#include "platform/textmeasurer.h"

namespace tarn::platform::qt {

// Registers the extra font files once; safe to call again.
void RegisterDocumentFonts();
// The Qt font for a document font, sized in pixels of a device with the
// given resolution (the screen's 96 pixels per inch unless told).
QFont ToQFont(const FontRequest& request, int pixelsPerInch = 96);

}  // namespace tarn::platform::qt
