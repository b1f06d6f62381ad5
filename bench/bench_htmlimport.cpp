// HTML import of a generated site (1,000 files, 20 MB) and of one 5 MB file:
// megabytes per second and the memory the import takes beyond what the
// process held before, against the input's size; and the same files read by
// pandoc (HTML to its native format) when it is installed, for comparison.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/compose.h"
#include "base/filestream.h"
#include "convert/aehtohtml.h"
#include "document/aehset.h"
#include "largefile.h"
#include "platform/testing/testplatform.h"

extern char** environ;

namespace {

using namespace tarn;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kSiteFiles = 1000;
constexpr std::size_t kSiteFileBytes = 20 * 1000;
constexpr std::size_t kLargeFileBytes = 5 * 1000 * 1000;

// A page of about `bytes` bytes with what documentation pages hold: a head,
// headings, paragraphs with formats, entities and links, lists, a table and
// preformatted text.
std::string Page(int number, std::size_t bytes) {
  std::string s = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Page " + std::to_string(number) +
                  "</title>\n<meta name=\"keywords\" content=\"bench, page\">\n</head><body>\n<h1>Chapter " +
                  std::to_string(number) + "</h1>\n";
  for (int block = 0; s.size() < bytes; ++block) {
    const std::string next = "p" + std::to_string((number + block + 1) % kSiteFiles) + ".html";
    s += "<p>This is paragraph " + std::to_string(block) + " of the page, with <b>bold</b>, <i>italic</i> and " +
         "<code>code</code> words, an entity &amp; a caf\xC3\xA9, a <a href=\"" + next + "\">link to the next page</a>" +
         " and one to <a href=\"http://example.org/doc/" + std::to_string(block) + "\">the web</a>. Lorem ipsum dolor " +
         "sit amet, consectetur adipiscing elit, sed do eiusmod tempor incididunt ut labore et dolore magna.</p>\n";
    if (block % 4 == 1) s += "<ul><li>first item</li><li>second <em>item</em></li><li>third item</li></ul>\n";
    if (block % 8 == 3) {
      s += "<table border=1><tr><th>Name<th>Value<th>Note</tr>";
      for (int r = 0; r < 4; ++r) s += "<tr><td>row " + std::to_string(r) + "<td>" + std::to_string(r * 7) + "<td>ok</tr>";
      s += "</table>\n";
    }
    if (block % 8 == 6) s += "<pre>\nint main() {\n\treturn 0;\n}\n</pre>\n";
  }
  return s + "</body></html>\n";
}

const fs::path& Folder() {
  static const fs::path folder = [] {
    const fs::path f = fs::temp_directory_path() / "tarn-bench-htmlimport";
    fs::create_directories(f / "site");
    for (int i = 0; i < kSiteFiles; ++i) {
      const fs::path file = f / "site" / ("p" + std::to_string(i) + ".html");
      if (!fs::exists(file)) base::WriteWholeFile(file, Page(i, kSiteFileBytes));
    }
    if (!fs::exists(f / "large.html")) base::WriteWholeFile(f / "large.html", Page(0, kLargeFileBytes));
    return f;
  }();
  return folder;
}

std::vector<fs::path> SiteFiles() {
  std::vector<fs::path> files;
  for (int i = 0; i < kSiteFiles; ++i) files.push_back(Folder() / "site" / ("p" + std::to_string(i) + ".html"));
  return files;
}

std::uintmax_t Bytes(const std::vector<fs::path>& files) {
  std::uintmax_t total = 0;
  for (const fs::path& f : files) total += fs::file_size(f);
  return total;
}

double PeakMegabytes(const std::vector<std::string>& command) { return bench::RunCommand(command).peakMegabytes; }

// What importing the files takes beyond what the program holds anyway: a
// fresh tarn-cli importing them (and saving the hypertext), less one that
// only starts.
double ImportPeakMegabytes(const std::vector<fs::path>& files) {
  if (!fs::exists("/usr/bin/time")) return 0;
  std::vector<std::string> args{TARN_CLI, "import", "html", (Folder() / "peak.aeh").string()};
  for (const fs::path& f : files) args.push_back(f.string());
  return PeakMegabytes(args) - PeakMegabytes({TARN_CLI, "--version"});
}

void Import(const std::vector<fs::path>& files, int* pages = nullptr) {
  platform::testing::RecordingMessages messages;
  platform::testing::FixedSystemInfo system{Folder() / "temp"};
  document::TAEHset set(platform::Services{&messages, &system, nullptr, nullptr});
  app::Compose(set);
  set.NewHypertext();
  convert::TAEHtoHtml html;
  html.SetLinkedAEHset(&set);
  html.ImportFiles(files, false);
  if (pages != nullptr) *pages = html.ImportReport().pages;
}

void RunImport(benchmark::State& state, const std::vector<fs::path>& files) {
  std::uintmax_t largest = 0;
  for (const fs::path& f : files) largest = std::max(largest, fs::file_size(f));
  int pages = 0;
  for (auto _ : state) Import(files, &pages);
  const double peak = ImportPeakMegabytes(files);
  state.SetBytesProcessed(static_cast<std::int64_t>(Bytes(files)) * state.iterations());
  state.counters["MB"] = static_cast<double>(Bytes(files)) / 1e6;
  state.counters["pages"] = pages;
  state.counters["peak_MB"] = peak;
  state.counters["peak_per_largest_file"] = peak * 1048576.0 / static_cast<double>(largest);
}

void BM_ImportSite(benchmark::State& state) { RunImport(state, SiteFiles()); }
void BM_ImportLargeFile(benchmark::State& state) { RunImport(state, {Folder() / "large.html"}); }

// pandoc reading the same files into its own document model.
void RunPandoc(benchmark::State& state, const std::vector<fs::path>& files) {
  if (!fs::exists("/usr/bin/pandoc")) {
    state.SkipWithError("pandoc is not installed");
    return;
  }
  std::vector<std::string> args{"pandoc", "-f", "html", "-t", "native", "-o", "/dev/null"};
  for (const fs::path& f : files) args.push_back(f.string());
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  double peak = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, "/usr/bin/pandoc", nullptr, nullptr, argv.data(), environ) != 0) {
      state.SkipWithError("pandoc did not start");
      return;
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    peak = static_cast<double>(usage.ru_maxrss) / 1024.0;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) state.SkipWithError("pandoc failed");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(Bytes(files)) * state.iterations());
  state.counters["MB"] = static_cast<double>(Bytes(files)) / 1e6;
  state.counters["peak_MB"] = peak;
}

void BM_PandocSite(benchmark::State& state) { RunPandoc(state, SiteFiles()); }
void BM_PandocLargeFile(benchmark::State& state) { RunPandoc(state, {Folder() / "large.html"}); }

}  // namespace

BENCHMARK(BM_ImportSite)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ImportLargeFile)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PandocSite)->Unit(benchmark::kMillisecond)->Iterations(1)->UseManualTime();
BENCHMARK(BM_PandocLargeFile)->Unit(benchmark::kMillisecond)->Iterations(1)->UseManualTime();
