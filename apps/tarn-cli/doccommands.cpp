// tarn-cli export doc; see doccommands.h.
#include "doccommands.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "app/compose.h"
#include "climessages.h"
#include "convert/docconvert.h"
#include "convert/exportjob.h"
#include "document/aehset.h"
#include "export.h"
#include "platform/posixprocess.h"
#include "richtext/pagetext.h"

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
  std::vector<std::string> files;
  std::vector<int> pages;
  std::string command;
  int timeoutMs = convert::kDocTimeoutMs;
  CliMessages messages;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    bool bad = false;
    if (a == "--pages" && i + 1 < args.size()) {
      if (!ParsePages(args[++i], pages)) return kExitUsage;
    } else if (WordProcessorOption(args, i, command, timeoutMs, bad)) {
      if (bad) return kExitUsage;
    } else if (a == "--yes") {
      messages.answer = platform::Answer::Yes;
    } else if (a.starts_with("--")) {
      return kExitUsage;
    } else {
      files.push_back(a);
    }
  }
  if (files.size() != 2) return kExitUsage;

  platform::HostSystemInfo system;
  document::TAEHset set({&messages, &system, nullptr, nullptr});
  app::Compose(set);
  if (!set.LoadFromFile(files[0])) return kExitFailed;
  if (pages.empty()) {
    pages = LivePages(set);
  } else {
    for (const int page : pages) {
      if (richtext::LivePage(set, page, messages) == nullptr) return kExitFailed;
    }
  }
  const fs::path out = files[1];
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
