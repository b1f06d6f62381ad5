// Reading the markup of every page into paragraphs and writing it back,
// measured against a plain scan of the same bytes for "<".
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "app/compose.h"
#include "document/aehset.h"
#include "document/aehtesto.h"
#include "largefile.h"
#include "platform/testing/testplatform.h"
#include "richtext/documenthost.h"
#include "richtext/markup.h"

namespace {

using namespace tarn;

struct Pages {
  platform::testing::RecordingMessages messages;
  platform::testing::FixedTextMeasurer measurer;
  platform::testing::FixedSystemInfo system{bench::BenchFolder()};
  document::TAEHset set{{&messages, &system, &measurer, nullptr}};
  std::vector<std::string> markups;
  std::int64_t bytes = 0;
  Pages() {
    app::Compose(set);
    set.LoadFromFile(bench::LargeFile());
    for (int i = 0; i < set.CountOf(document::testoHtml); ++i) {
      markups.push_back(static_cast<document::TAEHtesto*>(set.GetObject(document::testoHtml, i))->Markup());
      bytes += static_cast<std::int64_t>(markups.back().size());
    }
  }
};

Pages& Shared() {
  static Pages pages;
  return pages;
}

void BM_ScanForLessThan(benchmark::State& state) {
  auto& pages = Shared();
  for (auto _ : state) {
    std::int64_t count = 0;
    for (const auto& m : pages.markups) {
      for (char c : m) count += c == '<';
    }
    benchmark::DoNotOptimize(count);
  }
  state.SetBytesProcessed(state.iterations() * pages.bytes);
}

void BM_ReadMarkup(benchmark::State& state) {
  auto& pages = Shared();
  richtext::DocumentHost host(pages.set, &pages.measurer, &pages.messages);
  for (auto _ : state) {
    for (const auto& m : pages.markups) {
      richtext::RichText text;
      richtext::MarkupStream stream(m);
      richtext::ReadText(text, stream, host);
      benchmark::DoNotOptimize(text.paragraphs.data());
    }
  }
  state.SetBytesProcessed(state.iterations() * pages.bytes);
}

void BM_WriteMarkup(benchmark::State& state) {
  auto& pages = Shared();
  richtext::DocumentHost host(pages.set, &pages.measurer, &pages.messages);
  std::vector<richtext::RichText> texts(pages.markups.size());
  for (std::size_t i = 0; i < pages.markups.size(); ++i) {
    richtext::MarkupStream stream(pages.markups[i]);
    richtext::ReadText(texts[i], stream, host);
  }
  for (auto _ : state) {
    for (const auto& text : texts) {
      std::string out = richtext::WriteText(text);
      benchmark::DoNotOptimize(out.data());
    }
  }
  state.SetBytesProcessed(state.iterations() * pages.bytes);
}

BENCHMARK(BM_ScanForLessThan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadMarkup)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteMarkup)->Unit(benchmark::kMillisecond);

}  // namespace
