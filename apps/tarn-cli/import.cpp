// tarn-cli import FORMAT OUT.aeh FILE...: the imports of the import dialog
// without a display, chosen by format; see import.h.
#include "import.h"

#include <string_view>

#include "rtfcommands.h"

namespace tarn::cli {
namespace {

constexpr int kExitUsage = 2;

struct Format {
  std::string_view name;
  int (*run)(const std::vector<std::string>& args);
};

constexpr Format kFormats[] = {
    {"rtf", ImportRtf},
    {"text", ImportText},
};

}  // namespace

int Import(const std::vector<std::string>& args) {
  if (args.empty()) return kExitUsage;
  for (const Format& format : kFormats) {
    if (args[0] == format.name) return format.run(std::vector<std::string>(args.begin() + 1, args.end()));
  }
  return kExitUsage;
}

}  // namespace tarn::cli
