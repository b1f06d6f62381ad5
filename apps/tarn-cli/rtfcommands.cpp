// tarn-cli export rtf|winhelp|text: what the export dialog does for these
// formats, without a display. See rtfcommands.h.
#include "rtfcommands.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "app/compose.h"
#include "base/cp1252.h"
#include "climessages.h"
#include "convert/aehtortf.h"
#include "convert/aehtotxt.h"
#include "document/aehset.h"
#include "export.h"

namespace tarn::cli {
namespace {

namespace fs = std::filesystem;

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

}  // namespace

int ExportRtfOrText(const std::vector<std::string>& args) {
  const std::string format = args[0];
  std::vector<std::string> files;
  std::vector<int> pages;
  bool perPage = false;
  bool titlesAsKeywords = false;
  CliMessages messages;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--pages" && i + 1 < args.size()) {
      if (!ParsePages(args[++i], pages)) return kExitUsage;
    } else if (a == "--per-page" && format == "rtf") {
      perPage = true;
    } else if (a == "--titles-as-keywords" && format == "winhelp") {
      titlesAsKeywords = true;
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
  if (pages.empty()) pages = LivePages(set);
  const fs::path out = files[1];
  TerminalProgress progress;
  const bool terminal = ::isatty(STDERR_FILENO) != 0;

  if (format == "text") {
    convert::TAEHtoTxt text;
    text.SetLinkedAEHset(&set);
    text.ExportFileName = out;
    text.ExportPath = out.parent_path();
    if (terminal) text.OnExpProgress = &progress;
    const bool ok = text.ExportPageList(pages);
    progress.Finish();
    if (!ok) messages.Error(text.ErrorText());
    return ok ? kExitOk : kExitFailed;
  }

  convert::TAEHtortf rtf;
  rtf.SetLinkedAEHset(&set);
  rtf.SetExportPrefixOverride(set.ExpPrefix());
  if (terminal) rtf.OnExpProgress = &progress;
  bool ok = true;
  if (perPage) {
    std::error_code ec;
    fs::create_directories(out, ec);
    rtf.ExportPath = out;
    ok = rtf.ExportPagesPerFile(pages);
  } else {
    rtf.ExportFileName = out;
    rtf.ExportPath = out.parent_path().empty() ? fs::path(".") : out.parent_path();
    rtf.WinHelp = format == "winhelp";
    rtf.TitlesAsKeywords = titlesAsKeywords;
    ok = rtf.ExportPageList(pages);
    if (ok && rtf.WinHelp) {
      // The help project beside the topics, as the export dialog writes it.
      fs::path project = out;
      project.replace_extension(".HPJ");
      ok = rtf.WriteHelpProject(project, pages);
    }
  }
  progress.Finish();
  // The converter has shown its own message.
  return ok ? kExitOk : kExitFailed;
}

}  // namespace tarn::cli
