// Printables draw through the platform's offset canvas.
#pragma once

#include "platform/offsetcanvas.h"

namespace tarn::print {
using platform::OffsetCanvas;
}  // namespace tarn::print
