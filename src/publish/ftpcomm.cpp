// The FTP operations on their worker thread.
#include "publish/ftpcomm.h"

#include <fstream>
#include <random>


namespace tarn::publish {

TKrFtpComm::TKrFtpComm(platform::SocketFactory& sockets, platform::EventLoop* loop) : m_ftp(sockets), m_worker(loop) {
  m_ftp.OnTrace = [this](const std::string& text, int level) {
    if (level > 1) return;
    std::lock_guard guard(m_lock);
    m_lastCommand = text;
  };
  m_ftp.OnProgress = [this](int /*direction*/, std::int64_t expected, std::int64_t done) {
    m_total = expected;
    m_done = done;
  };
}

TKrFtpComm::~TKrFtpComm() {
  m_worker.Stop([this] { m_ftp.Cancel(); });
  m_ftp.Drop();
}

std::string TKrFtpComm::ErrorMessage() const {
  std::lock_guard guard(m_lock);
  return m_message;
}

std::string TKrFtpComm::LastCommand() const {
  std::lock_guard guard(m_lock);
  return m_lastCommand;
}

void TKrFtpComm::Fail(int result, const std::string& message) {
  {
    std::lock_guard guard(m_lock);
    m_message = message;
  }
  m_result = result;
}

int TKrFtpComm::Run(std::function<void(T_Ftp&)> operation, bool login) {
  if (m_worker.Busy()) {
    Fail(kResultRefused, "Busy");
    return kResultRefused;
  }
  m_result = kResultOk;
  m_done = 0;
  m_total = -1;
  if (OnStart) OnStart();
  const PublishWorker::Outcome outcome = m_worker.Run([this, operation = std::move(operation), login] {
    if (login && !m_ftp.Connected()) m_ftp.Login();
    operation(m_ftp);
  });
  if (outcome == PublishWorker::Outcome::Failed) {
    // A connection that failed below the protocol (a time-out, a reset) is
    // in no known state: the next operation starts afresh.
    try {
      std::rethrow_exception(m_worker.Error());
    } catch (const ProtocolError& e) {
      if (e.Code() < 0) m_ftp.Drop();
    } catch (...) {
      m_ftp.Drop();
    }
    Fail(kResultFailed, m_worker.ErrorText());
  }
  if (OnFinish) OnFinish();
  return m_result;
}

void TKrFtpComm::Abort() {
  if (!m_worker.Busy()) return;
  m_worker.Stop([this] { m_ftp.Cancel(); });
  m_ftp.Drop();
  Fail(kResultStopped, "Aborted by user");
}

int TKrFtpComm::Login() {
  return Run([](T_Ftp& ftp) { ftp.Login(); }, false);
}

int TKrFtpComm::Logout() {
  if (m_worker.Busy()) {
    Fail(kResultRefused, "Busy");
    return kResultRefused;
  }
  m_ftp.Logout();
  return kResultOk;
}

int TKrFtpComm::ChangeDir(const std::string& path) {
  return Run([path](T_Ftp& ftp) { ftp.ChangeDir(path); });
}

int TKrFtpComm::CurrentDir(std::string& path) {
  std::string found = "/";
  const int result = Run([&found](T_Ftp& ftp) { found = ftp.CurrentDir(); });
  path = result == kResultOk ? found : "/";
  return result;
}

int TKrFtpComm::MakeDir(const std::string& path) {
  return Run([path](T_Ftp& ftp) { ftp.MakeDir(path); });
}

int TKrFtpComm::RemoveDir(const std::string& path) {
  return Run([path](T_Ftp& ftp) { ftp.RemoveDir(path); });
}

int TKrFtpComm::DeleteFile(const std::string& path) {
  return Run([path](T_Ftp& ftp) { ftp.DeleteFile(path); });
}

int TKrFtpComm::Rename(const std::string& from, const std::string& to) {
  return Run([from, to](T_Ftp& ftp) { ftp.Rename(from, to); });
}

int TKrFtpComm::List(const std::string& path) {
  return Run([path](T_Ftp& ftp) { ftp.List(path); });
}

int TKrFtpComm::Download(const std::string& remote, std::ostream& out, std::int64_t limit) {
  if (remote.empty()) return kResultRefused;
  return Run([&out, remote, limit](T_Ftp& ftp) { ftp.Download(remote, out, limit); });
}

int TKrFtpComm::DownloadFile(const std::string& remote, const std::filesystem::path& local) {
  if (remote.empty() || local.filename().empty()) return kResultRefused;
  std::random_device random;
  std::filesystem::path partial = local;
  partial += ".part" + std::to_string(random() % 1000000);
  std::ofstream out(partial, std::ios::binary | std::ios::trunc);
  if (!out) {
    Fail(kResultFailed, "Error writing file " + local.string());
    return kResultFailed;
  }
  const int result = Run([&out, remote](T_Ftp& ftp) {
    ftp.Download(remote, out);
    out.flush();
    if (!out) throw ProtocolError("FTP", -1, "Errore nella scrittura/lettura file");
  });
  out.close();
  std::error_code error;
  if (result == kResultOk) {
    std::filesystem::rename(partial, local, error);
    if (!error) return result;
    Fail(kResultFailed, "Error writing file " + local.string());
  }
  std::filesystem::remove(partial, error);
  return Result();
}

int TKrFtpComm::Upload(std::istream& in, const std::string& remote) {
  if (remote.empty()) return kResultRefused;
  return Run([&in, remote](T_Ftp& ftp) { ftp.Upload(in, remote); });
}

int TKrFtpComm::UploadFile(const std::filesystem::path& local, const std::string& remote) {
  if (local.empty() || remote.empty()) return kResultRefused;
  std::ifstream in(local, std::ios::binary);
  if (!in) {
    Fail(kResultFailed, "Error reading file: " + local.string());
    return kResultFailed;
  }
  return Upload(in, remote);
}

}  // namespace tarn::publish
