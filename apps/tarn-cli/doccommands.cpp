// tarn-cli export doc; see doccommands.h.
#include "doccommands.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "climessages.h"
#include "convert/docconvert.h"
#include "convert/exportjob.h"
#include "document/aehset.h"
#include "export.h"
#include "platform/posixprocess.h"

namespace tarn::cli {
namespace {

namespace fs = std::filesystem;

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

}  // namespace

bool WordProcessorOption(const std::vector<std::string>& args, std::size_t& i, std::string& command, int& timeoutMs,
                         bool& bad) {
  const std::string& a = args[i];
  if (a != "--word-processor" && a != "--timeout") return false;
  if (i + 1 >= args.size()) {
    bad = true;
    return true;
  }
  const std::string& value = args[++i];
  if (a == "--word-processor") {
    command = value;
  } else {
    char* end = nullptr;
    const long seconds = std::strtol(value.c_str(), &end, 10);
    bad = end == value.c_str() || *end != '\0' || seconds < 1 || seconds > 3600;
    timeoutMs = static_cast<int>(seconds) * 1000;
  }
  return true;
}

int ExportDoc(const std::vector<std::string>& args) {
  ExportArguments parsed;
  std::string command;
  int timeoutMs = convert::kDocTimeoutMs;
  bool bad = false;
  ExportSource source;
  const int start = StartExport(args, parsed, source, [&](const std::string&, std::size_t& i) {
    return WordProcessorOption(args, i, command, timeoutMs, bad) && !bad;
  });
  if (start != kExitOk) return start;
  document::TAEHset& set = source.set;
  CliMessages& messages = source.messages;
  const std::vector<int>& pages = parsed.pages;
  const fs::path out = parsed.files[1];
  platform::PosixProcess process;
  convert::ExportJob job(set, &process);
  job.WordProcessorProfile = convert::DefaultWordProcessorProfile();
  job.WordProcessorTimeoutMs = timeoutMs;
  TerminalProgress progress;
  if (::isatty(STDERR_FILENO)) job.Progress = &progress;
  convert::ExportRequest request;
  request.format = convert::kExpDoc;
  request.folder = out.parent_path().empty() ? fs::path(".") : out.parent_path();
  request.mainFile = out.filename().string();
  request.pages = pages;
  request.wordProcessor = command;
  const convert::ExportOutcome outcome = job.Run(request);
  progress.Finish();
  if (!outcome.ok) {
    if (!outcome.errorShown) messages.Error(outcome.error);
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace tarn::cli
