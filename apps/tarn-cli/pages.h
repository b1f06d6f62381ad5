// tarn-cli tree, refs and delete: the page order tree, the references of a
// page, and deleting a page with the references it breaks.
#pragma once

#include <string>
#include <vector>

namespace tarn::cli {

int Tree(const std::vector<std::string>& args);
int Refs(const std::vector<std::string>& args);
int Delete(const std::vector<std::string>& args);

}  // namespace tarn::cli
