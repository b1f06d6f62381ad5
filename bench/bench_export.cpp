// HTML export of the generated 10,000-page hypertext, measured against
// writing the same number of files of the same sizes (the disk's limit), with
// the peak resident memory after 1,000 and after 10,000 pages.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/compose.h"
#include "base/filestream.h"
#include "convert/aehtohtml.h"
#include "document/aehset.h"
#include "exportrounds.h"
#include "largefile.h"
#include "platform/testing/testplatform.h"

namespace {

using namespace tarn;
namespace fs = std::filesystem;

using Loaded = bench::LoadedLargeFile;
Loaded& Shared() { return bench::SharedLargeFile(); }

double PeakResidentMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_ExportHtml(benchmark::State& state) {
  Loaded& loaded = Shared();
  const int pages = static_cast<int>(state.range(0));
  std::vector<int> list;
  for (int i = 0; i < pages; ++i) list.push_back(i);
  convert::TAEHtoHtml html;
  html.SetLinkedAEHset(&loaded.set);
  bench::ExportRounds rounds("html-" + std::to_string(pages));
  for (auto _ : state) rounds.Run(html, list, state);
  const auto n = static_cast<double>(state.iterations());
  state.counters["pages_per_s"] = pages * n / rounds.exportSeconds;
  state.counters["html_MB_per_s"] = static_cast<double>(rounds.bytes) / 1e6 * n / rounds.exportSeconds;
  state.counters["copy_MB_per_s"] = static_cast<double>(rounds.bytes) / 1e6 * n / rounds.copySeconds;
  state.counters["ratio_to_copy"] = rounds.exportSeconds / rounds.copySeconds;
  state.counters["html_MB"] = static_cast<double>(rounds.bytes) / 1e6;
  state.counters["peak_rss_MB"] = PeakResidentMegabytes();
}

// 1,000 pages first: peak memory only grows, so the second figure shows
// what 10,000 pages add.
BENCHMARK(BM_ExportHtml)->Arg(1000)->Arg(10000)->Iterations(4)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
