// Picture loading; see aehpicture.h.
#include "document/aehpicture.h"

#include <algorithm>

#include "base/filestream.h"
#include "document/metafile.h"

namespace tarn::document {

bool TAEHpicture::SetImageNameL(const std::filesystem::path& path) {
  m_imageName = path;
  std::string bytes;
  if (!base::ReadWholeFile(path, bytes)) return false;
  return LoadFromBytes(bytes);
}

bool TAEHpicture::LoadFromBytes(std::string_view bytes) {
  m_bitmap = {};
  m_width = m_height = 0;
  m_svg.clear();
  m_animation.clear();
  m_frames = 1;
  m_format = SniffImageFormat(bytes);
  if (m_format == ImageFormat::Wmf || m_format == ImageFormat::Emf) {
    // Metafiles are kept as they are; only their size is known here.
    auto size = MetafileSize(bytes);
    if (!size) return false;
    m_width = size->first;
    m_height = size->second;
    if (auto svg = MetafileToSvg(bytes)) m_svg = std::move(*svg);
    return true;
  }
  auto decoded = DecodeImage(bytes);
  if (!decoded) return false;
  m_bitmap = std::move(*decoded);
  m_width = m_bitmap.width;
  m_height = m_bitmap.height;
  if (m_format == ImageFormat::Gif) {
    m_frames = std::max(1, CountGifFrames(bytes));
    // Only an animation needs its file again.
    if (m_frames > 1) m_animation.assign(bytes);
  }
  return true;
}

}  // namespace tarn::document
