// tarn-cli export rtf|winhelp|text and import rtf|text: what the export and
// import dialogs do for these formats, without a display. See rtfcommands.h.
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

std::vector<int> LivePages(const document::TAEHset& set) {
  std::vector<int> pages;
  for (int i = 0; i < set.CountOf(document::testoHtml); ++i) {
    const document::TAEHoggetto* page = set.GetObject(document::testoHtml, i);
    if (page != nullptr && !page->IsFree()) pages.push_back(i);
  }
  return pages;
}

bool ParseCount(const std::string& text, int& value) {
  char* end = nullptr;
  const long n = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || n < 1 || n > 1'000'000) return false;
  value = static_cast<int>(n);
  return true;
}

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

namespace {

int ImportRtfOrText(const std::string& format, const std::vector<std::string>& args) {
  std::vector<std::string> files;
  std::string into;
  bool cutHeadings = false;
  int paragraphs = 0;
  bool winHelp = false;
  bool pagePerFile = false;
  bool allToGif = false;
  bool commonIndex = false;
  int headingLevel = 4;
  CliMessages messages;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool more = i + 1 < args.size();
    if (a == "--cut" && more) {
      const std::string how = args[++i];
      if (how == "heading" && format == "rtf") cutHeadings = true;
      else if (!how.starts_with("paragraphs:") || !ParseCount(how.substr(11), paragraphs)) return kExitUsage;
    } else if (a == "--into" && more) {
      into = args[++i];
    } else if (format == "rtf" && a == "--winhelp") {
      winHelp = true;
    } else if (format == "rtf" && a == "--page-per-file") {
      pagePerFile = true;
    } else if (format == "rtf" && a == "--gif") {
      allToGif = true;
    } else if (format == "rtf" && a == "--common-index") {
      commonIndex = true;
    } else if (format == "rtf" && a == "--heading-level" && more) {
      if (!ParseCount(args[++i], headingLevel)) return kExitUsage;
    } else if (a == "--yes") {
      messages.answer = platform::Answer::Yes;
    } else if (a.starts_with("--")) {
      return kExitUsage;
    } else {
      files.push_back(a);
    }
  }
  if (files.size() < 2) return kExitUsage;
  const std::string target = files.front();
  const std::vector<fs::path> sources(files.begin() + 1, files.end());

  platform::HostSystemInfo system;
  document::TAEHset set({&messages, &system, nullptr, nullptr});
  app::Compose(set);
  if (!into.empty() && !set.LoadFromFile(into)) return kExitFailed;
  const int pagesBefore = static_cast<int>(LivePages(set).size());
  TerminalProgress progress("Importing");
  const bool terminal = ::isatty(STDERR_FILENO) != 0;
  int first = -1;
  std::size_t replaced = 0;
  if (format == "text") {
    convert::TAEHtoTxt text;
    text.SetLinkedAEHset(&set);
    text.ParagraphsPerPage = paragraphs;
    if (terminal) text.OnExpProgress = &progress;
    first = text.ImportFiles(sources, false);
    replaced = text.ReplacedCharacters();
    if (text.PagesMade() == 0) first = -1;
  } else {
    convert::TAEHtortf rtf;
    rtf.SetLinkedAEHset(&set);
    rtf.ImportOptions.winHelp = winHelp;
    rtf.ImportOptions.allToGif = allToGif;
    rtf.ImportOptions.headingsCut = cutHeadings;
    rtf.ImportOptions.commonIndex = commonIndex;
    rtf.ImportOptions.headingLimit = headingLevel;
    if (paragraphs > 0) rtf.ImportOptions.paragraphsPerPage = paragraphs;
    if (terminal) rtf.OnExpProgress = &progress;
    first = rtf.ImportFiles(sources, !pagePerFile);
    replaced = rtf.ReplacedCharacters();
    if (!rtf.ErrorText().empty()) messages.Error(rtf.ErrorText());
    if (winHelp && !rtf.ImportReport().empty()) {
      for (int kind = 0; kind < 3; ++kind) {
        static const char* const kCaptions[] = {"  Imported pages:", "  Imported keywords:", "  Non imported links:"};
        std::printf("%s\n", kCaptions[kind]);
        bool any = false;
        for (const auto& entry : rtf.ImportReport()) {
          if (entry.kind != kind) continue;
          std::printf("%s\n", base::Cp1252ToUtf8(entry.text).c_str());
          any = true;
        }
        if (!any && kind == 2) std::printf("none\n");
      }
    }
  }
  progress.Finish();
  if (first < 0) {
    messages.Error("No page was imported.");
    return kExitFailed;
  }
  // A new hypertext is called after its first page.
  if (into.empty()) {
    if (const document::TAEHoggetto* page = set.GetObject(document::testoHtml, first)) set.SetTitle(page->GetCaption());
  }
  if (!set.SaveToFile(target, 2)) {
    for (const auto& e : set.SaveErrors()) messages.Error(e);
    return kExitFailed;
  }
  const int pages = static_cast<int>(LivePages(set).size()) - pagesBefore;
  std::printf("Imported %d page%s into %s\n", pages, pages == 1 ? "" : "s", target.c_str());
  if (replaced > 0) std::printf("Characters the document's code page lacks, shown as \"?\": %zu\n", replaced);
  return kExitOk;
}

}  // namespace

int ImportRtf(const std::vector<std::string>& args) { return ImportRtfOrText("rtf", args); }
int ImportText(const std::vector<std::string>& args) { return ImportRtfOrText("text", args); }

}  // namespace tarn::cli
