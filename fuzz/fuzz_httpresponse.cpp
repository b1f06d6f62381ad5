// HTTP answers as the server-publishing client reads them, and the list
// and rights pages of the server extensions they carry.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/testing/scriptedsocket.h"
#include "publish/http10.h"
#include "publish/tarn3comm.h"
#include "publish/versionpage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tarn;
  const std::string input(reinterpret_cast<const char*>(data), size);
  platform::testing::ScriptedSocketFactory net;
  net.Next().Data(input);
  publish::THttp10 http(net);
  http.MaxBodyBytes = 1 << 16;
  try {
    (void)http.Get("http://h/x");
  } catch (const std::exception&) {
  }
  (void)publish::ParseHttpUrl(input);
  (void)publish::ParseRights(input, "author");
  std::vector<std::string> lines = publish::SplitLines(input);
  (void)publish::ParseListEntries(lines);
  publish::RemoveListEntry(lines, "a.aeh");
  (void)publish::ReadVersionPage(input);
  return 0;
}
