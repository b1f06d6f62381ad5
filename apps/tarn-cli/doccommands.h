// tarn-cli export doc: pages as a word-processor document, written as RTF
// and converted by LibreOffice run headless.
#pragma once

#include <string>
#include <vector>

namespace tarn::cli {

// Arguments after "export", the format first; the exit code.
int ExportDoc(const std::vector<std::string>& args);
// "--word-processor CMD" and "--timeout SECONDS" at args[i]; false when
// args[i] is neither, bad set when its value is missing or wrong.
bool WordProcessorOption(const std::vector<std::string>& args, std::size_t& i, std::string& command, int& timeoutMs,
                         bool& bad);

}  // namespace tarn::cli
