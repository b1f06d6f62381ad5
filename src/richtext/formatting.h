// What the formatting commands share with the windows that call them: the
// texts of their undo captions.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarn::richtext {

inline constexpr std::string_view kCaptionLink = "Insert link ";
inline constexpr std::string_view kCaptionObject = "Object insertion";

// The name a colour goes by in undo captions ("Red" for pure red).
std::string ColorName(std::uint32_t colour);
// The words for italic and bold in undo captions ("Italico Grassetto ").
std::string StyleDescription(std::uint8_t bits);

}  // namespace tarn::richtext
