// Windows metafiles (WMF and EMF) as old documents embed them: each is
// turned into an SVG drawing (WMF through libwmf, EMF through libemf2svg),
// which the display draws at any size. Both take untrusted bytes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarn::document {

// Metafiles larger than this are not converted (they show as a framed box).
inline constexpr std::size_t kMaxMetafileBytes = 16 * 1024 * 1024;

// The SVG text of a WMF (placeable or bare) or an EMF; nothing when the
// bytes are neither or the converter refuses them.
std::optional<std::string> MetafileToSvg(std::string_view bytes);
std::optional<std::string> WmfToSvg(std::string_view bytes);
std::optional<std::string> EmfToSvg(std::string_view bytes);

}  // namespace tarn::document
