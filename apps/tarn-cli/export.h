// tarn-cli export: writes pages of a hypertext as a web site.
#pragma once

#include <string>
#include <vector>

namespace tarn::cli {

// Arguments after "export"; answers the exit code (2 for bad usage).
int Export(const std::vector<std::string>& args);

}  // namespace tarn::cli
