// tarn-cli export: writes pages of a hypertext as a web site.
#pragma once

#include <string>
#include <vector>

namespace tarn::cli {

// Arguments after "export"; answers the exit code (2 for bad usage).
int Export(const std::vector<std::string>& args);
// A list of page numbers "N,M,..."; false when it is not one.
bool ParsePages(const std::string& text, std::vector<int>& pages);

}  // namespace tarn::cli
