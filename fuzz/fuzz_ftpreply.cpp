// FTP server bytes: the control connection's replies read by the engine
// (login, a listing over a passive connection, a download), and every line
// of the input read as a listing line and as the replies' small fields.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "platform/testing/scriptedsocket.h"
#include "publish/ftp.h"
#include "publish/ftplist.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarn;
  const std::string input(reinterpret_cast<const char*>(data), size);
  // The first half feeds the control connection, the second the data
  // connections.
  const std::string control = input.substr(0, size / 2);
  const std::string bytes = input.substr(size / 2);
  platform::testing::ScriptedSocketFactory net;
  net.Next().Data(control);
  net.Next().Data(bytes);
  net.Next().Data(bytes);
  publish::T_Ftp ftp(net);
  ftp.Host = "h";
  ftp.MaxListingBytes = 4096;
  try {
    ftp.Login();
    ftp.List(".");
    (void)ftp.Entries(2026);
    std::ostringstream out;
    ftp.Download("x", out);
  } catch (const std::exception&) {
  }
  (void)publish::ParseListing(input, 2026);
  (void)publish::ParsePassiveReply(input);
  (void)publish::AnnouncedSize(input);
  (void)publish::ReplyCode(input);
  return 0;
}
