// The settings store, shaped like the registry the program used on Windows:
// keys named by backslash-separated paths below one root, each holding
// string values whose names compare without case, and subkeys. A key is
// created when it is first opened.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarn::platform {

class Settings {
 public:
  virtual ~Settings() = default;
  // key is a path such as "\SOFTWARE\LF\Tarn3.0proE\options\" (leading and
  // trailing backslashes optional, case-insensitive).
  virtual std::optional<std::string> Read(std::string_view key, std::string_view name) = 0;
  virtual void Write(std::string_view key, std::string_view name, std::string_view value) = 0;
  virtual std::vector<std::string> Subkeys(std::string_view key) = 0;
  virtual void DeleteKey(std::string_view key) = 0;
  virtual bool KeyExists(std::string_view key) = 0;
  // Many changes in a row (closing the window writes a dozen values): a
  // store that writes itself out does so once, when the outermost batch
  // ends.
  virtual void BeginBatch() {}
  virtual void EndBatch() {}
};

class SettingsBatch {
 public:
  explicit SettingsBatch(Settings& settings) : m_settings(settings) { m_settings.BeginBatch(); }
  ~SettingsBatch() { m_settings.EndBatch(); }
  SettingsBatch(const SettingsBatch&) = delete;
  SettingsBatch& operator=(const SettingsBatch&) = delete;

 private:
  Settings& m_settings;
};

// Keys as the store compares them: no leading or trailing backslash, runs of
// backslashes collapsed, upper-cased.
std::string NormalizeKey(std::string_view key);

}  // namespace tarn::platform
