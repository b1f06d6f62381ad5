// TKrFtpComm runs one FTP operation at a time on a worker thread while the
// calling thread keeps processing the window system's events, so that the
// window stays live and its stop button works. Each operation answers a
// result code: 200 success, -1 refused (busy or a missing argument), -6
// failed (the message kept), 0 stopped by the user.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <mutex>
#include <string>

#include "publish/ftp.h"
#include "publish/worker.h"

namespace tarn::platform {
class EventLoop;
}

namespace tarn::publish {

inline constexpr int kResultOk = 200;
inline constexpr int kResultRefused = -1;
inline constexpr int kResultFailed = -6;
inline constexpr int kResultStopped = 0;

class TKrFtpComm {
 public:
  // Without an event loop the caller simply waits for the worker.
  TKrFtpComm(platform::SocketFactory& sockets, platform::EventLoop* loop);
  ~TKrFtpComm();
  TKrFtpComm(const TKrFtpComm&) = delete;
  TKrFtpComm& operator=(const TKrFtpComm&) = delete;

  // Host, port, user, password and time-out are set here before the first
  // operation; not while one runs.
  T_Ftp& Engine() { return m_ftp; }

  int Result() const { return m_result.load(); }
  std::string ErrorMessage() const;
  bool Running() const { return m_worker.Busy(); }
  // The last command sent (never a password).
  std::string LastCommand() const;
  std::int64_t BytesDone() const { return m_done.load(); }
  // -1 while unknown.
  std::int64_t BytesTotal() const { return m_total.load(); }

  // Told on the calling thread when an operation starts and when it ends
  // (the progress bar shows and hides itself).
  std::function<void()> OnStart;
  std::function<void()> OnFinish;

  int Login();
  int Logout();
  int ChangeDir(const std::string& path);
  // The folder; "/" when the operation fails.
  int CurrentDir(std::string& path);
  int MakeDir(const std::string& path);
  int RemoveDir(const std::string& path);
  int DeleteFile(const std::string& path);
  int Rename(const std::string& from, const std::string& to);
  int List(const std::string& path);
  int Download(const std::string& remote, std::ostream& out, std::int64_t limit = -1);
  // Written beside the file under a temporary name and renamed into place
  // when complete, so a broken transfer never leaves half a file under the
  // name.
  int DownloadFile(const std::string& remote, const std::filesystem::path& local);
  int Upload(std::istream& in, const std::string& remote);
  int UploadFile(const std::filesystem::path& local, const std::string& remote);
  // Stops the running operation: the waiting caller returns 0 at once and
  // the next operation starts from a new connection.
  void Abort();

 private:
  int Run(std::function<void(T_Ftp&)> operation, bool login = true);
  void Fail(int result, const std::string& message);

  T_Ftp m_ftp;
  PublishWorker m_worker;
  std::atomic<int> m_result{kResultOk};
  std::atomic<std::int64_t> m_done{0};
  std::atomic<std::int64_t> m_total{-1};
  mutable std::mutex m_lock;
  std::string m_message;
  std::string m_lastCommand;
};

}  // namespace tarn::publish
