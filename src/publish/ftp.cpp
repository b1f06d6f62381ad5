// The FTP engine.
#include "publish/ftp.h"

#include <istream>
#include <ostream>

namespace tarn::publish {
namespace {

constexpr const char* kProtocol = "FTP";
constexpr int kFirstErrorCode = 400;

}  // namespace

T_Ftp::T_Ftp(platform::SocketFactory& sockets) : T_TcpIp(sockets) { Port = 21; }

T_Ftp::~T_Ftp() { Drop(); }

std::vector<T_Filedata> T_Ftp::Entries(int currentYear) const {
  std::vector<T_Filedata> entries;
  for (const std::string& line : m_listing) {
    T_Filedata entry = ParseListingLine(line, currentYear);
    if (entry.kind == T_Filedata::kNone || entry.name == "." || entry.name == "..") continue;
    entries.push_back(std::move(entry));
  }
  return entries;
}

void T_Ftp::RequireControl() {
  if (!m_control) throw ProtocolError(kProtocol, -1, "Not connected");
}

void T_Ftp::ReadReply() {
  RequireControl();
  std::string line = ReadLine(*m_control, kProtocol);
  m_code = publish::ReplyCode(line);
  m_text = publish::ReplyText(line);
  // The whole reply is read before an error is raised, so that the next
  // command does not read the rest of this one as its answer.
  constexpr int kMaxReplyLines = 1000;
  for (int n = 0; ReplyContinues(line); ++n) {
    if (n == kMaxReplyLines) throw ProtocolError(kProtocol, -1, "Reply too long");
    line = ReadLine(*m_control, kProtocol);
    if (!ReplyContinues(line)) m_text = publish::ReplyText(line);
  }
  Trace(std::to_string(m_code) + " " + m_text, 1);
  if (m_code >= kFirstErrorCode) throw ProtocolError(kProtocol, m_code, m_text);
}

int T_Ftp::Command(const std::string& command) {
  RequireControl();
  // The password never reaches a trace.
  Trace(command.starts_with("PASS ") ? std::string("PASS ******") : command, 0);
  m_control->Send(command + "\r\n", TimeoutMs);
  ReadReply();
  return m_code;
}

void T_Ftp::Login() {
  Drop();
  ClearCancel();
  m_control = Open(Host, Port);
  try {
    ReadReply();
    const int user = Command("USER " + User);
    // 230 at USER: the server wants no password.
    if (user != 230) Command("PASS " + Password);
    Command("TYPE I");
  } catch (...) {
    Drop();
    throw;
  }
}

void T_Ftp::Drop() {
  CloseData();
  if (m_control) {
    Forget(m_control.get());
    m_control.reset();
  }
  TakePending();
  m_transferring = false;
}

void T_Ftp::Logout() {
  if (!m_control) return;
  try {
    if (m_transferring) {
      m_control->Send("ABOR\r\n", TimeoutMs);
      try {
        ReadReply();
      } catch (const ProtocolError& e) {
        if (e.Code() != 426) throw;
        ReadReply();
      }
    }
    Command("QUIT");
  } catch (const std::exception&) {
    // A connection that is gone needs no goodbye.
  }
  Drop();
}

void T_Ftp::ChangeDir(const std::string& path) { Command("CWD " + path); }

std::string T_Ftp::CurrentDir() {
  try {
    Command("PWD");
  } catch (const ProtocolError&) {
    return "/";
  }
  const std::size_t first = m_text.find('"');
  const std::size_t second = first == std::string::npos ? first : m_text.find('"', first + 1);
  if (second == std::string::npos) return "/";
  std::string dir = m_text.substr(first + 1, second - first - 1);
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

void T_Ftp::MakeDir(const std::string& path) { Command("MKD " + path); }
void T_Ftp::RemoveDir(const std::string& path) { Command("RMD " + path); }
void T_Ftp::DeleteFile(const std::string& path) { Command("DELE " + path); }

void T_Ftp::Rename(const std::string& from, const std::string& to) {
  Command("RNFR " + from);
  Command("RNTO " + to);
}

void T_Ftp::OpenData() {
  CloseData();
  Command("PASV");
  if (m_code != 227) throw ProtocolError(kProtocol, m_code, m_text);
  const std::optional<int> port = ParsePassiveReply(m_text);
  if (!port) throw ProtocolError(kProtocol, m_code, m_text);
  // The data connection goes to the host of the control connection: an
  // address in the reply may be private to the server's network, and
  // following it would let a server aim the client at a third machine.
  m_data = Open(Host, *port);
}

void T_Ftp::CloseData() {
  if (m_data) {
    Forget(m_data.get());
    m_data.reset();
  }
}

void T_Ftp::BeginTransfer(int direction, const std::string& remote) {
  if (m_transferring) throw ProtocolError(kProtocol, -1, "Protocol busy");
  RequireControl();
  OpenData();
  m_transferring = true;
  const char* verb = direction == kDownload ? "RETR " : direction == kUpload ? "STOR " : "LIST ";
  Command(verb + remote);
}

void T_Ftp::EndTransfer() {
  CloseData();
  ReadReply();
  m_transferring = false;
  if (OnEndTransfer) OnEndTransfer();
}

void T_Ftp::List(const std::string& path) {
  std::string text;
  try {
    BeginTransfer(kListing, path);
    char buffer[kBlockSize];
    for (;;) {
      const std::size_t n = m_data->Receive(buffer, sizeof buffer, TimeoutMs);
      if (n == 0) break;
      if (text.size() + n > MaxListingBytes) throw ProtocolError(kProtocol, -1, "Listing too long");
      text.append(buffer, n);
      if (OnProgress) OnProgress(kListing, -1, static_cast<std::int64_t>(text.size()));
    }
    EndTransfer();
  } catch (...) {
    CloseData();
    m_transferring = false;
    throw;
  }
  m_listing.clear();
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) m_listing.push_back(std::move(line));
    start = end + 1;
  }
}

void T_Ftp::Download(const std::string& remote, std::ostream& out, std::int64_t limit) {
  try {
    BeginTransfer(kDownload, remote);
    const std::int64_t expected = AnnouncedSize(m_text);
    std::int64_t done = 0;
    char buffer[kBlockSize];
    for (;;) {
      const std::size_t n = m_data->Receive(buffer, sizeof buffer, TimeoutMs);
      if (n == 0) break;
      if (limit >= 0 && done + static_cast<std::int64_t>(n) > limit) throw ProtocolError(kProtocol, -1, "File too long");
      out.write(buffer, static_cast<std::streamsize>(n));
      if (!out) throw ProtocolError(kProtocol, -1, "Errore nella scrittura/lettura file");
      done += static_cast<std::int64_t>(n);
      Trace(std::to_string(done) + " bytes", 2);
      if (OnProgress) OnProgress(kDownload, expected, done);
    }
    EndTransfer();
    // A data connection that ended early is no file.
    if (expected >= 0 && done < expected) throw ProtocolError(kProtocol, -1, "Transfer incomplete");
  } catch (...) {
    CloseData();
    m_transferring = false;
    throw;
  }
}

void T_Ftp::Upload(std::istream& in, const std::string& remote) {
  try {
    in.seekg(0, std::ios::end);
    const std::int64_t expected = static_cast<std::int64_t>(in.tellg());
    in.seekg(0, std::ios::beg);
    if (expected < 0 || !in) throw ProtocolError(kProtocol, -1, "Errore nella scrittura/lettura file");
    BeginTransfer(kUpload, remote);
    std::int64_t done = 0;
    char buffer[kBlockSize];
    while (done < expected) {
      in.read(buffer, static_cast<std::streamsize>(sizeof buffer));
      const std::streamsize n = in.gcount();
      if (n <= 0) throw ProtocolError(kProtocol, -1, "Errore nella scrittura/lettura file");
      m_data->Send(std::string_view(buffer, static_cast<std::size_t>(n)), TimeoutMs);
      done += n;
      Trace(std::to_string(done) + " bytes", 2);
      if (OnProgress) OnProgress(kUpload, expected, done);
    }
    m_data->ShutdownSend();
    EndTransfer();
  } catch (...) {
    CloseData();
    m_transferring = false;
    throw;
  }
}

}  // namespace tarn::publish
