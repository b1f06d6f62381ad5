// Layout of a long text with real font metrics: a full layout of 5,000
// paragraphs, and the typing path (one paragraph changed, the rest shifted).
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <string>

#include "app/compose.h"
#include "document/aehset.h"
#include "platform/qt/qtcanvas.h"
#include "platform/testing/testplatform.h"
#include "richtext/documenthost.h"
#include "richtext/layout.h"

namespace {

using namespace tarn;

constexpr int kParagraphs = 5000;

struct Box {
  platform::testing::RecordingMessages messages;
  platform::qt::QtCanvas canvas;
  document::TAEHset set{{&messages, nullptr, &canvas, nullptr}};
  richtext::DocumentHost host{set, &canvas, &messages};
  richtext::RichText text;
  richtext::TextLayout layout{text, canvas};
  std::int64_t bytes = 0;

  Box() {
    app::Compose(set);
    std::string markup;
    for (int i = 0; i < kParagraphs; ++i) {
      markup += "<Z S0 >Paragraph " + std::to_string(i) +
                ": the quick brown fox jumps over the lazy dog, and the lazy dog lets it. <$00000001>A link"
                "<%> and <Y s14 y1 >some bold words<Y > complete a line of ordinary text that wraps.";
    }
    bytes = static_cast<std::int64_t>(markup.size());
    richtext::MarkupStream stream(markup);
    richtext::ReadText(text, stream, host);
    layout.layoutWidth = 600;
    layout.widestExtent = 600;
  }
};

Box& Shared() {
  static Box box;
  return box;
}

void BM_FullLayout(benchmark::State& state) {
  Box& box = Shared();
  for (auto _ : state) box.layout.LayoutAll();
  state.SetBytesProcessed(state.iterations() * box.bytes);
}

void BM_TypingPath(benchmark::State& state) {
  Box& box = Shared();
  box.layout.LayoutAll();
  auto& middle = *box.text.paragraphs[kParagraphs / 2];
  const int at = middle.Length() / 2;
  for (auto _ : state) {
    // One character typed in the middle paragraph, then its re-layout.
    middle.text.insert(middle.text.begin() + at, 'x');
    richtext::CharInfo info = middle.infos[static_cast<std::size_t>(at)];
    info.format = -1;
    middle.infos.insert(middle.infos.begin() + at, info);
    box.layout.LayoutRange(kParagraphs / 2, kParagraphs / 2);
    state.PauseTiming();
    middle.text.erase(middle.text.begin() + at);
    middle.infos.erase(middle.infos.begin() + at);
    state.ResumeTiming();
  }
}

BENCHMARK(BM_FullLayout)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TypingPath)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
