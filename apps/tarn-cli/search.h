// tarn-cli find, replace and spell: pages matching words, a word replaced in
// every page, and the misspelled words of each page.
#pragma once

#include <string>
#include <vector>

namespace tarn::cli {

int Find(const std::vector<std::string>& args);
int Replace(const std::vector<std::string>& args);
int Spell(const std::vector<std::string>& args);

}  // namespace tarn::cli
