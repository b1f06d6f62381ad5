// tarn-cli export rtf|winhelp|text: what the export dialog does for these
// formats, without a display. See rtfcommands.h.
#include "rtfcommands.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

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
  ExportArguments parsed;
  bool perPage = false;
  bool titlesAsKeywords = false;
  ExportSource source;
  const int start = StartExport(args, parsed, source, [&](const std::string& a, std::size_t&) {
    if (a == "--per-page" && format == "rtf") return perPage = true;
    if (a == "--titles-as-keywords" && format == "winhelp") return titlesAsKeywords = true;
    return false;
  });
  if (start != kExitOk) return start;
  document::TAEHset& set = source.set;
  CliMessages& messages = source.messages;
  const std::vector<int>& pages = parsed.pages;
  const fs::path out = parsed.files[1];
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
