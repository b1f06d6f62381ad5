// RTF export of the generated 10,000-page hypertext and RTF import of a file
// of about 20 MB (the export's first pages): megabytes per second and peak
// resident memory. When pandoc is installed (scripts/deps.sh bench), it
// writes and reads the same content side by side.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/compose.h"
#include "base/filestream.h"
#include "convert/aehtortf.h"
#include "document/aehset.h"
#include "largefile.h"
#include "platform/testing/testplatform.h"

extern char** environ;

namespace {

using namespace tarn;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr std::uintmax_t kImportBytes = 20'000'000;

struct Loaded {
  platform::testing::RecordingMessages messages;
  platform::testing::FixedSystemInfo system{bench::BenchFolder()};
  document::TAEHset set{{&messages, &system, nullptr, nullptr}};
  Loaded() {
    // The question past 5 MB is answered Yes: the whole hypertext goes out.
    messages.defaultAnswer = platform::Answer::Yes;
    app::Compose(set).LoadFromFile(bench::LargeFile());
  }
};

Loaded& Shared() {
  static Loaded loaded;
  return loaded;
}

// The peak resident memory since the last reset, in megabytes.
double PeakMegabytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  }
  return 0;
}
double CurrentMegabytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  }
  return 0;
}
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

std::vector<int> AllPages(const document::TAEHset& set) {
  std::vector<int> pages;
  for (int i = 0; i < set.CountOf(document::testoHtml); ++i) pages.push_back(i);
  return pages;
}

const fs::path& ExportedFile() {
  static const fs::path file = [] {
    const fs::path path = bench::BenchFolder() / "large.rtf";
    convert::TAEHtortf rtf;
    rtf.SetLinkedAEHset(&Shared().set);
    rtf.ExportFileName = path;
    rtf.ExportPageList(AllPages(Shared().set));
    return path;
  }();
  return file;
}

// About 20 MB of the export: its first pages, ended where a page ends.
const fs::path& ImportFile() {
  static const fs::path file = [] {
    const fs::path path = bench::BenchFolder() / "import-20mb.rtf";
    std::string text;
    base::ReadWholeFile(ExportedFile(), text);
    std::size_t cut = text.find("\\sect\\sectd ", kImportBytes);
    if (cut == std::string::npos) cut = text.size() - 1;
    text.resize(cut);
    text += "}";
    base::WriteWholeFile(path, text);
    return path;
  }();
  return file;
}

struct Run {
  bool ok = false;
  double seconds = 0;
  double peakMegabytes = 0;
};
Run RunProgram(const std::vector<std::string>& arguments);

void BM_ExportRtf(benchmark::State& state) {
  Loaded& loaded = Shared();
  const std::vector<int> pages = AllPages(loaded.set);
  convert::TAEHtortf rtf;
  rtf.SetLinkedAEHset(&loaded.set);
  rtf.ExportFileName = bench::BenchFolder() / "export.rtf";
  ResetPeak();
  const double before = CurrentMegabytes();
  double seconds = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    if (!rtf.ExportPageList(pages)) state.SkipWithError(rtf.ErrorText().c_str());
    seconds += std::chrono::duration<double>(Clock::now() - start).count();
  }
  const auto bytes = static_cast<double>(fs::file_size(rtf.ExportFileName));
  const auto n = static_cast<double>(state.iterations());
  state.counters["rtf_MB"] = bytes / 1e6;
  state.counters["MB_per_s"] = bytes / 1e6 * n / seconds;
  state.counters["pages_per_s"] = static_cast<double>(pages.size()) * n / seconds;
  state.counters["peak_rss_MB"] = PeakMegabytes();
  state.counters["peak_over_start_MB"] = PeakMegabytes() - before;
  fs::remove(rtf.ExportFileName);
}
BENCHMARK(BM_ExportRtf)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_ImportRtf(benchmark::State& state) {
  const fs::path input = ImportFile();
  const auto bytes = static_cast<double>(fs::file_size(input));
  platform::testing::RecordingMessages messages;
  platform::testing::FixedSystemInfo system{bench::BenchFolder()};
  double seconds = 0;
  double peak = 0;
  double growth = 0;
  for (auto _ : state) {
    document::TAEHset set({&messages, &system, nullptr, nullptr});
    app::Compose(set);
    convert::TAEHtortf rtf;
    rtf.SetLinkedAEHset(&set);
    ResetPeak();
    const double before = CurrentMegabytes();
    const auto start = Clock::now();
    if (rtf.ImportFiles({input}, true) < 0) state.SkipWithError("nothing imported");
    seconds += std::chrono::duration<double>(Clock::now() - start).count();
    peak = PeakMegabytes();
    growth = std::max(growth, peak - before);
  }
  const auto n = static_cast<double>(state.iterations());
  state.counters["input_MB"] = bytes / 1e6;
  state.counters["MB_per_s"] = bytes / 1e6 * n / seconds;
  state.counters["peak_rss_MB"] = peak;
  state.counters["peak_over_start_MB"] = growth;
  state.counters["peak_over_input"] = growth / (bytes / (1024.0 * 1024.0));
  // The whole run as a user starts it: a fresh tarn-cli that imports the
  // file and saves the hypertext, less one that only starts.
  const Run cli = RunProgram({TARN_CLI, "import", "rtf", (bench::BenchFolder() / "import.aeh").string(), input.string()});
  const Run idle = RunProgram({TARN_CLI, "--version"});
  if (cli.ok) state.counters["cli_peak_over_input"] = (cli.peakMegabytes - idle.peakMegabytes) / (bytes / (1024.0 * 1024.0));
  fs::remove(bench::BenchFolder() / "import.aeh");
}
BENCHMARK(BM_ImportRtf)->Iterations(3)->Unit(benchmark::kMillisecond);

// ---- pandoc on the same content ----

Run RunProgram(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  // What the program prints is not wanted here.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  const auto start = Clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return {};
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) < 0) return {};
  Run run;
  run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  run.peakMegabytes = static_cast<double>(usage.ru_maxrss) / 1024.0;
  return run;
}

bool HavePandoc() {
  static const bool have = RunProgram({"pandoc", "--version"}).ok;
  return have;
}

// pandoc reads the 20 MB file (into its own document form, which it writes
// out as it must), then writes that document as RTF.
void BM_PandocReadsRtf(benchmark::State& state) {
  if (!HavePandoc()) {
    state.SkipWithError("pandoc is not installed (scripts/deps.sh bench)");
    return;
  }
  const fs::path input = ImportFile();
  const fs::path native = bench::BenchFolder() / "pandoc.native";
  const auto bytes = static_cast<double>(fs::file_size(input));
  Run last;
  double seconds = 0;
  for (auto _ : state) {
    last = RunProgram({"pandoc", "-f", "rtf", "-t", "native", "-o", native.string(), input.string()});
    if (!last.ok) state.SkipWithError("pandoc failed");
    seconds += last.seconds;
  }
  state.counters["MB_per_s"] = bytes / 1e6 * static_cast<double>(state.iterations()) / seconds;
  state.counters["peak_rss_MB"] = last.peakMegabytes;
}
BENCHMARK(BM_PandocReadsRtf)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_PandocWritesRtf(benchmark::State& state) {
  if (!HavePandoc()) {
    state.SkipWithError("pandoc is not installed (scripts/deps.sh bench)");
    return;
  }
  const fs::path native = bench::BenchFolder() / "pandoc.native";
  if (!fs::exists(native)) RunProgram({"pandoc", "-f", "rtf", "-t", "native", "-o", native.string(), ImportFile().string()});
  const fs::path output = bench::BenchFolder() / "pandoc.rtf";
  Run last;
  double seconds = 0;
  for (auto _ : state) {
    last = RunProgram({"pandoc", "-f", "native", "-t", "rtf", "-s", "-o", output.string(), native.string()});
    if (!last.ok) state.SkipWithError("pandoc failed");
    seconds += last.seconds;
  }
  const auto bytes = static_cast<double>(fs::exists(output) ? fs::file_size(output) : 0);
  state.counters["rtf_MB"] = bytes / 1e6;
  state.counters["MB_per_s"] = bytes / 1e6 * static_cast<double>(state.iterations()) / seconds;
  state.counters["peak_rss_MB"] = last.peakMegabytes;
}
BENCHMARK(BM_PandocWritesRtf)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
