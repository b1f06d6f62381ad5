// A folder of its own for the files a fuzz target writes, made once per
// process so that parallel jobs never share one.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace tarn::fuzz {

inline std::filesystem::path ScratchDir(std::string_view prefix) {
  static const std::filesystem::path dir = [prefix] {
    auto d = std::filesystem::temp_directory_path() / (std::string(prefix) + std::to_string(::getpid()));
    std::filesystem::create_directories(d);
    return d;
  }();
  return dir;
}

}  // namespace tarn::fuzz
