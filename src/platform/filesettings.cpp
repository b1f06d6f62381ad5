// Settings in a text file; see filesettings.h.
#include "platform/filesettings.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>

#include "base/cp1252.h"
#include "base/filestream.h"
#include "platform/messages.h"

namespace tarn::platform {
namespace {

// Values and names are cp1252 in memory and UTF-8 in the file; backslash
// escapes keep line breaks, "=" in names and a leading "[" unambiguous.
std::string Escape(std::string_view text) {
  std::string out;
  for (char c : base::Cp1252ToUtf8(text)) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '=': out += "\\e"; break;
      case '[': out += "\\b"; break;
      default: out.push_back(c);
    }
  }
  return out;
}

std::optional<std::string> Unescape(std::string_view text) {
  std::string utf8;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      utf8.push_back(text[i]);
      continue;
    }
    if (++i >= text.size()) return std::nullopt;
    switch (text[i]) {
      case '\\': utf8 += '\\'; break;
      case 'n': utf8 += '\n'; break;
      case 'r': utf8 += '\r'; break;
      case 'e': utf8 += '='; break;
      case 'b': utf8 += '['; break;
      default: return std::nullopt;
    }
  }
  return base::Utf8ToCp1252(utf8);
}

// Temporary files are "FILE.PID-N.tmp": each write has its own, so that two
// running copies of the program never write into one file, and a file that
// someone else left at a fixed name is never written through.
std::atomic<unsigned> g_writeCounter{0};

std::string TemporarySuffix() {
  return "." + std::to_string(::getpid()) + "-" + std::to_string(++g_writeCounter) + ".tmp";
}

// Removes the temporary files of writes whose process has gone (killed
// between writing and renaming).
void RemoveStaleTemporaries(const std::filesystem::path& file) {
  const std::string prefix = file.filename().string() + ".";
  std::error_code ec;
  for (std::filesystem::directory_iterator it(file.parent_path(), ec), end; !ec && it != end;
       it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (!name.starts_with(prefix) || !name.ends_with(".tmp")) continue;
    int pid = 0;
    const char* first = name.data() + prefix.size();
    const auto [next, parsed] = std::from_chars(first, name.data() + name.size(), pid);
    if (parsed != std::errc() || *next != '-' || pid <= 0 || pid == ::getpid()) continue;
    if (::kill(pid, 0) == 0 || errno != ESRCH) continue;
    std::error_code ignored;
    std::filesystem::remove(it->path(), ignored);
  }
}

// Moves a damaged file aside under a name that no earlier damaged copy has:
// FILE.damaged, then FILE.damaged.1 and so on. Empty when it cannot.
std::filesystem::path SetAside(const std::filesystem::path& file, int& error) {
  constexpr int kMaxCopies = 1000;
  for (int n = 0; n < kMaxCopies; ++n) {
    std::filesystem::path aside = file;
    aside += n == 0 ? std::string(".damaged") : ".damaged." + std::to_string(n);
    if (::renameat2(AT_FDCWD, file.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE) == 0) return aside;
    if (errno == EINVAL || errno == ENOSYS) {
      // A file system that cannot rename without replacing: a second name,
      // then the first one goes.
      if (::link(file.c_str(), aside.c_str()) == 0) {
        ::unlink(file.c_str());
        return aside;
      }
    }
    if (errno != EEXIST) break;
  }
  error = errno;
  return {};
}

}  // namespace

FileSettings::FileSettings(std::filesystem::path file, Messages* messages)
    : m_file(std::move(file)), m_messages(messages) {
  Load();
}

std::filesystem::path FileSettings::DefaultFile() {
  std::filesystem::path base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg != '\0') {
    base = xdg;
  } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    base = std::filesystem::path(home) / ".config";
  } else {
    base = std::filesystem::temp_directory_path();
  }
  return base / "Tarn" / "HKEY_CURRENT_USER.ini";
}

void FileSettings::Load() {
  RemoveStaleTemporaries(m_file);
  std::string text;
  if (!base::ReadWholeFile(m_file, text)) return;  // no file yet: defaults
  std::string key;
  bool damaged = false;
  std::size_t pos = 0;
  while (pos < text.size() && !damaged) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      if (line.back() != ']') {
        damaged = true;
        break;
      }
      auto section = Unescape(line.substr(1, line.size() - 2));
      if (!section) {
        damaged = true;
        break;
      }
      key = *section;
      m_memory.Subkeys(key);  // creates the key
      continue;
    }
    const std::size_t eq = line.find('=');
    auto name = eq == std::string_view::npos ? std::nullopt : Unescape(line.substr(0, eq));
    auto value = eq == std::string_view::npos ? std::nullopt : Unescape(line.substr(eq + 1));
    if (!name || !value || key.empty()) {
      damaged = true;
      break;
    }
    m_memory.Write(key, *name, *value);
  }
  if (damaged) {
    m_memory.Clear();
    int error = 0;
    const std::filesystem::path aside = SetAside(m_file, error);
    if (m_messages != nullptr) {
      const std::string kept = aside.empty()
                                   ? "The damaged file could not be kept: " + base::ErrorText(error) + "."
                                   : "The damaged file was kept as " + aside.string() + ".";
      m_messages->Warning("The settings file " + m_file.string() +
                          " was damaged; the default settings are used. " + kept);
    }
  }
}

void FileSettings::Save() {
  if (m_batchDepth > 0) {
    m_pending = true;
    return;
  }
  WriteOut();
}

void FileSettings::EndBatch() {
  if (m_batchDepth > 0 && --m_batchDepth == 0 && m_pending) WriteOut();
}

void FileSettings::WriteOut() {
  m_pending = false;
  ++m_writes;
  std::string text = "; Tarn settings\n";
  m_memory.ForEach([&text](const std::string& path, const auto& values) {
    text += "[" + Escape(path) + "]\n";
    for (const auto& [upper, entry] : values) text += Escape(entry.first) + "=" + Escape(entry.second) + "\n";
  });
  std::error_code ec;
  std::filesystem::create_directories(m_file.parent_path(), ec);
  // Written beside the file, flushed, then renamed over it: a crash leaves
  // either the old settings or the new ones, never half a file. Readable by
  // its owner only: the settings may hold a saved password.
  std::filesystem::path partial = m_file;
  partial += TemporarySuffix();
  base::WriteFile out;
  bool ok = out.CreateNew(partial, 0600) && out.Write(text) && out.Sync();
  ok = out.Close() && ok;
  if (ok) {
    std::filesystem::rename(partial, m_file, ec);
    ok = !ec;
  }
  if (!ok) {
    std::filesystem::remove(partial, ec);
    if (!m_reportedWriteError && m_messages != nullptr) {
      m_messages->Warning("The settings could not be written to " + m_file.string() + ".");
    }
    m_reportedWriteError = true;
  }
}

std::optional<std::string> FileSettings::Read(std::string_view key, std::string_view name) {
  const bool existed = m_memory.KeyExists(key);
  auto value = m_memory.Read(key, name);
  if (!existed) Save();  // opening a key creates it
  return value;
}

void FileSettings::Write(std::string_view key, std::string_view name, std::string_view value) {
  // Writing what is there already changes nothing on disk.
  if (m_memory.KeyExists(key) && m_memory.Read(key, name) == value) return;
  m_memory.Write(key, name, value);
  Save();
}

std::vector<std::string> FileSettings::Subkeys(std::string_view key) { return m_memory.Subkeys(key); }

void FileSettings::DeleteKey(std::string_view key) {
  m_memory.DeleteKey(key);
  Save();
}

bool FileSettings::KeyExists(std::string_view key) { return m_memory.KeyExists(key); }

}  // namespace tarn::platform
