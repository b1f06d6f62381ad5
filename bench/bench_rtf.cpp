// RTF export of the generated 10,000-page hypertext and RTF import of a file
// of about 20 MB (the export's first pages): megabytes per second and peak
// resident memory. When pandoc is installed (scripts/deps.sh bench), it
// writes and reads the same content side by side.
#include <benchmark/benchmark.h>

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

using bench::CommandRun;
using bench::RunCommand;

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
  const CommandRun cli = RunCommand({TARN_CLI, "import", "rtf", (bench::BenchFolder() / "import.aeh").string(), input.string()});
  const CommandRun idle = RunCommand({TARN_CLI, "--version"});
  if (cli.ok) state.counters["cli_peak_over_input"] = (cli.peakMegabytes - idle.peakMegabytes) / (bytes / (1024.0 * 1024.0));
  fs::remove(bench::BenchFolder() / "import.aeh");
}
BENCHMARK(BM_ImportRtf)->Iterations(3)->Unit(benchmark::kMillisecond);

// ---- pandoc on the same content ----

bool HavePandoc() {
  static const bool have = RunCommand({"pandoc", "--version"}).ok;
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
  CommandRun last;
  double seconds = 0;
  for (auto _ : state) {
    last = RunCommand({"pandoc", "-f", "rtf", "-t", "native", "-o", native.string(), input.string()});
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
  if (!fs::exists(native)) RunCommand({"pandoc", "-f", "rtf", "-t", "native", "-o", native.string(), ImportFile().string()});
  const fs::path output = bench::BenchFolder() / "pandoc.rtf";
  CommandRun last;
  double seconds = 0;
  for (auto _ : state) {
    last = RunCommand({"pandoc", "-f", "native", "-t", "rtf", "-s", "-o", output.string(), native.string()});
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
