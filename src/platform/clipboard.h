// The system clipboard. Private formats travel as bytes under their MIME
// type; pictures also go on as an image for other programs.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/bitmap.h"

namespace tarn::platform {

inline constexpr std::string_view kMimeObjects = "application/x-tarn30-objects";
inline constexpr std::string_view kMimePicture = "application/x-tarn30-picture";
inline constexpr std::string_view kMimeZone = "application/x-tarn30-zone";
inline constexpr std::string_view kMimeRtf = "text/rtf";
inline constexpr std::string_view kMimeText = "text/plain";

struct ClipboardData {
  struct Item {
    std::string mimeType;
    std::string bytes;
  };
  std::vector<Item> items;
  base::Bitmap image;  // empty when none
};

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // Replaces the clipboard's content with all the given formats at once.
  virtual void Set(const ClipboardData& data) = 0;
  virtual ClipboardData Get() = 0;
};

}  // namespace tarn::platform
