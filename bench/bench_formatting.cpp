// Bold and a paragraph style applied to a selection of 100,000 characters
// over 2,000 paragraphs, against reading and writing the same paragraphs'
// markup once (the box's Rebuild); and the memory of the undo step against
// the selected markup's size. Counters:
// - cmd_ms, rebuild_ms and ratio (the command's time over the rebuild's);
// - undo_per_markup: bytes the step holds per byte of the selected markup.
#include <benchmark/benchmark.h>

#include "cputime.h"

#include <memory>
#include <string>

#include "document/recordfields.h"
#include "richtext/aehparaattributes.h"
#include "undo/undoworld.h"

namespace {

using namespace tarn;
using tarn::bench::CpuSeconds;

constexpr int kParagraphs = 2000;
constexpr int kCharacters = 50;  // per paragraph: 100,000 in all

std::string Page() {
  std::string markup;
  for (int i = 0; i < kParagraphs; ++i) {
    std::string words = "Words of paragraph " + std::to_string(i) + " ";
    while (words.size() < static_cast<std::size_t>(kCharacters)) words += "word ";
    words.resize(kCharacters);
    // Every tenth paragraph has a formatted run of its own.
    markup += i % 10 == 0 ? "<Z S0 >" + words.substr(0, 10) + "<Y c0000FF >" + words.substr(10) : "<Z S0 >" + words;
  }
  return markup;
}

void Formatting(benchmark::State& state) {
  const bool style = state.range(0) != 0;
  const std::string markup = Page();
  double command = 0;
  double rebuild = 0;
  double perMarkup = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto world = std::make_unique<testing::UndoWorld>();
    world->Show(world->AddPage(markup));
    richtext::BoxText& text = world->Text();
    if (style) {
      auto heading = world->set.NewObject(document::stileParagrafo);
      heading->SetName("Heading");
      heading->SetI16(document::field::style::kSize, 18);
      world->set.Register(std::move(heading));
    }
    text.SelectAll();
    const std::size_t selected = text.SaveText().size();
    const std::size_t heldBefore = world->List().MemoryHeld();
    state.ResumeTiming();

    const double start = CpuSeconds();
    if (style) {
      world->Box().ParaCommands().ApplyStyle("Heading");
    } else {
      world->Commands().ChangeStyleBits(document::field::style::kBold, 0);
    }
    const double done = CpuSeconds();
    text.Rebuild(0, text.ParagraphCount() - 1);
    rebuild += CpuSeconds() - done;
    command += done - start;
    perMarkup += static_cast<double>(world->List().MemoryHeld() - heldBefore) / static_cast<double>(selected);

    state.PauseTiming();
    world.reset();
    state.ResumeTiming();
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["cmd_ms"] = command / runs * 1e3;
  state.counters["rebuild_ms"] = rebuild / runs * 1e3;
  state.counters["ratio"] = command / rebuild;
  state.counters["undo_per_markup"] = perMarkup / runs;
}

BENCHMARK(Formatting)->ArgNames({"style"})->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
