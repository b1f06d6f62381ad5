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
// The Qt font for a document font at 96 pixels per inch.
QFont ToQFont(const FontRequest& request);

}  // namespace tarn::platform::qt
