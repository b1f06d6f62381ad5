// tarn-cli import FORMAT OUT.aeh FILE...: the imports of the import dialog
// without a display. What every format shares (the options for the
// hypertext, opening or making it, saving it, the summary) is here; each
// format adds its own options and its importer run.
#include "import.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <string_view>

#include "app/compose.h"
#include "base/cp1252.h"
#include "base/filestream.h"
#include "climessages.h"
#include "convert/aehtohtml.h"
#include "convert/aehtortf.h"
#include "convert/aehtotxt.h"
#include "document/aehset.h"
#include "document/recordfields.h"
#include "convert/docconvert.h"
#include "convert/importjob.h"
#include "doccommands.h"
#include "export.h"
#include "platform/posixprocess.h"
#include "platform/system.h"

namespace tarn::cli {
namespace {

namespace fs = std::filesystem;

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// "Importing: P%" rewritten in place on a terminal.
class ImportProgress : public convert::ExportProgress {
 public:
  ~ImportProgress() override {
    if (m_shown) std::fprintf(stderr, "\rImporting: 100%%\n");
  }
  void OnExpProgress(const convert::TAEHconv& /*sender*/, int item, int total, int /*phase*/) override {
    if (!isatty(STDERR_FILENO)) return;
    m_shown = true;
    std::fprintf(stderr, "\rImporting: %d%%", total > 0 ? item * 100 / total : 100);
    std::fflush(stderr);
  }

 private:
  bool m_shown = false;
};

// The options every format takes, and the hypertext they lead to.
struct ImportJob {
  std::string out;
  std::string into;
  std::vector<std::string> files;
  bool yes = false;
  CliMessages messages;
  platform::HostSystemInfo system;
  document::TAEHset set{{&messages, &system, nullptr, nullptr}};

  ImportJob() { app::Compose(set); }

  // Reads an option shared by all formats at args[i]; false when it is none.
  bool SharedOption(const std::vector<std::string>& args, std::size_t& i, bool& bad) {
    const std::string& a = args[i];
    if (a == "--into") {
      if (i + 1 >= args.size()) bad = true;
      else into = args[++i];
      return true;
    }
    if (a == "--yes") {
      yes = true;
      messages.answer = platform::Answer::Yes;
      return true;
    }
    if (a.starts_with("--")) return false;
    if (out.empty()) out = a;
    else files.push_back(a);
    return true;
  }

  // Every file named must be readable before anything is written.
  bool FilesReadable() {
    for (const std::string& file : files) {
      std::error_code ec;
      std::string why;
      if (fs::is_directory(file, ec)) {
        why = "it is a folder";
      } else {
        base::ReadFile probe;
        if (!probe.Open(file)) why = std::strerror(errno);
      }
      if (!why.empty()) {
        messages.Error("Cannot read " + file + ": " + why);
        return false;
      }
    }
    return true;
  }

  bool Open() {
    if (into.empty()) {
      set.NewHypertext();
      return true;
    }
    return set.LoadFromFile(into);
  }

  bool Save() {
    if (set.SaveToFile(out, 2)) return true;
    for (const auto& e : set.SaveErrors()) messages.Error(e);
    if (set.SaveErrors().empty()) messages.Error("Cannot save " + out);
    return false;
  }
};

// At most this many lines of a list are shown; the count tells the rest.
constexpr std::size_t kLongestList = 40;

void PrintList(const char* heading, const std::vector<std::string>& lines) {
  if (lines.empty()) return;
  std::printf("%s (%zu):\n", heading, lines.size());
  for (std::size_t i = 0; i < lines.size() && i < kLongestList; ++i) {
    std::printf("  %s\n", base::Cp1252ToUtf8(lines[i]).c_str());
  }
  if (lines.size() > kLongestList) std::printf("  ... and %zu more\n", lines.size() - kLongestList);
}

// ---- HTML ----

int ImportHtml(const std::vector<std::string>& args) {
  ImportJob job;
  convert::CrawlLimits limits;
  bool follow = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    bool bad = false;
    if (a == "--follow") {
      follow = true;
    } else if ((a == "--max-pages" || a == "--depth") && i + 1 < args.size()) {
      char* end = nullptr;
      const long n = std::strtol(args[++i].c_str(), &end, 10);
      if (*end != '\0' || n < 0 || n > 1000000) return kExitUsage;
      (a == "--depth" ? limits.depth : limits.maxPages) = static_cast<int>(n);
    } else if (a == "--any-folder") {
      limits.allowOutside = true;
    } else if (!job.SharedOption(args, i, bad) || bad) {
      return kExitUsage;
    }
  }
  if (job.out.empty() || job.files.empty()) return kExitUsage;
  if (!job.FilesReadable()) return kExitFailed;
  if (!job.Open()) return kExitFailed;

  convert::TAEHtoHtml html;
  html.SetLinkedAEHset(&job.set);
  std::vector<fs::path> files;
  std::set<std::string> listed;
  std::vector<std::string> missing;
  int outside = 0;
  int overLimit = 0;
  auto add = [&](const fs::path& file) {
    std::error_code ec;
    fs::path key = fs::weakly_canonical(file, ec);
    if (listed.insert((ec ? file : key).string()).second) files.push_back(file);
  };
  for (const std::string& start : job.files) {
    if (!follow) {
      add(start);
      continue;
    }
    convert::CrawlLimits left = limits;
    left.maxPages = std::max(1, limits.maxPages - static_cast<int>(files.size()));
    const convert::CrawlResult crawl = html.CollectLinkedFiles(start, left);
    for (const fs::path& file : crawl.files) add(file);
    for (const fs::path& file : crawl.missing) missing.push_back(file.string());
    outside += crawl.outside;
    overLimit += crawl.overLimit;
  }

  ImportProgress progress;
  html.OnExpProgress = &progress;
  const bool fresh = job.into.empty();
  html.ImportFiles(files, false);
  html.OnExpProgress = nullptr;
  const convert::HtmlImportReport& report = html.ImportReport();
  if (fresh && !report.pageIndexes.empty()) {
    const auto* first = job.set.GetObject(document::testoHtml, report.pageIndexes.front());
    if (first != nullptr) job.set.SetTitle(first->GetCaption());
  }
  if (report.pages == 0) {
    job.messages.Error("No page was imported.");
    PrintList("Files not read", report.unreadable);
    return kExitFailed;
  }
  if (!job.Save()) return kExitFailed;

  std::printf("Imported %d page%s, %d image%s, %d style%s into %s\n", report.pages, report.pages == 1 ? "" : "s",
              report.images, report.images == 1 ? "" : "s", report.styles, report.styles == 1 ? "" : "s",
              job.out.c_str());
  if (report.replacedCharacters > 0) {
    std::printf("Characters the document's code page lacks, shown as \"?\": %d\n", report.replacedCharacters);
  }
  std::vector<std::string> skipped = report.skipped;
  for (const std::string& file : missing) skipped.push_back("linked file " + file + " (not found or not readable)");
  if (outside > 0) skipped.push_back(std::to_string(outside) + " links out of the start folder (--any-folder follows them)");
  if (overLimit > 0) skipped.push_back(std::to_string(overLimit) + " linked files past the page limit (--max-pages)");
  PrintList("Skipped references", skipped);
  PrintList("Files not read", report.unreadable);
  return kExitOk;
}

// ---- RTF and text ----

bool ParseCount(const std::string& text, int& value) {
  char* end = nullptr;
  const long n = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || n < 1 || n > 1'000'000) return false;
  value = static_cast<int>(n);
  return true;
}

// The help compiler sources' report, in the import dialog's three lists.
void PrintWinHelpReport(const std::vector<convert::ImportReportEntry>& report) {
  static const char* const kCaptions[] = {"Imported pages", "Imported keywords", "Non imported links"};
  for (int kind = 0; kind < 3; ++kind) {
    std::vector<std::string> lines;
    for (const auto& entry : report) {
      if (entry.kind == kind) lines.push_back(entry.text);
    }
    if (lines.empty() && kind == 2) lines.push_back("none");
    PrintList(kCaptions[kind], lines);
  }
}

int ImportRtfOrText(bool rtfFormat, const std::vector<std::string>& args) {
  ImportJob job;
  bool cutHeadings = false;
  int paragraphs = 0;
  bool winHelp = false;
  bool pagePerFile = false;
  bool allToGif = false;
  bool commonIndex = false;
  int headingLevel = 4;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool more = i + 1 < args.size();
    bool bad = false;
    if (a == "--cut" && more) {
      const std::string how = args[++i];
      if (how == "heading" && rtfFormat) cutHeadings = true;
      else if (!how.starts_with("paragraphs:") || !ParseCount(how.substr(11), paragraphs)) return kExitUsage;
    } else if (rtfFormat && a == "--winhelp") {
      winHelp = true;
    } else if (rtfFormat && a == "--page-per-file") {
      pagePerFile = true;
    } else if (rtfFormat && a == "--gif") {
      allToGif = true;
    } else if (rtfFormat && a == "--common-index") {
      commonIndex = true;
    } else if (rtfFormat && a == "--heading-level" && more) {
      if (!ParseCount(args[++i], headingLevel)) return kExitUsage;
    } else if (!job.SharedOption(args, i, bad) || bad) {
      return kExitUsage;
    }
  }
  if (job.out.empty() || job.files.empty()) return kExitUsage;
  if (!job.FilesReadable()) return kExitFailed;
  if (!job.Open()) return kExitFailed;
  const std::vector<fs::path> sources(job.files.begin(), job.files.end());
  const int pagesBefore = static_cast<int>(LivePages(job.set).size());

  ImportProgress progress;
  int first = -1;
  std::size_t replaced = 0;
  if (!rtfFormat) {
    convert::TAEHtoTxt text;
    text.SetLinkedAEHset(&job.set);
    text.ParagraphsPerPage = paragraphs;
    text.OnExpProgress = &progress;
    first = text.ImportFiles(sources, false);
    replaced = text.ReplacedCharacters();
    if (text.PagesMade() == 0) first = -1;
  } else {
    convert::TAEHtortf rtf;
    rtf.SetLinkedAEHset(&job.set);
    rtf.ImportOptions.winHelp = winHelp;
    rtf.ImportOptions.allToGif = allToGif;
    rtf.ImportOptions.headingsCut = cutHeadings;
    rtf.ImportOptions.commonIndex = commonIndex;
    rtf.ImportOptions.headingLimit = headingLevel;
    if (paragraphs > 0) rtf.ImportOptions.paragraphsPerPage = paragraphs;
    rtf.OnExpProgress = &progress;
    first = rtf.ImportFiles(sources, !pagePerFile);
    replaced = rtf.ReplacedCharacters();
    if (!rtf.ErrorText().empty()) job.messages.Error(rtf.ErrorText());
    if (winHelp) PrintWinHelpReport(rtf.ImportReport());
  }
  if (first < 0) {
    job.messages.Error("No page was imported.");
    return kExitFailed;
  }
  // A new hypertext is called after its first page.
  if (job.into.empty()) {
    if (const document::TAEHoggetto* page = job.set.GetObject(document::testoHtml, first)) {
      job.set.SetTitle(page->GetCaption());
    }
  }
  if (!job.Save()) return kExitFailed;
  const int pages = static_cast<int>(LivePages(job.set).size()) - pagesBefore;
  std::printf("Imported %d page%s into %s\n", pages, pages == 1 ? "" : "s", job.out.c_str());
  if (replaced > 0) std::printf("Characters the document's code page lacks, shown as \"?\": %zu\n", replaced);
  return kExitOk;
}

// ---- DOC, through the word processor ----

int ImportDoc(const std::vector<std::string>& args) {
  ImportJob job;
  bool pagePerFile = false;
  std::string command;
  int timeoutMs = convert::kDocTimeoutMs;
  for (std::size_t i = 0; i < args.size(); ++i) {
    bool bad = false;
    if (args[i] == "--page-per-file") {
      pagePerFile = true;
    } else if (WordProcessorOption(args, i, command, timeoutMs, bad)) {
      if (bad) return kExitUsage;
    } else if (!job.SharedOption(args, i, bad) || bad) {
      return kExitUsage;
    }
  }
  if (job.out.empty() || job.files.empty()) return kExitUsage;
  if (!job.FilesReadable()) return kExitFailed;
  if (!job.Open()) return kExitFailed;
  platform::PosixProcess process;
  convert::ImportJob run(job.set, &process);
  run.WordProcessorProfile = convert::DefaultWordProcessorProfile();
  run.WordProcessorTimeoutMs = timeoutMs;
  ImportProgress progress;
  run.Progress = &progress;
  convert::ImportRequest request;
  request.format = pagePerFile ? convert::kImpDocPerFile : convert::kImpDocPages;
  request.files.assign(job.files.begin(), job.files.end());
  request.wordProcessor = command;
  const convert::ImportOutcome outcome = run.Run(request);
  if (!outcome.error.empty()) job.messages.Error(outcome.error);
  if (outcome.pagesMade == 0) {
    job.messages.Error("No page was imported.");
    return kExitFailed;
  }
  if (job.into.empty()) {
    if (const document::TAEHoggetto* page = job.set.GetObject(document::testoHtml, outcome.firstPage)) {
      job.set.SetTitle(page->GetCaption());
    }
  }
  if (!job.Save()) return kExitFailed;
  std::printf("Imported %d page%s into %s\n", outcome.pagesMade, outcome.pagesMade == 1 ? "" : "s", job.out.c_str());
  return kExitOk;
}

int ImportRtf(const std::vector<std::string>& args) { return ImportRtfOrText(true, args); }
int ImportText(const std::vector<std::string>& args) { return ImportRtfOrText(false, args); }

struct Format {
  std::string_view name;
  int (*run)(const std::vector<std::string>& args);
};

constexpr Format kFormats[] = {
    {"html", ImportHtml},
    {"rtf", ImportRtf},
    {"text", ImportText},
    {"doc", ImportDoc},
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
