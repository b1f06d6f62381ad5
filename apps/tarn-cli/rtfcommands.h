// tarn-cli export rtf|winhelp|text and import rtf|text: the runs of the
// export and import dialogs for RTF, WinHelp sources and plain text.
#pragma once

#include <string>
#include <vector>

namespace tarn::cli {

// Arguments after "export", the first being rtf, winhelp or text; answers
// the exit code (2 for bad usage).
int ExportRtfOrText(const std::vector<std::string>& args);
// The arguments after "import rtf" and "import text".
int ImportRtf(const std::vector<std::string>& args);
int ImportText(const std::vector<std::string>& args);

}  // namespace tarn::cli
