// Small metafiles built byte by byte: a placeable WMF and an EMF, each
// drawing one filled rectangle, for the converter tests and the fuzz corpus.
#pragma once

#include <string>

namespace tarn::testing {

// A placeable WMF of width x height units at 96 units per inch, with a
// red rectangle over its middle.
std::string SmallWmf(int width, int height);
// An EMF of width x height pixels with a red rectangle over its middle.
std::string SmallEmf(int width, int height);

}  // namespace tarn::testing
