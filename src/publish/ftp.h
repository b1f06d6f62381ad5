// The FTP protocol engine: one control connection, passive data
// connections, replies read across continuation lines, and every reply
// from 400 up ending the operation with its code and text.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "publish/ftplist.h"
#include "publish/tcpip.h"

namespace tarn::publish {

class T_Ftp : public T_TcpIp {
 public:
  enum Direction { kDownload = 0, kUpload = 1, kListing = 2 };

  explicit T_Ftp(platform::SocketFactory& sockets);
  ~T_Ftp() override;

  std::string User = "ftp";
  std::string Password;
  // Bound on a listing kept in memory.
  std::size_t MaxListingBytes = 64u << 20;

  bool Connected() const { return m_control != nullptr; }
  int ReplyCode() const { return m_code; }
  const std::string& ReplyText() const { return m_text; }
  const std::vector<std::string>& ListingLines() const { return m_listing; }
  std::vector<T_Filedata> Entries(int currentYear) const;

  // Progress of the running transfer: direction, expected size (-1 when
  // unknown), bytes moved so far.
  std::function<void(int direction, std::int64_t expected, std::int64_t done)> OnProgress;
  std::function<void()> OnEndTransfer;

  void Login();
  // "ABOR" when a transfer runs, "QUIT", then both sockets closed. Never
  // throws: a connection that is gone is simply closed.
  void Logout();
  // Closes both sockets without a word to the server (after a stop).
  void Drop();
  void ChangeDir(const std::string& path);
  std::string CurrentDir();
  void MakeDir(const std::string& path);
  void RemoveDir(const std::string& path);
  void DeleteFile(const std::string& path);
  void Rename(const std::string& from, const std::string& to);
  void List(const std::string& path);
  // limit: the most bytes taken (-1: no limit), for files read into memory.
  void Download(const std::string& remote, std::ostream& out, std::int64_t limit = -1);
  void Upload(std::istream& in, const std::string& remote);

  // Sends a command and reads its reply; throws for codes from 400 up.
  int Command(const std::string& command);

 private:
  void ReadReply();
  void RequireControl();
  // PASV and the data connection it names.
  void OpenData();
  void BeginTransfer(int direction, const std::string& remote);
  void EndTransfer();
  void CloseData();

  std::unique_ptr<platform::Socket> m_control;
  std::unique_ptr<platform::Socket> m_data;
  int m_code = 0;
  std::string m_text;
  std::vector<std::string> m_listing;
  bool m_transferring = false;
};

}  // namespace tarn::publish
