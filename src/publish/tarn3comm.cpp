// Server publishing: rights, sections, the list page, publishing, fetching,
// deleting and the change of password.
#include "publish/tarn3comm.h"

#include <charconv>
#include <ctime>
#include <fstream>
#include <limits>
#include <sstream>

#include "base/cp1252.h"
#include "platform/messages.h"
#include "publish/descipher.h"
#include "publish/ftplist.h"

namespace tarn::publish {
namespace {

constexpr std::string_view kListName = "lista.html";
constexpr std::size_t kMaxField = 255;
constexpr std::size_t kMaxRest = 254;
constexpr std::size_t kMaxQuotaDigits = 10;

std::int64_t LeadingNumber(std::string_view text) {
  // Read with a leading "0", so that an empty field counts 0.
  const std::string digits = "0" + std::string(text);
  std::int64_t value = 0;
  const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  return ec == std::errc() && ptr == digits.data() + digits.size() && value >= 0 ? value : 0;
}

std::string NextWord(std::string_view& text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  const std::size_t end = text.find(' ');
  std::string word(text.substr(0, end));
  text = end == std::string_view::npos ? std::string_view() : text.substr(end);
  return word;
}

bool IsEntryOf(const std::string& line, std::string_view lowerName) {
  const std::string lower = base::LowerCase(line);
  const std::string head = "<!=" + std::string(lowerName);
  return lower == head + ">" || lower.starts_with(head + "\"");
}

std::string NowText() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%d/%m/%Y %H:%M:%S", &local);
  return text;
}

}  // namespace

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string line(text.substr(0, end));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  }
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

std::vector<Tarn3Rights> ParseRights(std::string_view answer, std::string_view user) {
  std::vector<Tarn3Rights> rights;
  for (const std::string& line : SplitLines(answer)) {
    if (user.empty() || !line.starts_with(user)) continue;
    std::string_view rest = std::string_view(line).substr(user.size());
    Tarn3Rights r;
    r.base = NextWord(rest).substr(0, kMaxField);
    r.path = NextWord(rest).substr(0, kMaxField);
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    rest = rest.substr(0, kMaxRest);
    const std::size_t split = rest.find(";;");
    r.description = std::string(rest.substr(0, split));
    if (split != std::string_view::npos) {
      std::string_view quota = rest.substr(split + 2, kMaxQuotaDigits);
      while (!quota.empty() && quota.front() == ' ') quota.remove_prefix(1);
      while (!quota.empty() && quota.back() == ' ') quota.remove_suffix(1);
      r.quota = LeadingNumber(quota);
    }
    rights.push_back(std::move(r));
  }
  return rights;
}

std::vector<Tarn3Entry> ParseListEntries(const std::vector<std::string>& lines) {
  std::vector<Tarn3Entry> entries;
  for (const std::string& raw : lines) {
    const std::string line = base::LowerCase(raw);
    if (line.size() <= 3 || !line.starts_with("<!")) continue;
    if (line[2] == '/') break;
    if (line[2] != '=') continue;
    const std::size_t close = line.find('>', 3);
    Tarn3Entry entry;
    entry.text = line.substr(3, close == std::string::npos ? std::string::npos : close - 3);
    const std::size_t first = entry.text.find('"');
    entry.name = entry.text.substr(0, first);
    if (first != std::string::npos) {
      const std::size_t second = entry.text.find('"', first + 1);
      if (second != std::string::npos) entry.size = LeadingNumber(entry.text.substr(first + 1, second - first - 1));
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

std::vector<std::string> DefaultListLines() {
  return {"<HEAD><TITLE>List</TITLE></HEAD>",
          "<!-- WARNING - ATTENZIONE",
          "     Needed for TARN server extensions.      Don't remove text between:",
          "     \"!listatarntesti\" and \"!/listatarntesti\".",
          "     You may customize other text.",
          "",
          "-->",
          "<BODY><UL>",
          "<!listatarntesti>",
          "",
          "<!/listatarntesti>",
          "</UL>",
          "<P>"};
}

bool RemoveListEntry(std::vector<std::string>& lines, std::string_view name) {
  const std::string lower = base::LowerCase(name);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!IsEntryOf(lines[i], lower)) continue;
    std::size_t end = i + 1;
    while (end < lines.size() && !lines[end].starts_with("<!=") && !lines[end].starts_with("<!/")) ++end;
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i), lines.begin() + static_cast<std::ptrdiff_t>(end));
    return true;
  }
  return false;
}

void InsertListEntry(std::vector<std::string>& lines, std::string_view name,
                     const std::vector<std::string>& entryLines) {
  std::size_t at = lines.size();
  std::size_t firstEntry = lines.size();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (firstEntry == lines.size() && lines[i].starts_with("<!=")) firstEntry = i;
    if (lines[i].starts_with("<!/")) {
      at = i;
      break;
    }
  }
  if (base::LowerCase(name).starts_with("homepage") && firstEntry < at) at = firstEntry;
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), entryLines.begin(), entryLines.end());
}

TTarn3Comm::TTarn3Comm(platform::SocketFactory& sockets, platform::EventLoop* loop, platform::Messages& messages)
    : m_http(sockets), m_worker(loop), m_messages(messages) {
  m_http.TimeoutMs = 30000;
  m_http.OnProgress = [this](std::int64_t done, std::int64_t total) {
    m_done = done;
    m_total = total;
  };
}

TTarn3Comm::~TTarn3Comm() { m_worker.Stop([this] { m_http.Cancel(); }); }

void TTarn3Comm::Reset() {
  m_worker.Stop([this] { m_http.Cancel(); });
  m_message = "Aborted by user";
  m_rightsValid = false;
  m_rights.clear();
  m_section = -1;
  m_listSection = -1;
  m_lines.clear();
  m_entries.clear();
}

void TTarn3Comm::SetServer(const std::string& server) {
  if (server != m_server) Reset();
  m_server = server;
}
void TTarn3Comm::SetPort(int port) {
  if (port != m_port) Reset();
  m_port = port;
}
void TTarn3Comm::SetUser(const std::string& user) {
  if (user != m_user) Reset();
  m_user = user;
}
void TTarn3Comm::SetProxy(const std::string& proxy) {
  if (proxy != m_http.Proxy) Reset();
  m_http.Proxy = proxy;
}
void TTarn3Comm::SetBaseDirs(const std::string& listTemplateDir, const std::string& programsDir) {
  if (programsDir != m_programsDir) Reset();
  m_listTemplateDir = listTemplateDir;
  m_programsDir = programsDir;
}
void TTarn3Comm::SetPrograms(const std::string& uploadProgram, const std::string& pageProgram) {
  if (uploadProgram != m_uploadProgram) Reset();
  m_uploadProgram = uploadProgram;
  m_pageProgram = pageProgram;
}
void TTarn3Comm::SetTimeoutSeconds(int seconds) { m_http.TimeoutMs = seconds > 0 ? seconds * 1000 : 30000; }

std::string TTarn3Comm::UploadAddress() const {
  return "http://" + m_server + ":" + std::to_string(m_port) + "/" + m_programsDir + m_uploadProgram;
}
std::string TTarn3Comm::PageAddress() const {
  return "http://" + m_server + ":" + std::to_string(m_port) + "/" + m_programsDir + m_pageProgram;
}
std::string TTarn3Comm::TemplateAddress() const {
  return "http://" + m_server + ":" + std::to_string(m_port) + "/" + m_listTemplateDir + "template.htm";
}
std::string TTarn3Comm::SectionAddress() const {
  if (m_section < 0 || m_section >= static_cast<int>(m_rights.size())) return {};
  return "http://" + m_server + ":" + std::to_string(m_port) + "/" + m_rights[static_cast<std::size_t>(m_section)].path;
}

int TTarn3Comm::Result(int code, std::string message) {
  m_code = code;
  m_message = std::move(message);
  return code;
}

bool TTarn3Comm::Request(const std::function<void()>& request) {
  m_done = 0;
  m_total = -1;
  switch (m_worker.Run(request)) {
    case PublishWorker::Outcome::Done: return true;
    case PublishWorker::Outcome::Stopped: Result(0, "Aborted by user"); return false;
    case PublishWorker::Outcome::Failed: Result(kTarnFailed, m_worker.ErrorText()); return false;
  }
  return false;
}

int TTarn3Comm::PostLines(const std::string& url, const std::vector<std::string>& lines, std::string_view data,
                          HttpResponse& answer) {
  const std::string text = JoinLines(lines);
  if (!Request([&] { answer = m_http.Post(url, text, data); })) return m_code;
  return Result(answer.status, answer.reason);
}

int TTarn3Comm::Rights() {
  if (m_worker.Busy()) return Result(kTarnBusy, "Operation in progress, please wait...");
  HttpResponse answer;
  if (PostLines(UploadAddress(), {"user=" + m_user, "pass=", "base=", "actn=GETMYRIGHTS", "dummy"}, {}, answer) !=
      200) {
    return m_code;
  }
  m_rights = ParseRights(answer.body, m_user);
  m_rightsValid = true;
  if (m_section >= static_cast<int>(m_rights.size())) m_section = -1;
  return 200;
}

bool TTarn3Comm::EnsureRights() { return m_rightsValid || Rights() == 200; }

int TTarn3Comm::SelectSection(int index) {
  if (!EnsureRights()) return m_code;
  if (index < 0 || index >= static_cast<int>(m_rights.size()) || index == m_section) return 200;
  m_section = index;
  m_listSection = -1;
  m_lines.clear();
  m_entries.clear();
  return 200;
}

int TTarn3Comm::List() {
  if (m_worker.Busy()) return Result(kTarnBusy, "Operation in progress, please wait...");
  if (SectionAddress().empty()) return Result(kTarnNoSection, "No section selected");
  HttpResponse answer;
  const std::string url = SectionAddress() + std::string(kListName);
  if (!Request([&] { answer = m_http.Get(url); })) return m_code;
  if (answer.status != 200) return Result(answer.status, answer.reason);
  m_lines = SplitLines(answer.body);
  m_entries = ParseListEntries(m_lines);
  m_listSection = m_section;
  return Result(200, "OK");
}

bool TTarn3Comm::EnsureList() { return m_listSection == m_section && m_section >= 0 ? true : List() == 200; }

std::int64_t TTarn3Comm::FreeSpace() {
  if (m_section < 0 || m_section >= static_cast<int>(m_rights.size())) return 0;
  const std::int64_t quota = m_rights[static_cast<std::size_t>(m_section)].quota;
  if (quota == 0) return std::numeric_limits<std::int64_t>::max();
  EnsureList();
  std::int64_t used = 0;
  for (const Tarn3Entry& e : m_entries) used += e.size;
  return quota * 1024 - used;
}

int TTarn3Comm::Authenticated(const std::string& action, const std::string& extra, std::string_view data) {
  HttpResponse answer;
  if (PostLines(UploadAddress(), {"user=" + m_user, "pass=", "base=", "actn=AUTHINI", "dummy"}, {}, answer) != 200) {
    return m_code;
  }
  const std::vector<std::string> lines = SplitLines(answer.body);
  const std::string challenge = lines.empty() ? std::string() : lines.front();
  if (!challenge.starts_with(" ")) return Result(kTarnChallengeRefused, challenge + "\nChallenge KO.");
  const std::string base =
      m_section >= 0 && m_section < static_cast<int>(m_rights.size()) ? m_rights[static_cast<std::size_t>(m_section)].base
                                                                      : std::string();
  std::vector<std::string> request = {"user=" + m_user, "pass=" + ChallengeResponse(challenge, Password),
                                      "base=" + base, "actn=" + action, extra.empty() ? "dummy" : extra};
  if (action == "MPUT") request.push_back(std::to_string(data.size()));
  if (PostLines(UploadAddress(), request, data, answer) != 200) return m_code;
  if (answer.body.empty()) return Result(kTarnEmptyAnswer, "Quote Ko or Password Ko");
  if (answer.body.front() != 'Y') return Result(kTarnRefused, answer.body);
  return Result(200, "OK");
}

int TTarn3Comm::UploadList(const std::vector<std::string>& lines) {
  return Authenticated("MPUT", std::string(kListName), JoinLines(lines));
}

int TTarn3Comm::Publish(const std::filesystem::path& file, const std::string& title, int version) {
  if (m_worker.Busy()) return Result(kTarnBusy, "Operation in progress, please wait...");
  if (!EnsureRights()) return m_code;
  if (SectionAddress().empty()) return Result(kTarnNoSection, "No section selected");
  const std::string name = base::LowerCase(file.filename().string());
  std::string data;
  {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (!in || name.empty()) {
      m_messages.Error("Error reading file: " + file.string());
      return Result(kTarnFailed, "Error reading file: " + file.string());
    }
    data = bytes.str();
  }
  const std::int64_t quota = m_rights[static_cast<std::size_t>(m_section)].quota;
  if (quota > 0 && FreeSpace() < static_cast<std::int64_t>(data.size()) &&
      m_messages.Ask("You will probabilly out of quote. Send anyway?") != platform::Answer::Yes) {
    return Result(0, "Aborted by user");
  }
  if (!(m_listSection == m_section && !m_lines.empty()) && List() != 200) {
    // Only a list that is not there is started afresh: a list that could
    // not be read is kept, or the entries of the others would be lost.
    if (m_code != 404) return m_code;
    // No list on the server yet: the template, else the built-in page.
    const std::string url = TemplateAddress();
    HttpResponse answer;
    if (!Request([&] { answer = m_http.Get(url); })) {
      if (m_code == 0) return m_code;
      answer.status = m_code;
    }
    m_lines = answer.status == 200 ? SplitLines(answer.body) : DefaultListLines();
    m_entries = ParseListEntries(m_lines);
    m_listSection = m_section;
  }
  const std::vector<std::string> kept = m_lines;
  std::vector<std::string> lines = m_lines;
  if (RemoveListEntry(lines, name)) {
    if (m_messages.Ask("Hypertext already exists. Overwrite?") != platform::Answer::Yes) {
      return Result(0, "Aborted by user");
    }
  }
  const Tarn3Rights& section = m_rights[static_cast<std::size_t>(m_section)];
  const std::string target = PageAddress() + "/" + section.base + name + "/0/0/Z/";
  InsertListEntry(lines, name,
                  {"<!=" + name + "\"" + std::to_string(data.size()) + "\"" + std::to_string(version) + "\"" +
                       NowText() + ">",
                   "<LI><A HREF=\"" + target + "\">", title + "</A>"});
  if (UploadList(lines) != 200) return m_code;
  m_lines = lines;
  m_entries = ParseListEntries(m_lines);
  const std::string redirect = "<HTML>\r\n<HEAD><TITLE>" + title + "</TITLE>\r\n<META HTTP-EQUIV=\"refresh\" CONTENT=\"0;URL=" +
                               target + "\">\r\n</HEAD><BODY>\r\n<!H1><A HREF=\"" + target +
                               "\">\r\nCLIC!\r\n</A><!/H1></BODY>";
  const std::string stem = std::filesystem::path(name).stem().string();
  if (Authenticated("MPUT", stem + ".htm", redirect) != 200) return m_code;
  if (Authenticated("MPUT", name, data) != 200) {
    // The list must not name a hypertext that is not there.
    const int code = m_code;
    const std::string message = m_message;
    if (code < 0 && UploadList(kept) == 200) {
      m_lines = kept;
      m_entries = ParseListEntries(m_lines);
    }
    return Result(code, message);
  }
  return Result(200, "Hypertext published.");
}

int TTarn3Comm::Delete(const std::string& fileName) {
  if (m_worker.Busy()) return Result(kTarnBusy, "Operation in progress, please wait...");
  if (!EnsureRights()) return m_code;
  if (SectionAddress().empty()) return Result(kTarnNoSection, "No section selected");
  if (!EnsureList()) return m_code;
  const std::string name = base::LowerCase(fileName);
  std::vector<std::string> lines = m_lines;
  if (RemoveListEntry(lines, name)) {
    if (UploadList(lines) != 200) return Result(kTarnListUploadFailed, m_message);
    m_lines = lines;
    m_entries = ParseListEntries(m_lines);
  }
  return Authenticated("DEL", name, {});
}

int TTarn3Comm::Fetch(const std::string& fileName, std::ostream& out) {
  if (m_worker.Busy()) return Result(kTarnBusy, "Operation in progress, please wait...");
  if (!EnsureRights()) return m_code;
  if (SectionAddress().empty()) return Result(kTarnNoSection, "No section selected");
  const std::string url = SectionAddress() + fileName;
  HttpResponse answer;
  if (!Request([&] { answer = m_http.Get(url, &out); })) return m_code;
  return Result(answer.status, answer.status == 200 ? "File reception OK" : answer.reason);
}

int TTarn3Comm::FetchFile(const std::string& fileName, const std::filesystem::path& folder) {
  const std::filesystem::path target = folder / fileName;
  if (!IsSafeLocalName(fileName)) return Result(kTarnFailed, "Refused file name: " + fileName);
  std::filesystem::path partial = target;
  partial += ".part";
  int code = 0;
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    if (!out) return Result(kTarnFailed, "Error writing file " + target.string());
    code = Fetch(fileName, out);
    out.flush();
    if (code == 200 && !out) code = Result(kTarnFailed, "Error writing file " + target.string());
  }
  std::error_code error;
  if (code == 200) {
    std::filesystem::rename(partial, target, error);
    if (!error) return code;
    code = Result(kTarnFailed, "Error writing file " + target.string());
  }
  std::filesystem::remove(partial, error);
  return code;
}

int TTarn3Comm::ChangePassword(const std::string& newPassword) {
  if (m_worker.Busy()) return Result(kTarnBusy, "Operation in progress, please wait...");
  return Authenticated("CHPASS", CipherNewPassword(Password, newPassword), {});
}

}  // namespace tarn::publish
