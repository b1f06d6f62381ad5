// The application the desktop has registered for a file: its MIME type and
// default handler as xdg-mime reports them, and the handler's command line
// from its desktop entry. Knowing the program itself (rather than handing
// the file to xdg-open, which returns at once on most desktops) lets the
// caller watch it until the author closes it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarn::platform {

class Process;

// The folders in which desktop entries are looked for: $XDG_DATA_HOME
// (~/.local/share) first, then $XDG_DATA_DIRS (/usr/local/share:/usr/share),
// each followed by "applications".
std::vector<std::filesystem::path> DesktopEntryFolders();

// The command line of a desktop entry's "Exec" key for one file: the
// program first, then its arguments with the file in place of the %f, %F,
// %u or %U field code (appended when there is none), the other field codes
// dropped. An entry marked "Terminal=true" runs as terminal + "-e" +
// command, and gives nothing without a terminal. Nothing when the text
// holds no "[Desktop Entry]" group with an Exec key, or when the key cannot
// be split or names no program.
std::optional<std::vector<std::string>> DesktopExecCommand(std::string_view entry, const std::string& file,
                                                           const std::string& terminal = {});

// The registered application for the file as a command line; nothing when
// the desktop reports no association (xdg-mime missing, no MIME type, no
// default handler, or a handler whose entry is not found).
std::optional<std::vector<std::string>> RegisteredApplication(Process& process, const std::string& file,
                                                              const std::vector<std::filesystem::path>& folders);

}  // namespace tarn::platform
