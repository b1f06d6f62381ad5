// tarn-cli import: new pages from files of another format, saved as a
// hypertext. Each format has its own command; this chooses by the first
// argument.
#pragma once

#include <string>
#include <vector>

namespace tarn::cli {

// Arguments after "import"; answers the exit code (2 for bad usage).
int Import(const std::vector<std::string>& args);

}  // namespace tarn::cli
