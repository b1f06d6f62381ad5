// "What refers to page N" over the 10,000-page hypertext, against the
// plainest possible answer: a byte scan of every page's markup for the
// page's id. The explorer's search reads a copy of the hypertext taken on
// the user-interface thread, so the copy is measured on its own too.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "document/aehoggetto.h"
#include "document/aehset.h"
#include "largefile.h"
#include "platform/testing/testplatform.h"
#include "search/linkexplorer.h"

namespace {

using namespace tarn;
using document::MakeObjectId;
using document::testoHtml;

struct Opened {
  Opened() {
    if (!set.LoadFromFile(bench::LargeFile())) std::fputs("cannot open the large hypertext\n", stderr);
  }
  platform::testing::RecordingMessages messages;
  platform::testing::FixedSystemInfo system{bench::BenchFolder()};
  document::TAEHset set{{&messages, &system, nullptr, nullptr}};
};

Opened& Shared() {
  static Opened opened;
  return opened;
}

// Page 1 is linked from every page; page 5000 from none, so every page is
// read to the end.
constexpr int kLinked = 1;
constexpr int kUnlinked = 5000;

void BM_ReferrersSearch(benchmark::State& state) {
  document::TAEHset& set = Shared().set;
  const auto id = MakeObjectId(testoHtml, static_cast<int>(state.range(0)));
  std::size_t found = 0;
  for (auto _ : state) {
    found = search::PagesReferringTo(set, id).size();
    benchmark::DoNotOptimize(found);
  }
  state.counters["found"] = static_cast<double>(found);
}

void BM_ByteScanForId(benchmark::State& state) {
  document::TAEHset& set = Shared().set;
  char digits[12];
  std::snprintf(digits, sizeof digits, "%08x", static_cast<unsigned>(MakeObjectId(testoHtml, static_cast<int>(state.range(0)))));
  const std::string_view needle(digits, 8);
  std::size_t found = 0;
  for (auto _ : state) {
    found = 0;
    for (int i = 0; i < set.CountOf(testoHtml); ++i) {
      const document::TAEHoggetto* page = set.GetObject(testoHtml, i);
      if (page->Content().View().find(needle) != std::string_view::npos) ++found;
    }
    benchmark::DoNotOptimize(found);
  }
  state.counters["found"] = static_cast<double>(found);
}

void BM_ReadingCopy(benchmark::State& state) {
  document::TAEHset& set = Shared().set;
  for (auto _ : state) benchmark::DoNotOptimize(set.ReadingCopy());
}

BENCHMARK(BM_ReferrersSearch)->Arg(kLinked)->Arg(kUnlinked)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ByteScanForId)->Arg(kLinked)->Arg(kUnlinked)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadingCopy)->Unit(benchmark::kMillisecond);

}  // namespace
