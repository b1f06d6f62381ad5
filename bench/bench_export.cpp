// HTML export of the generated 10,000-page hypertext, measured against
// writing the same number of files of the same sizes (the disk's limit), with
// the peak resident memory after 1,000 and after 10,000 pages.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "app/compose.h"
#include "base/filestream.h"
#include "convert/aehtohtml.h"
#include "document/aehset.h"
#include "largefile.h"
#include "platform/testing/testplatform.h"

namespace {

using namespace tarn;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Loaded {
  platform::testing::RecordingMessages messages;
  platform::testing::FixedSystemInfo system{bench::BenchFolder()};
  document::TAEHset set{{&messages, &system, nullptr, nullptr}};
  Loaded() { app::Compose(set).LoadFromFile(bench::LargeFile()); }
};

Loaded& Shared() {
  static Loaded loaded;
  return loaded;
}

double PeakResidentMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Writes files of the given sizes into the folder; answers the seconds taken.
double CopySameBytes(const fs::path& folder, const std::vector<std::uintmax_t>& sizes) {
  std::uintmax_t largest = 0;
  for (auto s : sizes) largest = std::max(largest, s);
  const std::string buffer(static_cast<std::size_t>(largest), 'x');
  fs::create_directories(folder);
  const auto start = Clock::now();
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    base::WriteFile out;
    out.Create(folder / ("copy" + std::to_string(i) + ".html"));
    out.Write(std::string_view(buffer).substr(0, static_cast<std::size_t>(sizes[i])));
    out.Close();
  }
  return std::chrono::duration<double>(Clock::now() - start).count();
}

void BM_ExportHtml(benchmark::State& state) {
  Loaded& loaded = Shared();
  const int pages = static_cast<int>(state.range(0));
  std::vector<int> list;
  for (int i = 0; i < pages; ++i) list.push_back(i);
  convert::TAEHtoHtml html;
  html.SetLinkedAEHset(&loaded.set);
  std::uintmax_t bytes = 0;
  std::vector<std::uintmax_t> sizes;
  double exportSeconds = 0;
  double copySeconds = 0;
  std::vector<fs::path> folders;
  int round = 0;
  for (auto _ : state) {
    // Fresh folders every round, removed only at the end, and the order of
    // export and copy alternating: creating files right after thousands were
    // deleted costs the file system more, and neither side should pay it alone.
    const fs::path out = bench::BenchFolder() / ("html-" + std::to_string(pages) + "-" + std::to_string(round));
    const fs::path copy = bench::BenchFolder() / ("copy-" + std::to_string(pages) + "-" + std::to_string(round));
    fs::remove_all(out);
    fs::remove_all(copy);
    folders.push_back(out);
    folders.push_back(copy);
    const bool copyFirst = round % 2 == 1 && !sizes.empty();
    if (copyFirst) copySeconds += CopySameBytes(copy, sizes);
    html.ExportPath = out;
    const auto start = Clock::now();
    if (!html.ExportPageList(list)) state.SkipWithError(html.ErrorText().c_str());
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    state.SetIterationTime(seconds);
    exportSeconds += seconds;
    sizes.clear();
    bytes = 0;
    for (const auto& entry : fs::directory_iterator(out)) {
      sizes.push_back(entry.file_size());
      bytes += entry.file_size();
    }
    if (!copyFirst) copySeconds += CopySameBytes(copy, sizes);
    ++round;
  }
  const auto n = static_cast<double>(state.iterations());
  state.counters["pages_per_s"] = pages * n / exportSeconds;
  state.counters["html_MB_per_s"] = static_cast<double>(bytes) / 1e6 * n / exportSeconds;
  state.counters["copy_MB_per_s"] = static_cast<double>(bytes) / 1e6 * n / copySeconds;
  state.counters["ratio_to_copy"] = exportSeconds / copySeconds;
  state.counters["html_MB"] = static_cast<double>(bytes) / 1e6;
  state.counters["peak_rss_MB"] = PeakResidentMegabytes();
  for (const auto& folder : folders) fs::remove_all(folder);
}

// 1,000 pages first: peak memory only grows, so the second figure shows
// what 10,000 pages add.
BENCHMARK(BM_ExportHtml)->Arg(1000)->Arg(10000)->Iterations(4)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
