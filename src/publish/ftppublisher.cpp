// The FTP publication of an exported site.
#include "publish/ftppublisher.h"

#include <ctime>
#include <sstream>

#include "convert/aehtohtml.h"
#include "document/aehset.h"
#include "publish/versionpage.h"

namespace tarn::publish {
namespace {

// The version page is read into memory: a server cannot make it large.
constexpr std::int64_t kMaxVersionPage = 64 * 1024;

int CurrentYear() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local.tm_year + 1900;
}

bool Exists(const std::filesystem::path& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::is_regular_file(path, error);
}

}  // namespace

std::string TFtpPublisher::ResultText(int result, bool transfer) {
  switch (result) {
    case kResultNoImageFolder: return "Error creating image directory";
    case kResultStopped: return "Interrupted by user";
    case kResultOk: return transfer ? "Transfer OK" : "Publishing OK.";
    default: return "Error";
  }
}

int TFtpPublisher::ReadRelease(const std::string& directory) {
  if (m_comm.List(directory) != kResultOk) return -1;
  const std::string name = VersionPageName(m_converter.ExportPrefix());
  bool found = false;
  for (const T_Filedata& entry : m_comm.Engine().Entries(CurrentYear())) {
    found = found || (entry.kind == T_Filedata::kFile && entry.name == name);
  }
  if (!found) return -1;
  std::ostringstream page;
  if (m_comm.Download(directory + name, page, kMaxVersionPage) != kResultOk) {
    // Servers that keep three-letter extensions stored it as ".htm".
    std::ostringstream shorter;
    if (m_comm.Download(directory + name.substr(0, name.size() - 1), shorter, kMaxVersionPage) != kResultOk) return -1;
    return ReadVersionPage(shorter.str());
  }
  return ReadVersionPage(page.str());
}

int TFtpPublisher::Send(const std::filesystem::path& local, const std::string& remote) {
  if (OnStatus) OnStatus("Sending " + remote);
  const int result = m_comm.UploadFile(local, remote);
  if (result == kResultOk) m_uploaded.push_back(remote);
  return result;
}

int TFtpPublisher::EnsureImagesFolder(const std::string& directory) {
  const std::string folder = directory + "images/";
  if (m_comm.MakeDir(folder) == kResultOk) return kResultOk;
  if (m_comm.Result() == kResultStopped) return kResultStopped;
  // The folder made by an earlier publication is refused by MKD; entering
  // it proves it is there.
  if (m_comm.ChangeDir(folder) != kResultOk) return kResultNoImageFolder;
  return m_comm.ChangeDir(directory) == kResultOk ? kResultOk : kResultNoImageFolder;
}

int TFtpPublisher::PublishRow(int row, const std::string& directory, bool& imagesReady) {
  const auto [main, frameless] = m_rows.RowFiles(row);
  const std::string mainName = main.filename().string();
  document::TAEHoggetto* record = m_rows.Record(row);
  switch (m_rows.Kind(row)) {
    case PublishRows::RowKind::StyleSheet: return Send(main, directory + mainName);
    case PublishRows::RowKind::Page: {
      if (Exists(main)) {
        if (const int r = Send(main, directory + mainName); r != kResultOk) return r;
      }
      if (Exists(frameless)) {
        if (const int r = Send(frameless, directory + frameless.filename().string()); r != kResultOk) return r;
      }
      if (record != nullptr) {
        const std::string redirect = m_converter.WriteRedirectPage(*record, m_converter.ExportPath);
        if (!redirect.empty()) {
          const std::filesystem::path path(redirect);
          return Send(path, directory + path.filename().string());
        }
      }
      return kResultOk;
    }
    case PublishRows::RowKind::Image:
    case PublishRows::RowKind::File: {
      const bool image = m_rows.Kind(row) == PublishRows::RowKind::Image;
      std::string prefix;
      if (image && m_converter.ExpSepImage) {
        prefix = "images/";
        if (!imagesReady) {
          if (const int r = EnsureImagesFolder(directory); r != kResultOk) return r;
          std::error_code error;
          std::filesystem::create_directories(main.parent_path(), error);
          imagesReady = true;
        }
      }
      if (record != nullptr) {
        convert::RecordList one;
        one.Add(record);
        if (!m_converter.CopyFiles(one)) return kResultFailed;
      }
      return Send(main, directory + prefix + mainName);
    }
  }
  return kResultOk;
}

int TFtpPublisher::Publish(const std::string& directory, int revision) {
  m_modified = false;
  m_uploaded.clear();
  bool imagesReady = false;
  for (int row = 0; row < m_rows.RowCount(); ++row) {
    if (m_rows.Checked(row)) {
      if (const int r = PublishRow(row, directory, imagesReady); r != kResultOk) return r;
      m_rows.SetChecked(row, false);
      if (m_rows.Record(row) != nullptr) {
        m_rows.SetRowVersion(row, revision);
        m_modified = true;
      }
    } else if (m_rows.BumpRowVersion(row, revision)) {
      m_modified = true;
    }
  }
  const document::TAEHset* set = m_converter.LinkedAEHset();
  std::istringstream page(VersionPageText(set != nullptr ? set->AEHFileName().string() : std::string(), revision));
  const std::string name = directory + VersionPageName(m_converter.ExportPrefix());
  if (OnStatus) OnStatus("Sending " + name);
  const int result = m_comm.Upload(page, name);
  if (result == kResultOk) {
    m_uploaded.push_back(name);
    m_rows.RefreshVersions();
  }
  return result;
}

}  // namespace tarn::publish
