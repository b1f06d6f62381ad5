// A page holding a 50 x 50 table with a paragraph in each cell, with real
// font metrics: building and laying out the table, laying out the whole
// grid again, and the typing path (a character typed in a middle cell, the
// cell laid out again, the grid only when the cell's size changed, and the
// cell's row painted).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <memory>
#include <string>

#include "app/compose.h"
#include "document/aehset.h"
#include "document/recordfields.h"
#include "platform/offsetcanvas.h"
#include "platform/qt/qtcanvas.h"
#include "platform/testing/testplatform.h"
#include "richtext/aehtextattributes.h"
#include "richtext/documenthost.h"
#include "richtext/layout.h"
#include "richtext/pageobjects.h"
#include "richtext/tableobject.h"

namespace {

using namespace tarn;
using namespace document::field;
constexpr int kSide = 50;

struct Page {
  platform::testing::RecordingMessages messages;
  platform::qt::QtCanvas canvas;
  document::TAEHset set{{&messages, nullptr, &canvas, nullptr}};
  richtext::DocumentHost host{set, &canvas, &messages};
  std::unique_ptr<document::TAEHoggetto> record;
  std::string markup;
  std::unique_ptr<richtext::PageObjects> objects;
  std::unique_ptr<richtext::RichText> text;
  std::unique_ptr<richtext::TextLayout> layout;

  Page() {
    app::Compose(set);
    record = set.NewObject(document::tabellaHtml);
    record->InitNew();
    record->SetU8(kTableRows, kSide);
    record->SetU8(kTableColumns, kSide);
    for (int c = 0; c < kSide; ++c) richtext::SetColumn(*record, c, kColumnPercent, 2);
    markup = "<Z S0 >Before the table<Z S0 ><$FF000001>";
    for (int r = 0; r < kSide; ++r) {
      for (int c = 0; c < kSide; ++c) markup += "<Z S1 >Cell " + std::to_string(r) + "," + std::to_string(c) + " text<T>";
    }
    markup += "<Z S0 >After the table";
    markup.push_back('\0');
  }

  // Reads and lays out the page anew.
  richtext::TableObject& Build() {
    layout.reset();
    text.reset();
    objects = std::make_unique<richtext::PageObjects>();
    objects->SetTableLayout(&host, &canvas);
    objects->Add(record.get());
    host.objectLookup = [this](std::int32_t id) { return objects->Find(id); };
    text = std::make_unique<richtext::RichText>();
    richtext::MarkupStream stream(markup);
    richtext::ReadText(*text, stream, host);
    layout = std::make_unique<richtext::TextLayout>(*text, canvas);
    layout->layoutWidth = 3000;
    layout->widestExtent = 3000;
    layout->LayoutAll();
    return dynamic_cast<richtext::TableObject&>(*objects->Find(1));
  }
};

Page& Shared() {
  static Page page;
  return page;
}

void BM_BuildAndLayoutTable(benchmark::State& state) {
  Page& page = Shared();
  for (auto _ : state) benchmark::DoNotOptimize(page.Build().Height());
  richtext::TableObject& table = page.Build();
  state.counters["rows"] = table.Rows();
  state.counters["height"] = table.Height();
}

void BM_FullTableLayout(benchmark::State& state) {
  Page& page = Shared();
  richtext::TableObject& table = page.Build();
  for (auto _ : state) {
    table.ForgetWidths();
    table.Relayout();
    benchmark::DoNotOptimize(table.Height());
  }
}

void BM_TypingInAMiddleCell(benchmark::State& state) {
  Page& page = Shared();
  richtext::TableObject& table = page.Build();
  richtext::TableCellBox& cell = *table.CellAt(kSide / 2, kSide / 2);
  richtext::TAEHTextAttributes commands(cell.Box());
  QImage image(table.Width() + 1, 200, QImage::Format_RGB32);
  QPainter painter(&image);
  platform::qt::QtCanvas onImage(&painter);
  for (auto _ : state) {
    cell.Box().SetCaret(cell.Box().TextEndPos());
    commands.TypeChar('x');
    table.CellChanged(kSide / 2, kSide / 2);
    // The row is repainted: each of its cells' text.
    for (int c = 0; c < kSide; ++c) {
      richtext::TableCellBox& k = *table.CellAt(kSide / 2, c);
      platform::OffsetCanvas inside(onImage, k.Left(), 0);
      k.Box().Layout().Paint(inside, {0, 0, k.BoundsWidth(), k.BoundsHeight()}, {});
    }
    state.PauseTiming();
    commands.DeletePrevious();
    table.CellChanged(kSide / 2, kSide / 2);
    state.ResumeTiming();
  }
  state.counters["grid_width"] = table.Width();
}

// The typing path without the painting: the character, the cell's layout
// and the grid when the cell's size changed.
void BM_TypingLayoutOnly(benchmark::State& state) {
  Page& page = Shared();
  richtext::TableObject& table = page.Build();
  richtext::TableCellBox& cell = *table.CellAt(kSide / 2, kSide / 2);
  richtext::TAEHTextAttributes commands(cell.Box());
  for (auto _ : state) {
    cell.Box().SetCaret(cell.Box().TextEndPos());
    commands.TypeChar('x');
    table.CellChanged(kSide / 2, kSide / 2);
    // The cell gets its text back, so that every round types into the same.
    state.PauseTiming();
    commands.DeletePrevious();
    table.CellChanged(kSide / 2, kSide / 2);
    state.ResumeTiming();
  }
}

// Painting the whole table, against which the row's repaint compares.
void BM_PaintWholeTable(benchmark::State& state) {
  Page& page = Shared();
  richtext::TableObject& table = page.Build();
  QImage image(table.Width() + 1, table.Height() + 1, QImage::Format_RGB32);
  QPainter painter(&image);
  platform::qt::QtCanvas onImage(&painter);
  for (auto _ : state) table.Paint(onImage, 0, 0, true);
}

BENCHMARK(BM_BuildAndLayoutTable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TypingLayoutOnly)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintWholeTable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullTableLayout)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TypingInAMiddleCell)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
