// The desktop's registered application for a file; see desktopapplication.h.
#include "platform/desktopapplication.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/process.h"

namespace tarn::platform {
namespace {

// xdg-mime answers at once; a desktop that takes longer counts as none.
constexpr int kQueryTimeout = 5000;
// The terminal the desktop offers programs that need one.
constexpr std::string_view kTerminalEmulator = "x-terminal-emulator";
// Desktop entries are a few kilobytes; a bigger file is not one.
constexpr std::streamsize kEntryLimit = 1 << 20;

std::string Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r\n");
  return std::string(text.substr(first, last - first + 1));
}

// The value of a key in the [Desktop Entry] group.
std::optional<std::string> EntryValue(std::string_view entry, std::string_view key) {
  std::istringstream lines{std::string(entry)};
  std::string line;
  bool inEntry = false;
  while (std::getline(lines, line)) {
    const std::string text = Trimmed(line);
    if (text.empty() || text[0] == '#') continue;
    if (text[0] == '[') {
      inEntry = text == "[Desktop Entry]";
      continue;
    }
    if (!inEntry) continue;
    const auto equals = text.find('=');
    if (equals == std::string::npos) continue;
    if (Trimmed(std::string_view(text).substr(0, equals)) == key) {
      return Trimmed(std::string_view(text).substr(equals + 1));
    }
  }
  return std::nullopt;
}

// Splits an Exec value into words: blanks separate them, double quotes
// group, and inside quotes a backslash escapes the next character.
std::optional<std::vector<std::string>> SplitExec(std::string_view value) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  bool quoted = false;
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if (quoted) {
      if (c == '\\' && i + 1 < value.size()) {
        word += value[++i];
      } else if (c == '"') {
        quoted = false;
      } else {
        word += c;
      }
    } else if (c == '"') {
      quoted = true;
      inWord = true;
    } else if (c == ' ' || c == '\t') {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (quoted) return std::nullopt;
  if (inWord) words.push_back(word);
  return words;
}

std::optional<std::string> ReadSmallFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string text(static_cast<std::size_t>(kEntryLimit), '\0');
  in.read(text.data(), kEntryLimit);
  text.resize(static_cast<std::size_t>(in.gcount()));
  return text;
}

// A desktop file id names "vendor-app.desktop" for the entry
// "applications/vendor/app.desktop" too.
std::optional<std::filesystem::path> FindEntry(const std::string& id,
                                               const std::vector<std::filesystem::path>& folders) {
  if (id.empty() || id.find('/') != std::string::npos || id.find("..") != std::string::npos) return std::nullopt;
  std::error_code error;
  for (const auto& folder : folders) {
    std::string name = id;
    while (true) {
      const std::filesystem::path candidate = folder / name;
      if (std::filesystem::is_regular_file(candidate, error)) return candidate;
      const auto dash = name.find('-');
      if (dash == std::string::npos) break;
      name[dash] = '/';
    }
  }
  return std::nullopt;
}

std::string FirstLine(const std::string& text) { return Trimmed(text.substr(0, text.find('\n'))); }

}  // namespace

std::vector<std::filesystem::path> DesktopEntryFolders() {
  std::vector<std::filesystem::path> folders;
  const char* home = std::getenv("XDG_DATA_HOME");
  const char* user = std::getenv("HOME");
  if (home != nullptr && *home != '\0') {
    folders.emplace_back(std::filesystem::path(home) / "applications");
  } else if (user != nullptr && *user != '\0') {
    folders.emplace_back(std::filesystem::path(user) / ".local/share/applications");
  }
  const char* dirs = std::getenv("XDG_DATA_DIRS");
  const std::string list = dirs != nullptr && *dirs != '\0' ? dirs : "/usr/local/share:/usr/share";
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find(':', start);
    if (end == std::string::npos) end = list.size();
    if (end > start) folders.emplace_back(std::filesystem::path(list.substr(start, end - start)) / "applications");
    start = end + 1;
  }
  return folders;
}

std::optional<std::vector<std::string>> DesktopExecCommand(std::string_view entry, const std::string& file,
                                                           const std::string& terminal) {
  const std::optional<std::string> exec = EntryValue(entry, "Exec");
  if (!exec) return std::nullopt;
  std::optional<std::vector<std::string>> words = SplitExec(*exec);
  if (!words || words->empty()) return std::nullopt;
  std::vector<std::string> command;
  bool fileGiven = false;
  for (const std::string& word : *words) {
    const bool fileCode = word == "%f" || word == "%F" || word == "%u" || word == "%U";
    // The program comes first and is never the file: an entry whose first
    // word is empty or a field code would run the file itself.
    if (command.empty() && fileCode) return std::nullopt;
    if (fileCode) {
      if (!fileGiven) command.push_back(file);
      fileGiven = true;
      continue;
    }
    // Other field codes (%i, %c, %k, ...) stand for what a launcher knows;
    // "%%" is a percent sign.
    std::string kept;
    for (std::size_t i = 0; i < word.size(); ++i) {
      if (word[i] == '%' && i + 1 < word.size()) {
        if (word[i + 1] == '%') kept += '%';
        ++i;
        continue;
      }
      kept += word[i];
    }
    if (kept.empty()) {
      if (command.empty()) return std::nullopt;
      continue;
    }
    command.push_back(kept);
  }
  if (command.empty()) return std::nullopt;
  if (!fileGiven) command.push_back(file);
  // A program for a terminal runs in one, or not at all: started without
  // one it would find no input and end at once.
  if (EntryValue(entry, "Terminal") == "true") {
    if (terminal.empty()) return std::nullopt;
    command.insert(command.begin(), {terminal, "-e"});
  }
  return command;
}

std::optional<std::vector<std::string>> RegisteredApplication(Process& process, const std::string& file,
                                                              const std::vector<std::filesystem::path>& folders) {
  const ProcessResult type = process.Run("xdg-mime", {"query", "filetype", file}, kQueryTimeout);
  const std::string mime = type.Succeeded() ? FirstLine(type.output) : std::string();
  if (mime.empty()) return std::nullopt;
  const ProcessResult handler = process.Run("xdg-mime", {"query", "default", mime}, kQueryTimeout);
  const std::string id = handler.Succeeded() ? FirstLine(handler.output) : std::string();
  const std::optional<std::filesystem::path> entry = FindEntry(id, folders);
  if (!entry) return std::nullopt;
  const std::optional<std::string> text = ReadSmallFile(*entry);
  if (!text) return std::nullopt;
  return DesktopExecCommand(*text, file, process.FindProgram(std::string(kTerminalEmulator)));
}

}  // namespace tarn::platform
