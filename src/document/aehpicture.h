// A decoded picture of an image object, as the image cache keeps it.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "base/bitmap.h"
#include "document/imagecodec.h"

namespace tarn::document {

class TAEHpicture {
 public:
  // Loads the picture from a file; false when it cannot be read or decoded.
  // The name is kept either way (the ImageNameL property).
  bool SetImageNameL(const std::filesystem::path& path);
  const std::filesystem::path& ImageNameL() const { return m_imageName; }
  bool LoadFromBytes(std::string_view bytes);

  const base::Bitmap& Bitmap() const { return m_bitmap; }
  ImageFormat Format() const { return m_format; }
  int Width() const { return m_width; }
  int Height() const { return m_height; }
  bool Transparent() const { return m_bitmap.transparent; }
  bool Empty() const { return m_width <= 0 || m_height <= 0; }
  // A metafile's drawing as SVG (its bitmap stays empty); "" for other
  // pictures and for a metafile the converters refused.
  const std::string& Svg() const { return m_svg; }
  // The number of frames of a GIF (1 for other pictures), and its bytes,
  // which an animation plays from.
  int FrameCount() const { return m_frames; }
  const std::string& AnimationBytes() const { return m_animation; }

 private:
  std::filesystem::path m_imageName;
  base::Bitmap m_bitmap;
  ImageFormat m_format = ImageFormat::Unknown;
  int m_width = 0;
  int m_height = 0;
  std::string m_svg;
  int m_frames = 1;
  std::string m_animation;
};

}  // namespace tarn::document
