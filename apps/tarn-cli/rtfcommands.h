// tarn-cli export rtf|winhelp|text: the runs of the export dialog for RTF,
// WinHelp sources and plain text.
#pragma once

#include <string>
#include <vector>

namespace tarn::cli {

// Arguments after "export", the first being rtf, winhelp or text; answers
// the exit code (2 for bad usage).
int ExportRtfOrText(const std::vector<std::string>& args);

}  // namespace tarn::cli
