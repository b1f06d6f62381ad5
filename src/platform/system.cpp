// The host machine's facts; see system.h.
#include "platform/system.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "base/cp1252.h"

namespace tarn::platform {

std::string HostSystemInfo::UserName() {
  std::string name;
  if (const passwd* pw = ::getpwuid(::getuid()); pw != nullptr && pw->pw_name != nullptr) {
    name = pw->pw_name;
  } else if (const char* env = std::getenv("USER"); env != nullptr) {
    name = env;
  }
  // Login names are UTF-8 on Linux; documents keep cp1252.
  return base::Utf8ToCp1252(name).value_or(std::string());
}

std::filesystem::path HostSystemInfo::TempPath() {
  if (const char* env = std::getenv("TMPDIR"); env != nullptr && *env != '\0') return env;
  return "/tmp";
}

}  // namespace tarn::platform
