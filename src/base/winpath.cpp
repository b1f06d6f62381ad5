// Windows-style path splitting; see winpath.h.
#include "base/winpath.h"

namespace tarn::base {
namespace {

std::size_t NameStart(std::string_view path) {
  auto pos = path.find_last_of("\\/:");
  return pos == std::string_view::npos ? 0 : pos + 1;
}

std::size_t ExtStart(std::string_view path) {
  auto start = NameStart(path);
  auto dot = path.rfind('.');
  if (dot == std::string_view::npos || dot < start) return path.size();
  return dot;
}

}  // namespace

std::string ExtractFileName(std::string_view path) { return std::string(path.substr(NameStart(path))); }

std::string ExtractFileExt(std::string_view path) { return std::string(path.substr(ExtStart(path))); }

std::string ExtractBaseName(std::string_view path) {
  auto start = NameStart(path);
  return std::string(path.substr(start, ExtStart(path) - start));
}

std::string ChangeFileExt(std::string_view path, std::string_view ext) {
  std::string out(path.substr(0, ExtStart(path)));
  out += ext;
  return out;
}

std::filesystem::path ToLocalPath(std::string_view stored) {
  std::string s(stored);
  if (s.size() >= 2 && s[1] == ':' &&
      ((s[0] >= 'A' && s[0] <= 'Z') || (s[0] >= 'a' && s[0] <= 'z'))) {
    s.erase(0, 2);
  }
  for (char& c : s) {
    if (c == '\\') c = '/';
  }
  return std::filesystem::path(s);
}

}  // namespace tarn::base
