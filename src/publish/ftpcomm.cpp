// The FTP operations on their worker thread.
#include "publish/ftpcomm.h"

#include <chrono>
#include <fstream>
#include <random>

#include "platform/eventloop.h"

namespace tarn::publish {

TKrFtpComm::TKrFtpComm(platform::SocketFactory& sockets, platform::EventLoop* loop) : m_ftp(sockets), m_loop(loop) {
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
  m_ftp.Cancel();
  if (m_worker.joinable()) m_worker.join();
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
  if (m_running) {
    Fail(kResultRefused, "Busy");
    return kResultRefused;
  }
  if (m_worker.joinable()) m_worker.join();
  m_result = kResultOk;
  m_failed = false;
  m_aborted = false;
  m_done = 0;
  m_total = -1;
  m_running = true;
  if (OnStart) OnStart();
  m_worker = std::thread([this, operation = std::move(operation), login] {
    try {
      if (login && !m_ftp.Connected()) m_ftp.Login();
      operation(m_ftp);
    } catch (const std::exception& e) {
      if (!m_aborted) {
        // A connection that failed below the protocol (a time-out, a reset)
        // is in no known state: the next operation starts afresh.
        const auto* protocol = dynamic_cast<const ProtocolError*>(&e);
        if (protocol == nullptr || protocol->Code() < 0) m_ftp.Drop();
        Fail(kResultFailed, e.what());
        m_failed = true;
      }
    }
    m_running = false;
  });
  if (m_loop == nullptr) {
    m_worker.join();
  } else {
    while (m_running && !m_failed) {
      m_loop->ProcessEvents();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  if (m_worker.joinable() && !m_running) m_worker.join();
  if (OnFinish) OnFinish();
  return m_result;
}

void TKrFtpComm::Abort() {
  if (!m_running && !m_worker.joinable()) return;
  m_aborted = true;
  m_ftp.Cancel();
  if (m_worker.joinable()) m_worker.join();
  m_ftp.Drop();
  m_running = false;
  Fail(kResultStopped, "Aborted by user");
}

int TKrFtpComm::Login() {
  return Run([](T_Ftp& ftp) { ftp.Login(); }, false);
}

int TKrFtpComm::Logout() {
  if (m_running) {
    Fail(kResultRefused, "Busy");
    return kResultRefused;
  }
  if (m_worker.joinable()) m_worker.join();
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

int TKrFtpComm::Download(const std::string& remote, std::ostream& out) {
  if (remote.empty()) return kResultRefused;
  return Run([&out, remote](T_Ftp& ftp) { ftp.Download(remote, out); });
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
