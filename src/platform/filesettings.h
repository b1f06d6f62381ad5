// Settings kept in a text file, one per hive, in the user's configuration
// folder: sections named by key path, "name=value" lines. The whole file is
// rewritten atomically after every change; a damaged file is reported once,
// set aside, and the defaults take over.
#pragma once

#include <filesystem>

#include "platform/memorysettings.h"

namespace tarn::platform {

class Messages;

class FileSettings : public Settings {
 public:
  FileSettings(std::filesystem::path file, Messages* messages);

  std::optional<std::string> Read(std::string_view key, std::string_view name) override;
  void Write(std::string_view key, std::string_view name, std::string_view value) override;
  std::vector<std::string> Subkeys(std::string_view key) override;
  void DeleteKey(std::string_view key) override;
  bool KeyExists(std::string_view key) override;
  void BeginBatch() override { ++m_batchDepth; }
  void EndBatch() override;
  // How often the file was written, for tests.
  int Writes() const { return m_writes; }

  const std::filesystem::path& File() const { return m_file; }
  // Where the settings of the current user live: $XDG_CONFIG_HOME (or
  // ~/.config) / Tarn / HKEY_CURRENT_USER.ini.
  static std::filesystem::path DefaultFile();

 private:
  void Load();
  void Save();
  void WriteOut();

  std::filesystem::path m_file;
  Messages* m_messages;
  MemorySettings m_memory;
  bool m_reportedWriteError = false;
  int m_batchDepth = 0;
  bool m_pending = false;
  int m_writes = 0;
};

}  // namespace tarn::platform
