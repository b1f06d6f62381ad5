// tarn-cli publish (FTP) and tarn-cli server (the server extensions). The
// password never comes from the command line, where other users of the
// machine could read it: it is taken from the environment or asked on the
// terminal without echo.
#include "publish.h"

#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>

#include "app/compose.h"
#include "base/cp1252.h"
#include "climessages.h"
#include "convert/aehtohtml.h"
#include "convert/listhtmltotx.h"
#include "document/aehset.h"
#include "platform/posixsocket.h"
#include "platform/system.h"
#include "publish/exportlistrows.h"
#include "publish/ftppublisher.h"
#include "publish/tarn3comm.h"

namespace tarn::cli {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// Options of the form "--name value", flags "--name", and the rest.
struct Arguments {
  std::map<std::string, std::string> values;
  std::vector<std::string> flags;
  std::vector<std::string> rest;
  bool Has(const std::string& flag) const {
    for (const std::string& f : flags) {
      if (f == flag) return true;
    }
    return false;
  }
  std::string Value(const std::string& name, const std::string& fallback = {}) const {
    const auto it = values.find(name);
    return it == values.end() ? fallback : it->second;
  }
};

std::optional<Arguments> Parse(const std::vector<std::string>& args, std::size_t first,
                               const std::vector<std::string>& valued, const std::vector<std::string>& flags) {
  Arguments out;
  for (std::size_t i = first; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (!a.starts_with("--")) {
      out.rest.push_back(a);
      continue;
    }
    bool known = false;
    for (const std::string& v : valued) {
      if (a == v && i + 1 < args.size()) {
        out.values[a] = args[++i];
        known = true;
      }
    }
    for (const std::string& f : flags) {
      if (a == f) {
        out.flags.push_back(a);
        known = true;
      }
    }
    if (!known) return std::nullopt;
  }
  return out;
}

std::optional<int> Number(const std::string& text, int low, int high) {
  int value = 0;
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || ptr != text.data() + text.size() || value < low || value > high) {
    return std::nullopt;
  }
  return value;
}

// The password from the environment variable, else asked on the terminal.
std::optional<std::string> Password(const char* variable) {
  if (const char* value = std::getenv(variable); value != nullptr) return std::string(value);
  FILE* tty = std::fopen("/dev/tty", "r+");
  if (tty == nullptr || !::isatty(::fileno(tty))) {
    if (tty != nullptr) std::fclose(tty);
    std::fprintf(stderr, "No password: set %s or run on a terminal\n", variable);
    return std::nullopt;
  }
  std::fputs("Password: ", tty);
  std::fflush(tty);
  termios saved{};
  ::tcgetattr(::fileno(tty), &saved);
  termios quiet = saved;
  quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
  ::tcsetattr(::fileno(tty), TCSAFLUSH, &quiet);
  char line[512];
  const bool read = std::fgets(line, sizeof line, tty) != nullptr;
  ::tcsetattr(::fileno(tty), TCSAFLUSH, &saved);
  std::fputs("\n", tty);
  std::fclose(tty);
  if (!read) return std::nullopt;
  std::string password = line;
  while (!password.empty() && (password.back() == '\n' || password.back() == '\r')) password.pop_back();
  return password;
}

// A folder of its own below the system's temporary folder, removed when
// the run ends.
class TemporaryFolder {
 public:
  TemporaryFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tarn-publish-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) m_path = pattern;
  }
  ~TemporaryFolder() {
    std::error_code error;
    if (!m_path.empty()) std::filesystem::remove_all(m_path, error);
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;
  const std::filesystem::path& Path() const { return m_path; }

 private:
  std::filesystem::path m_path;
};

struct FtpTarget {
  std::string directory;
  std::unique_ptr<platform::PosixSocketFactory> sockets = std::make_unique<platform::PosixSocketFactory>();
  std::unique_ptr<publish::TKrFtpComm> comm;
};

const std::vector<std::string> kFtpValued = {"--host", "--port", "--user", "--dir", "--timeout", "--out"};

// Connects and logs in with the options; exit code when it fails.
int ConnectFtp(const Arguments& a, FtpTarget& target) {
  const std::string host = a.Value("--host");
  const std::string user = a.Value("--user");
  target.directory = a.Value("--dir", "/");
  const auto port = Number(a.Value("--port", "21"), 1, 65535);
  const auto timeout = Number(a.Value("--timeout", "30"), 1, 3600);
  if (host.empty() || user.empty() || !port || !timeout) return kExitUsage;
  if (target.directory.empty() || target.directory.back() != '/') target.directory += '/';
  const std::optional<std::string> password = Password("TARN_FTP_PASSWORD");
  if (!password) return kExitFailed;
  target.comm = std::make_unique<publish::TKrFtpComm>(*target.sockets, nullptr);
  publish::T_Ftp& ftp = target.comm->Engine();
  ftp.Host = host;
  ftp.Port = *port;
  ftp.User = user;
  ftp.Password = *password;
  ftp.TimeoutMs = *timeout * 1000;
  if (target.comm->Login() != publish::kResultOk) {
    std::fprintf(stderr, "Connection impossible: %s\n", target.comm->ErrorMessage().c_str());
    return kExitFailed;
  }
  return kExitOk;
}

int PublishSite(const std::vector<std::string>& args) {
  const auto a = Parse(args, 1, kFtpValued, {"--changed-only", "--images-folder", "--htm"});
  if (!a || a->rest.size() != 1) return kExitUsage;
  CliMessages messages;
  platform::HostSystemInfo system;
  document::TAEHset set({&messages, &system, nullptr, nullptr});
  app::Compose(set);
  const std::filesystem::path file = a->rest[0];
  if (!set.LoadFromFile(file)) return kExitFailed;

  TemporaryFolder folder;
  if (folder.Path().empty()) {
    messages.Error("Error creating a temporary folder");
    return kExitFailed;
  }
  convert::TAEHtoHtml converter;
  converter.SetLinkedAEHset(&set);
  converter.ExportPath = folder.Path() / "TmpExpHtml";
  converter.ExpTipoExt = a->Has("--htm") ? 0 : 1;
  converter.ExpSepImage = a->Has("--images-folder");
  // The export file list the publishing dialog shows, every row checked.
  convert::TAEHListHtmlToTx list;
  list.SetLinkedAEHtoHtml(&converter);
  if (!converter.ExportAllPages(list.FilesToList())) {
    messages.Error(converter.ErrorText());
    return kExitFailed;
  }
  list.Reload();
  list.CheckAll(true);
  publish::ExportListRows rows(list);

  FtpTarget target;
  if (const int rc = ConnectFtp(*a, target); rc != kExitOk) return rc;
  publish::TFtpPublisher publisher(*target.comm, rows, converter);
  if (a->Has("--changed-only")) {
    const int release = publisher.ReadRelease(target.directory);
    if (release < 0) {
      std::printf("No release of this hypertext was on server\n");
    } else {
      std::printf("Release currently on server: %d\n", release);
      rows.CheckNewerThan(release);
    }
  }
  const int result = publisher.Publish(target.directory, set.Revision() - 1);
  for (const std::string& name : publisher.Uploaded()) std::printf("uploaded %s\n", name.c_str());
  target.comm->Logout();
  // The revision stamps say what the server now holds: without them the
  // next publication would send everything again.
  if (publisher.Modified() && !set.SaveToFile(file, 2)) {
    for (const auto& e : set.SaveErrors()) messages.Error(e);
  }
  if (result != publish::kResultOk) {
    std::fprintf(stderr, "%s: %s\n", publish::TFtpPublisher::ResultText(result, false).c_str(),
                 target.comm->ErrorMessage().c_str());
    return kExitFailed;
  }
  std::printf("%s\n", publish::TFtpPublisher::ResultText(result, false).c_str());
  return kExitOk;
}

// The .AEH file itself to the remote folder.
int PublishHypertextFile(const std::vector<std::string>& args) {
  const auto a = Parse(args, 1, kFtpValued, {});
  if (!a || a->rest.size() != 1) return kExitUsage;
  const std::filesystem::path file = a->rest[0];
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) {
    std::fprintf(stderr, "Error: %s\n", file.string().c_str());
    return kExitFailed;
  }
  FtpTarget target;
  if (const int rc = ConnectFtp(*a, target); rc != kExitOk) return rc;
  const int result = target.comm->UploadFile(file, target.directory + file.filename().string());
  target.comm->Logout();
  if (result != publish::kResultOk) {
    std::fprintf(stderr, "Error: %s\n", target.comm->ErrorMessage().c_str());
    return kExitFailed;
  }
  std::printf("Transfer OK\n");
  return kExitOk;
}

// Remote files into a local folder, by name only: a name that would lead
// outside the folder is refused.
int GetFiles(const std::vector<std::string>& args) {
  const auto a = Parse(args, 1, kFtpValued, {});
  if (!a || a->rest.empty() || a->Value("--out").empty()) return kExitUsage;
  const std::filesystem::path out = a->Value("--out");
  for (const std::string& name : a->rest) {
    if (!publish::IsSafeLocalName(name)) {
      std::fprintf(stderr, "Refused file name: %s\n", name.c_str());
      return kExitFailed;
    }
  }
  FtpTarget target;
  if (const int rc = ConnectFtp(*a, target); rc != kExitOk) return rc;
  for (const std::string& name : a->rest) {
    if (target.comm->DownloadFile(target.directory + name, out / name) != publish::kResultOk) {
      std::fprintf(stderr, "Error: %s\n", target.comm->ErrorMessage().c_str());
      target.comm->Logout();
      return kExitFailed;
    }
    std::printf("received %s\n", name.c_str());
  }
  target.comm->Logout();
  std::printf("Transfer OK\n");
  return kExitOk;
}

// ---- The server extensions ----

const std::vector<std::string> kServerValued = {"--server",      "--port",         "--user",        "--proxy",
                                                "--programs",    "--template-dir", "--upload-program",
                                                "--page-program", "--section",     "--timeout",     "--title",
                                                "--out"};

struct ServerSession {
  CliMessages messages;
  platform::PosixSocketFactory sockets;
  std::unique_ptr<publish::TTarn3Comm> comm;
};

int Connect(const Arguments& a, ServerSession& s, bool needPassword) {
  const std::string server = a.Value("--server");
  const std::string user = a.Value("--user");
  const auto port = Number(a.Value("--port", "80"), 1, 65535);
  const auto timeout = Number(a.Value("--timeout", "30"), 1, 3600);
  if (server.empty() || user.empty() || !port || !timeout) return kExitUsage;
  if (a.Has("--yes")) s.messages.answer = platform::Answer::Yes;
  s.comm = std::make_unique<publish::TTarn3Comm>(s.sockets, nullptr, s.messages);
  publish::TTarn3Comm& c = *s.comm;
  c.SetServer(server);
  c.SetPort(*port);
  c.SetUser(user);
  c.SetProxy(a.Value("--proxy"));
  c.SetBaseDirs(a.Value("--template-dir", "/scripts/cgi-tarn/"), a.Value("--programs", "/scripts/cgi-tarn/"));
  c.SetPrograms(a.Value("--upload-program", "tarnupd.dll"), a.Value("--page-program", "tarnd.dll"));
  c.SetTimeoutSeconds(*timeout);
  if (needPassword) {
    const std::optional<std::string> password = Password("TARN_SERVER_PASSWORD");
    if (!password) return kExitFailed;
    c.Password = *password;
  }
  if (c.Rights() != 200) {
    std::fprintf(stderr, "%s\n", c.Code() == -4 || c.Code() == -6 ? "Problems to reach server." : "");
    std::fprintf(stderr, "%s\n", c.Message().c_str());
    return kExitFailed;
  }
  const std::string section = a.Value("--section");
  if (section.empty()) return kExitOk;
  int index = -1;
  const auto& rights = c.RightsList();
  for (std::size_t i = 0; i < rights.size(); ++i) {
    if (rights[i].base == section) index = static_cast<int>(i);
  }
  if (index < 0) {
    if (const auto n = Number(section, 0, static_cast<int>(rights.size()) - 1)) index = *n;
  }
  if (index < 0) {
    std::fprintf(stderr, "No such section: %s\n", section.c_str());
    return kExitFailed;
  }
  c.SelectSection(index);
  return kExitOk;
}

int Failed(const publish::TTarn3Comm& c) {
  std::fprintf(stderr, "%s\n", c.Code() == -4 ? "Problems to reach server." : c.Message().c_str());
  return kExitFailed;
}

int ServerList(const Arguments& a) {
  ServerSession s;
  if (const int rc = Connect(a, s, false); rc != kExitOk) return rc;
  publish::TTarn3Comm& c = *s.comm;
  for (std::size_t i = 0; i < c.RightsList().size(); ++i) {
    const auto& r = c.RightsList()[i];
    std::printf("section %zu %s %s %s quota %lld KB\n", i, r.base.c_str(), r.path.c_str(),
                base::Cp1252ToUtf8(r.description).c_str(), static_cast<long long>(r.quota));
  }
  if (c.Section() < 0) return kExitOk;
  const int code = c.List();
  if (code == 404) return kExitOk;
  if (code != 200) return Failed(c);
  for (const auto& e : c.Entries()) std::printf("%s %lld\n", e.name.c_str(), static_cast<long long>(e.size));
  return kExitOk;
}

int ServerPublish(const Arguments& a) {
  if (a.rest.size() != 1 || a.Value("--section").empty()) return kExitUsage;
  ServerSession s;
  if (const int rc = Connect(a, s, true); rc != kExitOk) return rc;
  platform::HostSystemInfo system;
  document::TAEHset set({&s.messages, &system, nullptr, nullptr});
  app::Compose(set);
  const std::filesystem::path file = a.rest[0];
  if (!set.LoadFromFile(file)) return kExitFailed;
  const std::string title = a.Value("--title", set.Title());
  if (s.comm->Publish(file, title, set.Revision()) != 200) return Failed(*s.comm);
  std::printf("Hypertext published.\n");
  return kExitOk;
}

int ServerFetch(const Arguments& a) {
  if (a.rest.size() != 1 || a.Value("--section").empty() || a.Value("--out").empty()) return kExitUsage;
  const std::string name = a.rest[0];
  if (!publish::IsSafeLocalName(name)) {
    std::fprintf(stderr, "Refused file name: %s\n", name.c_str());
    return kExitFailed;
  }
  ServerSession s;
  if (const int rc = Connect(a, s, false); rc != kExitOk) return rc;
  if (s.comm->FetchFile(name, a.Value("--out")) != 200) return Failed(*s.comm);
  std::printf("File reception OK\n");
  return kExitOk;
}

int ServerDelete(const Arguments& a) {
  if (a.rest.size() != 1 || a.Value("--section").empty()) return kExitUsage;
  ServerSession s;
  if (const int rc = Connect(a, s, true); rc != kExitOk) return rc;
  if (s.comm->Delete(a.rest[0]) != 200) return Failed(*s.comm);
  std::printf("Deleted.\n");
  return kExitOk;
}

}  // namespace

int Publish(const std::vector<std::string>& args) {
  if (args.empty()) return kExitUsage;
  if (args[0] == "ftp") return PublishSite(args);
  if (args[0] == "aeh") return PublishHypertextFile(args);
  if (args[0] == "get") return GetFiles(args);
  return kExitUsage;
}

int Server(const std::vector<std::string>& args) {
  if (args.empty()) return kExitUsage;
  const auto a = Parse(args, 1, kServerValued, {"--yes"});
  if (!a) return kExitUsage;
  if (args[0] == "list") return a->rest.empty() ? ServerList(*a) : kExitUsage;
  if (args[0] == "publish") return ServerPublish(*a);
  if (args[0] == "fetch") return ServerFetch(*a);
  if (args[0] == "delete") return ServerDelete(*a);
  return kExitUsage;
}

}  // namespace tarn::cli
