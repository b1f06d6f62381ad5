// tarn-cli dump: a page's text read into paragraphs.
#pragma once

#include <string>
#include <vector>

namespace tarn::cli {

int Dump(const std::vector<std::string>& args);

}  // namespace tarn::cli
