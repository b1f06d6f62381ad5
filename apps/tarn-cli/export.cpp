// tarn-cli export html: the run of the export dialog without a display. The
// pages listed (all pages in record order when none are) are written with
// their redirect files, then their frameless versions, then the images and
// files they use; a progress line per phase goes to a terminal.
#include "export.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "app/compose.h"
#include "climessages.h"
#include "convert/aehtohtml.h"
#include "document/aehset.h"
#include "richtext/pagetext.h"
#include "doccommands.h"
#include "rtfcommands.h"

namespace tarn::cli {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

}  // namespace

TerminalProgress::~TerminalProgress() { Finish(); }

void TerminalProgress::OnExpProgress(const convert::TAEHconv& /*sender*/, int item, int total, int phase) {
  if (phase != m_phase) Finish();
  m_phase = phase;
  const int percent = total > 0 ? item * 100 / total : 100;
  std::fprintf(stderr, "\rExporting, phase %d: %d%%", phase, percent);
  std::fflush(stderr);
}

void TerminalProgress::Finish() {
  if (m_phase != 0) std::fprintf(stderr, "\rExporting, phase %d: 100%%\n", m_phase);
  m_phase = 0;
}

std::vector<int> LivePages(const document::TAEHset& set) {
  std::vector<int> pages;
  for (int i = 0; i < set.CountOf(document::testoHtml); ++i) {
    const document::TAEHoggetto* page = set.GetObject(document::testoHtml, i);
    if (page != nullptr && !page->IsFree()) pages.push_back(i);
  }
  return pages;
}

bool ParsePages(const std::string& text, std::vector<int>& pages) {
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t comma = text.find(',', start);
    const std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    char* end = nullptr;
    const long n = std::strtol(item.c_str(), &end, 10);
    if (item.empty() || end == item.c_str() || *end != '\0' || n < 0 || n > 0xFFFFFF) return false;
    pages.push_back(static_cast<int>(n));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return !pages.empty();
}

int StartExport(const std::vector<std::string>& args, ExportArguments& parsed, ExportSource& source,
                const std::function<bool(const std::string& option, std::size_t& i)>& option) {
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--pages" && i + 1 < args.size()) {
      if (!ParsePages(args[++i], parsed.pages)) return kExitUsage;
    } else if (a == "--yes") {
      parsed.yes = true;
    } else if (a.starts_with("--")) {
      if (!option(a, i)) return kExitUsage;
    } else {
      parsed.files.push_back(a);
    }
  }
  if (parsed.files.size() != 2) return kExitUsage;
  return source.Load(parsed) ? kExitOk : kExitFailed;
}

bool ExportSource::Load(ExportArguments& parsed) {
  if (parsed.yes) messages.answer = platform::Answer::Yes;
  app::Compose(set);
  if (!set.LoadFromFile(parsed.files[0])) return false;
  if (parsed.pages.empty()) {
    parsed.pages = LivePages(set);
    return true;
  }
  for (const int page : parsed.pages) {
    if (richtext::LivePage(set, page, messages) == nullptr) return false;
  }
  return true;
}

namespace {

int ExportHtml(const std::vector<std::string>& args) {
  ExportArguments parsed;
  bool htm = false;
  bool imagesFolder = false;
  bool originalNames = false;
  bool utf8 = false;
  ExportSource source;
  const int start = StartExport(args, parsed, source, [&](const std::string& a, std::size_t&) {
    bool* flag = a == "--htm"              ? &htm
                 : a == "--images-folder"  ? &imagesFolder
                 : a == "--original-names" ? &originalNames
                 : a == "--utf8"           ? &utf8
                                           : nullptr;
    if (flag != nullptr) *flag = true;
    return flag != nullptr;
  });
  if (start != kExitOk) return start;
  document::TAEHset& set = source.set;
  CliMessages& messages = source.messages;
  const std::vector<int>& pages = parsed.pages;
  const std::vector<std::string>& files = parsed.files;

  convert::TAEHtoHtml converter;
  converter.SetLinkedAEHset(&set);
  converter.ExportPath = files[1];
  converter.SetExportPrefixOverride(set.ExpPrefix());
  converter.ExpTipoExt = htm ? 0 : 1;
  converter.ExpSepImage = imagesFolder;
  converter.ExpOrigName = originalNames;
  converter.ExpUtf8 = utf8;
  TerminalProgress progress;
  if (::isatty(STDERR_FILENO)) converter.OnExpProgress = &progress;
  const bool ok = converter.ExportSite(pages);
  progress.Finish();
  if (!ok) {
    messages.Error(converter.ErrorText());
    return kExitFailed;
  }
  return kExitOk;
}

struct Format {
  std::string_view name;
  int (*run)(const std::vector<std::string>& args);
};

// Each runner gets the arguments with the format first.
constexpr Format kFormats[] = {
    {"html", ExportHtml},
    {"rtf", ExportRtfOrText},
    {"winhelp", ExportRtfOrText},
    {"text", ExportRtfOrText},
    {"doc", ExportDoc},
};

}  // namespace

int Export(const std::vector<std::string>& args) {
  if (args.empty()) return kExitUsage;
  for (const Format& format : kFormats) {
    if (args[0] == format.name) return format.run(args);
  }
  return kExitUsage;
}

}  // namespace tarn::cli
