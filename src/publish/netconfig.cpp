// Stored configurations of the publishing dialogs.
#include "publish/netconfig.h"

#include <algorithm>

#include "platform/registry.h"

namespace tarn::publish {
namespace {

constexpr const char* kFtpKey = "ftpnet";
constexpr const char* kTarnKey = "tarnnet";

std::string Subkey(const char* root, int index) { return std::string(root) + "\\" + std::to_string(index); }

std::string Or(std::string value, const std::string& fallback) { return value.empty() ? fallback : value; }

std::vector<std::string> ConfigNames(platform::Registry& registry, const char* root, int count) {
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) names.push_back(registry.ReadSubkeyValue(Subkey(root, i), "nomeConf"));
  return names;
}

}  // namespace

int FtpConfigurations::Count() {
  return std::max(0, platform::ParseNumber(m_registry.ReadSubkeyValue(kFtpKey, "numConfTot"), 0));
}

std::vector<std::string> FtpConfigurations::Names() { return ConfigNames(m_registry, kFtpKey, Count()); }

FtpConfig FtpConfigurations::Load(int index) {
  const std::string key = Subkey(kFtpKey, index);
  auto read = [&](const char* name) { return m_registry.ReadSubkeyValue(key, name); };
  FtpConfig c;
  c.name = read("nomeConf");
  c.server = Or(read("server"), c.server);
  c.timeout = platform::ParseNumber(read("timeout"), 30);
  c.port = platform::ParseNumber(read("port"), 21);
  c.baseDir = Or(read("BaseDir"), "/");
  c.user = Or(read("user"), c.user);
  c.www = read("www");
  c.script = read("script");
  c.scriptParameters = read("scriptm");
  c.useScript = read("useScript") == "1";
  c.savePassword = read("savePass") == "1";
  if (c.savePassword) c.password = read("pass");
  return c;
}

void FtpConfigurations::Save(int index, const FtpConfig& c) {
  const std::string key = Subkey(kFtpKey, index);
  auto write = [&](const char* name, const std::string& value) { m_registry.WriteSubkeyValue(key, name, value); };
  write("nomeConf", c.name);
  write("server", c.server);
  write("timeout", std::to_string(c.timeout));
  write("port", std::to_string(c.port));
  write("BaseDir", c.baseDir);
  write("user", c.user);
  write("www", c.www);
  write("script", c.script);
  write("scriptm", c.scriptParameters);
  write("useScript", c.useScript ? "1" : "0");
  write("savePass", c.savePassword ? "1" : "0");
  // A password the author no longer wants kept is not left behind.
  write("pass", c.savePassword ? c.password : std::string());
}

int FtpConfigurations::Add(const std::string& name) {
  const std::string old = m_registry.ReadSubkeyValue(kFtpKey, "numConfTot");
  const int index = old.empty() ? 1 : Count();
  FtpConfig config;
  config.name = name;
  Save(index, config);
  m_registry.WriteSubkeyValue(kFtpKey, "numConfTot", std::to_string(index + 1));
  return index;
}

int FtpConfigurations::Selected(int mode) {
  const int index = platform::ParseNumber(
      m_registry.ReadSubkeyValue(kFtpKey, "NumSelectedConf" + std::to_string(mode)), 0);
  return index >= 0 && index < Count() ? index : 0;
}

void FtpConfigurations::SetSelected(int mode, int index) {
  m_registry.WriteSubkeyValue(kFtpKey, "NumSelectedConf" + std::to_string(mode), std::to_string(index));
}

bool FtpConfigurations::AutoChooseModified() { return m_registry.ReadSubkeyValue(kFtpKey, "autoChooseMod") != "0"; }

void FtpConfigurations::SetAutoChooseModified(bool on) {
  m_registry.WriteSubkeyValue(kFtpKey, "autoChooseMod", on ? "1" : "0");
}

int Tarn3Configurations::Count() {
  return std::max(0, platform::ParseNumber(m_registry.ReadSubkeyValue(kTarnKey, "numConfTot"), 0));
}

Tarn3Config Tarn3Configurations::Load(int index) {
  const std::string key = Subkey(kTarnKey, index);
  auto read = [&](const char* name) { return m_registry.ReadSubkeyValue(key, name); };
  Tarn3Config c;
  c.name = read("nomeConf");
  c.server = Or(read("server"), c.server);
  c.timeout = platform::ParseNumber(read("timeout"), 30);
  c.port = platform::ParseNumber(read("port"), 80);
  c.listTemplateDir = Or(read("tarnBaseDir"), c.listTemplateDir);
  c.programsDir = Or(read("tarnBaseDir2"), c.programsDir);
  c.uploadProgram = Or(read("tarnUpCGI"), c.uploadProgram);
  c.pageProgram = Or(read("tarnCGI"), c.pageProgram);
  c.user = Or(read("user"), c.user);
  c.section = std::max(0, platform::ParseNumber(read("sezione"), 0));
  c.proxy = read("proxy");
  return c;
}

void Tarn3Configurations::Save(int index, const Tarn3Config& c) {
  const std::string key = Subkey(kTarnKey, index);
  auto write = [&](const char* name, const std::string& value) { m_registry.WriteSubkeyValue(key, name, value); };
  write("nomeConf", c.name);
  write("server", c.server);
  write("timeout", std::to_string(c.timeout));
  write("port", std::to_string(c.port));
  write("tarnBaseDir", c.listTemplateDir);
  write("tarnBaseDir2", c.programsDir);
  write("tarnUpCGI", c.uploadProgram);
  write("tarnCGI", c.pageProgram);
  write("user", c.user);
  write("sezione", std::to_string(c.section));
  write("proxy", c.proxy);
  if (Count() <= index) m_registry.WriteSubkeyValue(kTarnKey, "numConfTot", std::to_string(index + 1));
}

std::vector<std::string> Tarn3Configurations::Names() { return ConfigNames(m_registry, kTarnKey, Count()); }

int Tarn3Configurations::Add(const std::string& name) {
  Tarn3Config config;
  config.name = name;
  const int index = Count();
  Save(index, config);
  return index;
}

int Tarn3Configurations::Selected() {
  const int index = platform::ParseNumber(m_registry.ReadSubkeyValue(kTarnKey, "NumSelectedConf"), 0);
  return index >= 0 && index < Count() ? index : 0;
}

void Tarn3Configurations::SetSelected(int index) {
  m_registry.WriteSubkeyValue(kTarnKey, "NumSelectedConf", std::to_string(index));
}

}  // namespace tarn::publish
