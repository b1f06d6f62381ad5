// tarn-cli render: a page's text laid out and drawn into a PNG.
#pragma once

#include <string>
#include <vector>

namespace tarn::cli {

int Render(const std::vector<std::string>& args);

}  // namespace tarn::cli
