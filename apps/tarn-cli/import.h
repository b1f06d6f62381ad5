// tarn-cli import: makes a hypertext from files of another format, or adds
// them to one. Each format has its own entry in import.cpp.
#pragma once

#include <string>
#include <vector>

namespace tarn::cli {

// Arguments after "import", the format first; answers the exit code (2 for
// bad usage).
int Import(const std::vector<std::string>& args);

}  // namespace tarn::cli
