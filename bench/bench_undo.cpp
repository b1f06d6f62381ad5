// Typing into a long page with and without undo recording, then undoing all
// of it: the time of a keystroke, the time of the undos, and the memory the
// undo stack holds per step, at two page lengths. Two ways of typing:
// - run: 2,000 characters one after the other in one paragraph, as an
//   author types; the characters share one step;
// - steps: each character in another paragraph, so that each one is a step
//   of its own (the worst case for recording); every step is kept.
#include <benchmark/benchmark.h>

#include "cputime.h"

#include <string>

#include "undo/undoworld.h"

namespace {

using namespace tarn;
using tarn::bench::CpuSeconds;

constexpr int kKeystrokes = 2000;
// Far apart, so that no two keystrokes in a row land in one paragraph.
constexpr int kParagraphStride = 37;

std::string LongPage(int paragraphs) {
  std::string markup;
  markup.reserve(static_cast<std::size_t>(paragraphs) * 80);
  for (int i = 0; i < paragraphs; ++i) {
    markup += "<Z S0 >Paragraph " + std::to_string(i) + " of a long page, with words enough for two lines.";
  }
  return markup;
}

// The thread's processor time: the figures compare two ways of doing the
// same work, and the machine is shared.
void Typing(benchmark::State& state) {
  const int paragraphs = static_cast<int>(state.range(0));
  const bool recording = state.range(1) != 0;
  const bool ownSteps = state.range(2) != 0;
  const std::string markup = LongPage(paragraphs);
  double typing = 0;
  double undoing = 0;
  double bytesPerStep = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto world = std::make_unique<testing::UndoWorld>();
    world->set.SetUndoDeep(1000000);
    world->Show(world->AddPage(markup));
    richtext::BoxText& text = world->Text();
    richtext::TAEHTextAttributes& commands = world->Commands();
    if (!recording) text.recorder = nullptr;
    const std::size_t heldBefore = world->List().MemoryHeld();
    const int middle = paragraphs / 2;
    text.SetCaret(richtext::CharPos{middle, 0});
    state.ResumeTiming();

    const double start = CpuSeconds();
    for (int i = 0; i < kKeystrokes; ++i) {
      if (ownSteps) {
        const int p = (middle + i * kParagraphStride) % paragraphs;
        text.SetCaret(richtext::CharPos{p, text.Paragraph(p).Length()});
      }
      commands.TypeChar(static_cast<unsigned char>('a' + i % 26));
    }
    const double typed = CpuSeconds();
    typing += typed - start;

    if (recording) {
      undo::TAEHundoList& list = world->List();
      const int steps = list.UndoCount();
      if (steps != (ownSteps ? kKeystrokes : 1)) state.SkipWithError("unexpected number of steps");
      bytesPerStep += static_cast<double>(list.MemoryHeld() - heldBefore) / steps;
      list.Steps(undo::kUndo, steps);
      undoing += CpuSeconds() - typed;
      if (world->Shown() != markup) state.SkipWithError("the undos did not give the page back");
    }
    state.PauseTiming();
    world.reset();
    state.ResumeTiming();
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["us_per_key"] = typing / runs / kKeystrokes * 1e6;
  if (recording) {
    state.counters["undo_all_ms"] = undoing / runs * 1e3;
    state.counters["bytes_per_step"] = bytesPerStep / runs;
  }
}

// Arguments: paragraphs, recording, one step per keystroke.
BENCHMARK(Typing)
    ->ArgNames({"paragraphs", "undo", "steps"})
    ->ArgsProduct({{1000, 5000}, {0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

}  // namespace
