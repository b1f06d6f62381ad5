// The desktop entry and the MIME type of hypertext files.
#include "app/desktopinstall.h"

#include <cstdlib>
#include <fstream>
#include <system_error>

#include "platform/registry.h"

namespace tarn::app {
namespace {

// Desktop entries quote arguments with double quotes and escape what
// would otherwise end or expand them.
std::string QuoteExec(const std::string& path) {
  std::string quoted = "\"";
  for (char c : path) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

bool WriteText(const std::filesystem::path& file, const std::string& text, InstallResult& result) {
  std::error_code error;
  std::filesystem::create_directories(file.parent_path(), error);
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (error || !out) {
    result.error = "Cannot write " + file.string();
    return false;
  }
  result.written.push_back(file);
  return true;
}

}  // namespace

std::filesystem::path UserDataHome() {
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg == '/') return xdg;
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home != nullptr ? home : "/tmp") / ".local" / "share";
}

InstallResult InstallDesktopIntegration(const std::filesystem::path& programPath,
                                        const std::filesystem::path& dataHome, platform::Registry& registry) {
  InstallResult result;
  registry.WriteSubkeyValue("ftpnet", "numMax", "222");
  const std::string desktop =
      "[Desktop Entry]\n"
      "Type=Application\n"
      "Name=Tarn\n"
      "GenericName=Hypertext editor\n"
      "Comment=Write, read and publish hypertexts\n"
      "Exec=" + QuoteExec(programPath.string()) + " %f\n"
      "Terminal=false\n"
      "Categories=Office;WordProcessor;\n"
      "MimeType=" + std::string(kHypertextMimeType) + ";\n";
  if (!WriteText(dataHome / "applications" / "tarn.desktop", desktop, result)) return result;
  const std::string mime =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
      "  <mime-type type=\"" + std::string(kHypertextMimeType) + "\">\n"
      "    <comment>Tarn hypertext</comment>\n"
      "    <glob pattern=\"*.aeh\" case-sensitive=\"false\"/>\n"
      "  </mime-type>\n"
      "</mime-info>\n";
  WriteText(dataHome / "mime" / "packages" / "tarn-hypertext.xml", mime, result);
  return result;
}

}  // namespace tarn::app
