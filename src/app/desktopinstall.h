// Installing the program for the current user ("/INIT"): a desktop entry
// that opens hypertexts, and the file type of ".aeh" files.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tarn::platform {
class Registry;
}

namespace tarn::app {

inline constexpr std::string_view kHypertextMimeType = "application/x-tarn-hypertext";

struct InstallResult {
  std::vector<std::filesystem::path> written;  // the files made
  std::string error;                          // empty when everything was written
};

// Writes <dataHome>/applications/tarn.desktop and
// <dataHome>/mime/packages/tarn-hypertext.xml for the program at
// programPath, and sets "numMax" of "ftpnet" to "222". The caches of the
// desktop are refreshed by the caller (it runs the update tools).
InstallResult InstallDesktopIntegration(const std::filesystem::path& programPath,
                                        const std::filesystem::path& dataHome, platform::Registry& registry);

// $XDG_DATA_HOME, or ~/.local/share.
std::filesystem::path UserDataHome();

}  // namespace tarn::app
