// tarn-cli print: pages of a hypertext printed into a PDF file.
#pragma once

#include <string>
#include <vector>

namespace tarn::cli {

// Arguments after "print"; answers the exit code (2 for bad usage).
int Print(const std::vector<std::string>& args);

}  // namespace tarn::cli
