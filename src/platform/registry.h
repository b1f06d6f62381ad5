// The program's settings as the old program kept them in the registry: the
// root key, the general options, subkeys for dialogs, the extension table,
// and the defaults that a missing value stands for.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/settings.h"

namespace tarn::platform {

inline constexpr std::string_view kRegistryRoot = "\\SOFTWARE\\LF\\Tarn3.0proE\\";

class Messages;

// Access below the root; subkey paths are relative to it. A missing value
// reads as the empty string.
class Registry {
 public:
  explicit Registry(Settings& settings, Messages* messages = nullptr) : m_settings(settings), m_messages(messages) {}

  std::string ReadOption(std::string_view name);
  void WriteOption(std::string_view name, std::string_view value);
  void WriteOptionFlag(std::string_view name, std::uint8_t flag);
  std::string ReadSubkeyValue(std::string_view subkey, std::string_view name);
  void WriteSubkeyValue(std::string_view subkey, std::string_view name, std::string_view value);
  void WriteSubkeyFlag(std::string_view subkey, std::string_view name, std::uint8_t flag);
  std::vector<std::string> ListSubkeys(std::string_view subkey);
  void DeleteSubkey(std::string_view subkey);
  // A full key path and a value name, split at the last backslash.
  std::string ReadRegistryValue(std::string_view path);
  // The behaviour (0..3) for linked files of an extension, or the fallback
  // when the extension is not listed.
  int ExtensionBehaviour(std::string_view extension, int fallback);
  std::string ExtensionApplication(std::string_view extension);
  // Writes the server and FTP configurations a fresh installation has.
  void WriteNetworkDefaults();

  Settings& Store() { return m_settings; }

 private:
  static std::string Key(std::string_view subkey);
  Settings& m_settings;
  Messages* m_messages;
};

// The general options with the defaults that missing values stand for.
struct ProgramOptions {
  bool atStartBlank = false;
  std::string lastFile;
  bool tipOfTheDay = true;
  bool autoHideTip = false;
  int maxCacheImg = 20;
  int undoDeep = 20;
  int toolWindowLimit = 3;
  bool saveReminder = false;
  int saveReminderMinutes = 5;
  bool typographicQuotes = false;
  bool altText = false;
  bool backup = true;
  bool leftBorder = false;
  bool searchOnTop = false;
  int pointerSet = 0;
  bool restoreToolbars = false;
  bool dbDebug = false;
  bool dbDebugMap = false;

  int SaveReminderMilliseconds() const { return saveReminderMinutes * 60000; }
};

ProgramOptions ReadProgramOptions(Registry& registry);

// A decimal number, or the fallback when the text is not one.
int ParseNumber(std::string_view text, int fallback);

}  // namespace tarn::platform
