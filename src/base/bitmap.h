// A decoded picture in memory: 32-bit pixels, row by row from the top.
#pragma once

#include <cstdint>
#include <vector>

namespace tarn::base {

struct Bitmap {
  int width = 0;
  int height = 0;
  // 0xAARRGGBB; alpha 0 marks a transparent pixel.
  std::vector<std::uint32_t> pixels;
  bool transparent = false;

  bool Empty() const { return width <= 0 || height <= 0; }
  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

}  // namespace tarn::base
