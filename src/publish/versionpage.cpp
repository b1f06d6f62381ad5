// The version page, written and read back.
#include "publish/versionpage.h"

#include <charconv>

#include "base/cp1252.h"

namespace tarn::publish {

std::string VersionPageName(std::string_view exportPrefix) { return base::LowerCase(exportPrefix) + "_ver.html"; }

std::string VersionPageText(std::string_view hypertextFile, int release) {
  const std::string r = std::to_string(release);
  std::string page = "<HTML><HEAD><TITLE>Version</TITLE></HEAD>\r\n<BODY>TARN. Please don't delete.<BR>\r\n";
  page += "Hypertext :" + std::string(hypertextFile) + "<BR>\r\n";
  page += "Version   :" + r + "<BR>\r\n";
  page += "<!--VER=" + r + "--><BR>\r\n";
  page += "</BODY>";
  return page;
}

int ReadVersionPage(std::string_view text) {
  constexpr std::string_view kStart = "<!--VER=";
  const std::size_t at = text.find(kStart);
  if (at == std::string_view::npos) return -1;
  const std::size_t lineEnd = text.find('\n', at);
  const std::string_view line = text.substr(at + kStart.size(), lineEnd == std::string_view::npos
                                                                    ? std::string_view::npos
                                                                    : lineEnd - at - kStart.size());
  const std::size_t end = line.find("-->");
  if (end == std::string_view::npos) return -1;
  std::string_view number = line.substr(0, end);
  while (!number.empty() && number.front() == ' ') number.remove_prefix(1);
  while (!number.empty() && number.back() == ' ') number.remove_suffix(1);
  int value = -1;
  const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (ec != std::errc() || ptr != number.data() + number.size() || number.empty()) return -1;
  return value;
}

}  // namespace tarn::publish
