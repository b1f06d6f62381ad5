// The export dialog against the command line: the web site of the
// generated 10,000-page hypertext exported from the dialog (opened with its
// file list of every page, Export pressed) and by `tarn-cli export html`,
// and the longest time the window waited for its events during the
// dialog's export (a timer that ticks every 10 ms is late by that much).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "app/compose.h"
#include "app/ui/fexp.h"
#include "document/aehset.h"
#include "largefile.h"
#include "platform/memorysettings.h"
#include "platform/registry.h"
#include "platform/testing/scriptedprocess.h"
#include "platform/testing/testplatform.h"

namespace {

using namespace tarn;
namespace fs = std::filesystem;

using Loaded = bench::LoadedLargeFile;
Loaded& Shared() { return bench::SharedLargeFile(); }

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void BM_DialogExportHtml(benchmark::State& state) {
  Loaded& loaded = Shared();
  platform::MemorySettings store;
  platform::Registry registry(store);
  platform::testing::ScriptedProcess process;
  const fs::path out = bench::BenchFolder() / "dialog-site";
  double longestWaitMs = 0;
  double dialogSeconds = 0;
  double openSeconds = 0;
  double cliSeconds = 0;
  for (auto _ : state) {
    fs::remove_all(out);
    const auto start = std::chrono::steady_clock::now();
    app::ui::TFexp dialog({{loaded.set, registry, loaded.messages, process, false, {}}, {}, {}});
    dialog.Prepare((out / "site.htm").string());
    dialog.show();
    openSeconds += Seconds(start);
    QElapsedTimer sinceTick;
    sinceTick.start();
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
      longestWaitMs = std::max(longestWaitMs, static_cast<double>(sinceTick.restart()));
    });
    ticker.start(10);
    sinceTick.restart();
    const bool ok = dialog.RunExport();
    ticker.stop();
    const double seconds = Seconds(start);
    dialogSeconds += seconds;
    state.SetIterationTime(seconds);
    if (!ok) state.SkipWithError("the dialog's export failed");
    // The same site from the command line right after, so that both see
    // the same load of the machine; its start and the loading of the
    // document count, as the dialog's opening does.
    fs::remove_all(out);
    const bench::CommandRun cli = bench::RunCommand({TARN_CLI, "export", "html", bench::LargeFile().string(),
                                                     out.string(), "--htm"});
    if (!cli.ok) state.SkipWithError("tarn-cli export html failed");
    cliSeconds += cli.seconds;
  }
  const auto n = static_cast<double>(state.iterations());
  state.counters["dialog_s"] = dialogSeconds / n;
  state.counters["open_s"] = openSeconds / n;
  state.counters["longest_event_wait_ms"] = longestWaitMs;

  state.counters["cli_s"] = cliSeconds / n;
  state.counters["dialog_over_cli"] = dialogSeconds / cliSeconds;
  fs::remove_all(out);
}

BENCHMARK(BM_DialogExportHtml)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
