// Finding a word across the 10,000-page hypertext against grep -c -F over
// the same markup bytes, and the background spell check of a 5,000-word
// page: the engine's time per paragraph (what each step keeps the
// user-interface thread busy, so what a keystroke may wait) and the time to
// the last mark with the thread's pacing.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "document/aehoggetto.h"
#include "document/aehset.h"
#include "largefile.h"
#include "platform/testing/testplatform.h"
#include "search/hunspellengine.h"
#include "search/pagetextmatch.h"
#include "search/spellthread.h"

namespace {

using namespace tarn;

struct Opened {
  Opened() {
    if (!set.LoadFromFile(bench::LargeFile())) std::fputs("cannot open the large hypertext\n", stderr);
    // The same bytes for grep: every page's markup, one after another.
    markupFile = bench::BenchFolder() / "allmarkup.txt";
    std::ofstream out(markupFile, std::ios::binary);
    for (int i = 0; i < set.CountOf(document::testoHtml); ++i) {
      const document::TAEHoggetto* page = set.GetObject(document::testoHtml, i);
      if (page != nullptr) out << page->ReadContent().value_or(std::string());
    }
  }
  platform::testing::RecordingMessages messages;
  platform::testing::FixedSystemInfo system{bench::BenchFolder()};
  document::TAEHset set{{&messages, &system, nullptr, nullptr}};
  std::filesystem::path markupFile;
};

Opened& Shared() {
  static Opened opened;
  return opened;
}

// A word in no page, so that every page is read to its end; the "and" word
// is never reached.
constexpr const char* kMissing = "zebra";

int FindAll(document::TAEHset& set, int options) {
  int found = 0;
  for (int i = 0; i < set.CountOf(document::testoHtml); ++i) {
    const document::TAEHoggetto* page = set.GetObject(document::testoHtml, i);
    if (page != nullptr && !page->IsFree() && !search::PageTextMatch(*page, kMissing, {}, {}, {}, options).empty()) {
      ++found;
    }
  }
  return found;
}

double GrepSeconds() {
  static const double seconds = [] {
    double best = 1e9;
    for (int i = 0; i < 5; ++i) {
      const bench::CommandRun run = bench::RunCommand({"grep", "-c", "-F", kMissing, Shared().markupFile.string()});
      best = std::min(best, run.seconds);
    }
    return best;
  }();
  return seconds;
}

void BM_FindAcrossPages(benchmark::State& state) {
  document::TAEHset& set = Shared().set;
  const int options = static_cast<int>(state.range(0));
  const double grep = GrepSeconds();
  int found = 0;
  double total = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    found = FindAll(set, options);
    total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    benchmark::DoNotOptimize(found);
  }
  const double mean = total / static_cast<double>(state.iterations());
  state.counters["found"] = found;
  state.counters["grep_ms"] = grep * 1000;
  state.counters["x_grep"] = grep > 0 ? mean / grep : 0;
}
BENCHMARK(BM_FindAcrossPages)->Arg(search::stMatchCase)->Arg(0)->Unit(benchmark::kMillisecond);

// A page of 5,000 words in 100 paragraphs, one misspelt word in ten.
std::vector<std::string> SpellPage() {
  std::vector<std::string> paragraphs;
  const char* words[] = {"the", "quick", "brown", "fox", "jumps", "over", "lazy", "dog", "house", "recieve"};
  for (int p = 0; p < 100; ++p) {
    std::string text;
    for (int w = 0; w < 50; ++w) {
      if (!text.empty()) text += ' ';
      text += words[(p + w) % 10];
    }
    paragraphs.push_back(text + ".");
  }
  return paragraphs;
}

void BM_BackgroundSpellCheck(benchmark::State& state) {
  const auto dictionaries = search::FindDictionaries(search::DictionaryFolders());
  const auto en = std::find_if(dictionaries.begin(), dictionaries.end(), [](const auto& d) { return d.locale == "en_US"; });
  if (en == dictionaries.end()) {
    state.SkipWithError("hunspell-en-us is not installed");
    return;
  }
  search::HunspellEngine engine;
  engine.Open(en->aff, en->dic, {});
  const std::vector<std::string> page = SpellPage();
  double longest = 0, total = 0;
  std::vector<double> steps;
  int marks = 0;
  for (auto _ : state) {
    marks = 0;
    // The thread's steps: one engine call per error and one per paragraph
    // end, each run on the user-interface thread between its events.
    for (const std::string& text : page) {
      std::size_t offset = 0;
      int spellState = 2;
      while (true) {
        const auto start = std::chrono::steady_clock::now();
        const search::SpellResult r = engine.Check(text, offset, spellState);
        const double step = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        longest = std::max(longest, step);
        steps.push_back(step);
        total += step;
        if (r.status == 0 || r.length <= 0) break;
        ++marks;
        offset += static_cast<std::size_t>(r.offset + r.length);
        spellState = 1;
      }
    }
  }
  const double perPage = total / static_cast<double>(state.iterations());
  const search::TKrSpellThread::Pacing pacing;
  state.counters["marks"] = marks;
  state.counters["engine_ms_per_page"] = perPage * 1000;
  state.counters["longest_step_ms"] = longest * 1000;
  // The longest step is at the mercy of the scheduler on a loaded machine;
  // the 99.9th percentile says what a keystroke usually waits at most.
  std::sort(steps.begin(), steps.end());
  if (!steps.empty()) state.counters["p999_step_ms"] = steps[steps.size() * 999 / 1000] * 1000;
  // The thread waits before the first paragraph and between paragraphs.
  state.counters["last_mark_s"] =
      (pacing.startDelay + static_cast<double>(page.size()) * pacing.textDelay) / 1000.0 + perPage;
}
BENCHMARK(BM_BackgroundSpellCheck)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
