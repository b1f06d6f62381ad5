// tarn-cli commands: the editor's command table as a shortcut reference;
// and the general options every command answers (--version, --help).
#pragma once

#include <string>
#include <vector>

namespace tarn::cli {

int Commands(const std::vector<std::string>& args);

// "--version", "--help", "help [COMMAND]" and "COMMAND --help": the exit
// code when the arguments asked for one of them, -1 otherwise.
int GeneralOption(const std::vector<std::string>& arguments);

}  // namespace tarn::cli
