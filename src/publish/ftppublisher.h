// Publishing an exported site by FTP: the release read back from the
// version page on the server, then the checked rows uploaded in order, each
// stamped with the revision, and the version page written last so that it
// names a release only once every file of it is on the server.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "publish/ftpcomm.h"
#include "publish/publishrows.h"

namespace tarn::convert {
class TAEHtoHtml;
}

namespace tarn::publish {

// The run ended because the images folder could not be made.
inline constexpr int kResultNoImageFolder = -20;

class TFtpPublisher {
 public:
  TFtpPublisher(TKrFtpComm& comm, PublishRows& rows, convert::TAEHtoHtml& converter)
      : m_comm(comm), m_rows(rows), m_converter(converter) {}

  // The release on the server: lists `directory` (ending with "/") and
  // reads its version page; -1 when there is none.
  int ReadRelease(const std::string& directory);
  // Uploads the checked rows to `directory`, then the version page of
  // `revision`. Answers 200, 0 (stopped), kResultNoImageFolder or the
  // failed upload's code.
  int Publish(const std::string& directory, int revision);
  // The hypertext's revision stamps changed: it must be saved.
  bool Modified() const { return m_modified; }
  // The remote names uploaded by the last run, in order.
  const std::vector<std::string>& Uploaded() const { return m_uploaded; }

  // Each file before it is sent ("Sending NAME").
  std::function<void(const std::string&)> OnStatus;

  // What a result code of a run says to the author.
  static std::string ResultText(int result, bool transfer);

 private:
  int Send(const std::filesystem::path& local, const std::string& remote);
  int PublishRow(int row, const std::string& directory, bool& imagesReady);
  int EnsureImagesFolder(const std::string& directory);

  TKrFtpComm& m_comm;
  PublishRows& m_rows;
  convert::TAEHtoHtml& m_converter;
  bool m_modified = false;
  std::vector<std::string> m_uploaded;
};

}  // namespace tarn::publish
