// TTarn3Comm: publishing to a web server that runs the program's server
// extensions (an upload program, a page program and a list page per
// section), over HTTP/1.0. Each request runs on a worker thread; every
// operation answers a result code (an HTTP status, 200 for success, or one
// of the negative codes below) and keeps a message with it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include "publish/http10.h"
#include "publish/worker.h"

namespace tarn::platform {
class Messages;
}

namespace tarn::publish {

inline constexpr int kTarnBusy = -1;
inline constexpr int kTarnNoSection = -4;
inline constexpr int kTarnListUploadFailed = -5;
inline constexpr int kTarnFailed = -6;
inline constexpr int kTarnRefused = -7;
inline constexpr int kTarnEmptyAnswer = -8;
inline constexpr int kTarnChallengeRefused = -9;

struct Tarn3Rights {
  std::string path;
  std::string base;
  std::string description;
  // Kilobytes; 0 means no quota.
  std::int64_t quota = 0;
};

struct Tarn3Entry {
  std::string name;
  std::int64_t size = 0;
  // The whole entry text: name, size, version and date between quotes.
  std::string text;
};

// The records of a rights answer for a user (lines that begin with the
// user name).
std::vector<Tarn3Rights> ParseRights(std::string_view answer, std::string_view user);
// The entries of a list page's lines.
std::vector<Tarn3Entry> ParseListEntries(const std::vector<std::string>& lines);
// The list page used when the server has none yet.
std::vector<std::string> DefaultListLines();
// Removes the entry of `name` (its line and those up to the next marker
// line); false when there is none.
bool RemoveListEntry(std::vector<std::string>& lines, std::string_view name);
// Inserts an entry's lines before the end marker, or before the first
// entry for names that begin with "homepage".
void InsertListEntry(std::vector<std::string>& lines, std::string_view name,
                     const std::vector<std::string>& entryLines);
// Text into lines (CR LF or LF) and back (CR LF).
std::vector<std::string> SplitLines(std::string_view text);
std::string JoinLines(const std::vector<std::string>& lines);

class TTarn3Comm {
 public:
  TTarn3Comm(platform::SocketFactory& sockets, platform::EventLoop* loop, platform::Messages& messages);
  ~TTarn3Comm();
  TTarn3Comm(const TTarn3Comm&) = delete;
  TTarn3Comm& operator=(const TTarn3Comm&) = delete;

  // Changing any of these resets the component.
  void SetServer(const std::string& server);
  void SetPort(int port);
  void SetUser(const std::string& user);
  void SetProxy(const std::string& proxy);
  void SetBaseDirs(const std::string& listTemplateDir, const std::string& programsDir);
  void SetPrograms(const std::string& uploadProgram, const std::string& pageProgram);
  void SetTimeoutSeconds(int seconds);
  const std::string& User() const { return m_user; }

  std::string Password;

  std::string UploadAddress() const;
  std::string PageAddress() const;
  std::string TemplateAddress() const;
  // The selected section's address; empty without one.
  std::string SectionAddress() const;

  int Code() const { return m_code; }
  const std::string& Message() const { return m_message; }
  bool Busy() const { return m_worker.Busy(); }

  int Rights();
  const std::vector<Tarn3Rights>& RightsList() const { return m_rights; }
  int SelectSection(int index);
  int Section() const { return m_section; }
  int List();
  const std::vector<Tarn3Entry>& Entries() const { return m_entries; }
  const std::vector<std::string>& ListLines() const { return m_lines; }
  // Bytes left in the section; the largest number without a quota.
  std::int64_t FreeSpace();
  int Publish(const std::filesystem::path& file, const std::string& title, int version);
  int Delete(const std::string& fileName);
  int Fetch(const std::string& fileName, std::ostream& out);
  // The hypertext into folder under its own name, which must be a plain
  // name: written under a temporary name and renamed when complete, so a
  // broken transfer leaves nothing under the name.
  int FetchFile(const std::string& fileName, const std::filesystem::path& folder);
  int ChangePassword(const std::string& newPassword);
  // Stops a request, forgets rights, section and list.
  void Reset();

  // Bytes of the running request and its total (-1 when unknown).
  std::int64_t BytesDone() const { return m_done.load(); }
  std::int64_t BytesTotal() const { return m_total.load(); }

 private:
  int Result(int code, std::string message);
  // One request on the worker; false after a failure or a stop (code and
  // message set).
  bool Request(const std::function<void()>& request);
  int PostLines(const std::string& url, const std::vector<std::string>& lines, std::string_view data,
                HttpResponse& answer);
  int Authenticated(const std::string& action, const std::string& extra, std::string_view data);
  int UploadList(const std::vector<std::string>& lines);
  bool EnsureRights();
  bool EnsureList();

  THttp10 m_http;
  PublishWorker m_worker;
  platform::Messages& m_messages;
  std::string m_server = "www.example.com";
  int m_port = 80;
  std::string m_user = "unknown";
  std::string m_listTemplateDir = "/scripts/cgi-tarn/";
  std::string m_programsDir = "/scripts/cgi-tarn/";
  std::string m_uploadProgram = "tarnupd.dll";
  std::string m_pageProgram = "tarnd.dll";
  int m_code = 0;
  std::string m_message = "Error unknown! Errore sconosciuto!";
  bool m_rightsValid = false;
  std::vector<Tarn3Rights> m_rights;
  int m_section = -1;
  int m_listSection = -1;
  std::vector<std::string> m_lines;
  std::vector<Tarn3Entry> m_entries;
  std::atomic<std::int64_t> m_done{0};
  std::atomic<std::int64_t> m_total{-1};
};

}  // namespace tarn::publish
