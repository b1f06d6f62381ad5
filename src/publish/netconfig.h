// The named server configurations of the two publishing dialogs, kept in
// the program's settings: FTP configurations under "ftpnet" and server
// configurations under "tarnnet", one numbered subkey each.
#pragma once

#include <string>
#include <vector>

namespace tarn::platform {
class Registry;
}

namespace tarn::publish {

struct FtpConfig {
  std::string name;
  std::string server = "ftp.example.com";
  int timeout = 30;
  int port = 21;
  std::string baseDir = "/";
  std::string user = "unknown";
  std::string www;
  std::string script, scriptParameters;
  bool useScript = false;
  bool savePassword = false;
  // Kept only while savePassword is set.
  std::string password;
};

struct Tarn3Config {
  std::string name;
  std::string server = "www.example.com";
  int timeout = 30;
  int port = 80;
  std::string listTemplateDir = "/scripts/cgi-tarn/";
  std::string programsDir = "/scripts/cgi-tarn/";
  std::string uploadProgram = "tarnupd.dll";
  std::string pageProgram = "tarnd.dll";
  std::string user = "unknown";
  int section = 0;
  // "host" or "host:port" of an HTTP proxy; empty for a direct connection.
  std::string proxy;
};

class FtpConfigurations {
 public:
  explicit FtpConfigurations(platform::Registry& registry) : m_registry(registry) {}
  int Count();
  std::vector<std::string> Names();
  FtpConfig Load(int index);
  // Writes every value; the password only while it is to be kept (an old
  // one is removed otherwise).
  void Save(int index, const FtpConfig& config);
  // A new configuration with the defaults; answers its index.
  int Add(const std::string& name);
  // The configuration last used in a dialog mode; 0 when out of range.
  int Selected(int mode);
  void SetSelected(int mode, int index);
  bool AutoChooseModified();
  void SetAutoChooseModified(bool on);

 private:
  platform::Registry& m_registry;
};

class Tarn3Configurations {
 public:
  explicit Tarn3Configurations(platform::Registry& registry) : m_registry(registry) {}
  int Count();
  std::vector<std::string> Names();
  Tarn3Config Load(int index);
  void Save(int index, const Tarn3Config& config);
  // A new configuration with the defaults after the last; answers its index.
  int Add(const std::string& name);
  int Selected();
  void SetSelected(int index);

 private:
  platform::Registry& m_registry;
};

}  // namespace tarn::publish
