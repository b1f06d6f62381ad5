// tarn-cli import, by format; see import.h.
#include "import.h"

#include "rtfcommands.h"

namespace tarn::cli {

int Import(const std::vector<std::string>& args) {
  constexpr int kExitUsage = 2;
  if (args.empty()) return kExitUsage;
  const std::string& format = args[0];
  if (format == "rtf" || format == "text") return ImportRtfOrText(args);
  return kExitUsage;
}

}  // namespace tarn::cli
