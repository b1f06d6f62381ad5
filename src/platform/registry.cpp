// Program settings in the registry's shape; see registry.h.
#include "platform/registry.h"

#include <charconv>

#include "base/cp1252.h"
#include "platform/messages.h"

namespace tarn::platform {
namespace {
constexpr std::string_view kOptions = "options";
}

int ParseNumber(std::string_view text, int fallback) {
  int value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end && !text.empty() ? value : fallback;
}

std::string Registry::Key(std::string_view subkey) { return std::string(kRegistryRoot) + std::string(subkey); }

std::string Registry::ReadOption(std::string_view name) { return ReadSubkeyValue(kOptions, name); }
void Registry::WriteOption(std::string_view name, std::string_view value) { WriteSubkeyValue(kOptions, name, value); }
void Registry::WriteOptionFlag(std::string_view name, std::uint8_t flag) { WriteSubkeyFlag(kOptions, name, flag); }

std::string Registry::ReadSubkeyValue(std::string_view subkey, std::string_view name) {
  return m_settings.Read(Key(subkey), name).value_or(std::string());
}

void Registry::WriteSubkeyValue(std::string_view subkey, std::string_view name, std::string_view value) {
  m_settings.Write(Key(subkey), name, value);
}

void Registry::WriteSubkeyFlag(std::string_view subkey, std::string_view name, std::uint8_t flag) {
  WriteSubkeyValue(subkey, name, std::to_string(flag));
}

std::vector<std::string> Registry::ListSubkeys(std::string_view subkey) { return m_settings.Subkeys(Key(subkey)); }

void Registry::DeleteSubkey(std::string_view subkey) { m_settings.DeleteKey(Key(subkey)); }

std::string Registry::ReadRegistryValue(std::string_view path) {
  const std::size_t split = path.rfind('\\');
  const std::string_view key = split == std::string_view::npos ? std::string_view() : path.substr(0, split);
  const std::string_view name = split == std::string_view::npos ? path : path.substr(split + 1);
  if (!m_settings.KeyExists(key)) {
    if (m_messages != nullptr) {
      m_messages->Information("Tmp err msg. Key non trovata nel registry:" + std::string(key) + " : " +
                              std::string(name));
    }
    return {};
  }
  return m_settings.Read(key, name).value_or(std::string());
}

int Registry::ExtensionBehaviour(std::string_view extension, int fallback) {
  const std::string wanted = base::LowerCase(extension);
  for (const std::string& listed : ListSubkeys("ext")) {
    if (base::SameText(listed, wanted)) {
      return ParseNumber(ReadSubkeyValue("ext\\" + listed, "comp"), 0);
    }
  }
  return fallback;
}

std::string Registry::ExtensionApplication(std::string_view extension) {
  return ReadSubkeyValue("ext\\" + std::string(extension), "appPath");
}

void Registry::WriteNetworkDefaults() {
  if (ReadSubkeyValue("tarnnet", "numConfTot").empty()) {
    WriteSubkeyValue("tarnnet", "numConfTot", "1");
    WriteSubkeyValue("tarnnet", "numSelectedConf", "0");
    const std::pair<std::string_view, std::string_view> server[] = {
        {"directoryGet", "c:\\temp"}, {"tarnBaseDir", "/scripts/cgi-tarn/"}, {"tarnBaseDir2", "/scripts/cgi-tarn/"},
        {"tarnCGI", "tarnd.dll"},     {"tarnUpCGI", "tarnupd.dll"},          {"nomeConf", "DefaultNT"},
        {"port", "80"},               {"server", "www.example.com"},         {"sezione", "0"},
        {"timeout", "30"},            {"user", "default"}};
    for (auto [name, value] : server) WriteSubkeyValue("tarnnet\\0", name, value);
  }
  if (ReadSubkeyValue("ftpnet", "numConfTot").empty()) {
    WriteSubkeyValue("ftpnet", "numConfTot", "1");
    for (std::string_view name : {"numSelectedConf", "numSelectedConf0", "numSelectedConf1", "numSelectedConf2"}) {
      WriteSubkeyValue("ftpnet", name, "0");
    }
    const std::pair<std::string_view, std::string_view> ftp[] = {
        {"BaseDir", "/"}, {"nomeConf", "Default"}, {"port", "21"},      {"savePass", "0"},
        {"server", "ftp.example.com"}, {"timeout", "30"}, {"user", "anonymous"}, {"useScript", "0"}};
    for (auto [name, value] : ftp) WriteSubkeyValue("ftpnet\\0", name, value);
  }
}

ProgramOptions ReadProgramOptions(Registry& registry) {
  ProgramOptions o;
  auto is1 = [&](std::string_view name) { return registry.ReadOption(name) == "1"; };
  auto not0 = [&](std::string_view name) { return registry.ReadOption(name) != "0"; };
  o.atStartBlank = is1("AtStartBlank");
  o.lastFile = registry.ReadOption("LastFile");
  const std::string tip = registry.ReadOption("TipOfTheDay");
  o.tipOfTheDay = tip.empty() || tip == "1";
  o.autoHideTip = is1("AutoHideTip");
  o.maxCacheImg = ParseNumber(registry.ReadOption("maxCacheImg"), 20);
  o.undoDeep = ParseNumber(registry.ReadOption("undoDeep"), 20);
  o.toolWindowLimit = std::max(3, ParseNumber(registry.ReadOption("formLim"), 3));
  o.saveReminder = is1("PromemSave");
  o.saveReminderMinutes = ParseNumber(registry.ReadOption("TimeSave"), 5);
  o.typographicQuotes = is1("Virgolette");
  o.altText = is1("Alt");
  o.backup = not0("Bak");
  o.leftBorder = is1("BordoSx");
  o.searchOnTop = is1("CercaTop");
  const std::string cursors = registry.ReadOption("Cursors");
  o.pointerSet = cursors == "1" ? 1 : cursors == "2" ? 2 : cursors == "3" ? 3 : 0;
  o.restoreToolbars = registry.ReadOption("NotSaveTool") == "0";
  o.dbDebug = is1("DBdebug");
  o.dbDebugMap = is1("DBdebugMap");
  return o;
}

}  // namespace tarn::platform
