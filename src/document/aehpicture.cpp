// Picture loading; see aehpicture.h.
#include "document/aehpicture.h"

#include "base/filestream.h"

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
  m_format = SniffImageFormat(bytes);
  if (m_format == ImageFormat::Wmf || m_format == ImageFormat::Emf) {
    // Metafiles are kept as they are; only their size is known here.
    auto size = MetafileSize(bytes);
    if (!size) return false;
    m_width = size->first;
    m_height = size->second;
    return true;
  }
  auto decoded = DecodeImage(bytes);
  if (!decoded) return false;
  m_bitmap = std::move(*decoded);
  m_width = m_bitmap.width;
  m_height = m_bitmap.height;
  return true;
}

}  // namespace tarn::document
