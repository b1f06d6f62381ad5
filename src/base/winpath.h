// Paths stored inside documents may have been written on Windows (drive
// letters, backslashes). These helpers split such names the way the old
// program did and turn them into local paths.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tarn::base {

// The name after the last "\", "/" or drive colon.
std::string ExtractFileName(std::string_view path);
// The extension of the name part, dot included ("" when there is none).
std::string ExtractFileExt(std::string_view path);
// The name part without its extension.
std::string ExtractBaseName(std::string_view path);
// Replaces (or adds) the extension of the name part; ext includes the dot.
std::string ChangeFileExt(std::string_view path, std::string_view ext);
// A stored path as a local one: backslashes become slashes and a drive
// letter prefix is dropped, so "C:\dir\a.aeh" becomes "/dir/a.aeh".
std::filesystem::path ToLocalPath(std::string_view stored);

}  // namespace tarn::base
