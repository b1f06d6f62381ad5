// Printing pages of the generated hypertext (about 2 KB of text each) into a
// PDF file: pages per second, sheets, the file's size, and the peak memory of
// tarn-cli printing 100 and 1,000 pages beyond what it takes for one page
// (flat when nothing grows with the pages). The same text converted to PDF
// by LibreOffice, when it is installed, for comparison.
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/compose.h"
#include "document/aehset.h"
#include "largefile.h"
#include "platform/memorysettings.h"
#include "platform/qt/qtcanvas.h"
#include "platform/qt/qtpagedprinter.h"
#include "platform/testing/testplatform.h"
#include "print/pagesetupdialog.h"
#include "print/printlist.h"

namespace {

using namespace tarn;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Loaded {
  platform::testing::RecordingMessages messages;
  platform::HostSystemInfo system;
  platform::qt::QtCanvas measurer;
  document::TAEHset set{{&messages, &system, &measurer, nullptr}};
  Loaded() { app::Compose(set).LoadFromFile(bench::LargeFile()); }
};

Loaded& Shared() {
  static Loaded loaded;
  return loaded;
}

std::string PageList(int pages) {
  std::string list;
  for (int i = 0; i < pages; ++i) list += (i > 0 ? "," : "") + std::to_string(i);
  return list;
}

double CliPrintPeak(int pages) {
  return bench::RunCommand({TARN_CLI, "print", bench::LargeFile().string(), "--pdf",
                            (bench::BenchFolder() / "peak.pdf").string(), "--pages", PageList(pages)})
      .peakMegabytes;
}

void BM_PrintPdf(benchmark::State& state) {
  Loaded& loaded = Shared();
  const int pages = static_cast<int>(state.range(0));
  const fs::path pdf = bench::BenchFolder() / ("print-" + std::to_string(pages) + ".pdf");
  platform::qt::QtPdfPrinter printer(pdf);
  platform::MemorySettings settings;
  print::TPageSetupDialog setup(printer, settings, loaded.messages);
  setup.TakeMargins(print::kDefaultMargin, print::kDefaultMargin, print::kDefaultMargin, print::kDefaultMargin);
  print::PrintList list(loaded.set);
  for (int i = 0; i < pages; ++i) list.Add(document::MakeObjectId(document::testoHtml, i));
  int sheets = 0;
  for (auto _ : state) {
    if (list.Print(0, setup, {}) != pages) state.SkipWithError("printing failed");
    sheets = list.Sheets();
  }
  const double onePage = CliPrintPeak(1);
  const double peak = CliPrintPeak(pages);
  state.SetItemsProcessed(state.iterations() * pages);
  state.counters["pages_per_s"] = benchmark::Counter(pages, benchmark::Counter::kIsIterationInvariantRate);
  state.counters["sheets"] = sheets;
  state.counters["pdf_MB"] = static_cast<double>(fs::file_size(pdf)) / 1e6;
  state.counters["cli_peak_MB"] = peak;
  state.counters["peak_over_1_page_MB"] = peak - onePage;
  fs::remove(pdf);
}

// The text of the pages without markup: what LibreOffice gets to set.
std::string PlainText(document::TAEHset& set, int pages) {
  std::string out;
  for (int i = 0; i < pages; ++i) {
    const std::string markup = set.GetObject(document::testoHtml, i)->ReadContent().value_or("");
    bool inTag = false;
    for (std::size_t k = 0; k < markup.size() && markup[k] != '\0'; ++k) {
      const char c = markup[k];
      if (c == '<') {
        inTag = true;
        if (markup.compare(k, 3, "<Z ") == 0) out += '\n';
      } else if (c == '>') {
        inTag = false;
      } else if (!inTag) {
        if (markup.compare(k, 5, "&amp;") == 0) {
          out += '&';
          k += 4;
        } else {
          out += c;
        }
      }
    }
    out += '\f';
  }
  return out;
}

void BM_LibreOfficePdf(benchmark::State& state) {
  if (!fs::exists("/usr/bin/soffice")) {
    state.SkipWithError("LibreOffice is not installed");
    return;
  }
  const int pages = static_cast<int>(state.range(0));
  const fs::path folder = bench::BenchFolder() / "libreoffice";
  fs::create_directories(folder);
  const fs::path text = folder / ("text-" + std::to_string(pages) + ".txt");
  {
    std::ofstream out(text, std::ios::binary);
    out << PlainText(Shared().set, pages);
  }
  // A profile of its own, so that no one's LibreOffice settings are touched.
  const std::string profile = "-env:UserInstallation=file://" + (folder / "profile").string();
  const std::vector<std::string> command{"/usr/bin/soffice", profile, "--headless", "--convert-to", "pdf",
                                         "--outdir", folder.string(), text.string()};
  bench::RunCommand(command);  // the first start makes the profile
  double peak = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    peak = bench::RunCommand(command).peakMegabytes;
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
  }
  state.SetItemsProcessed(state.iterations() * pages);
  state.counters["pages_per_s"] = benchmark::Counter(pages, benchmark::Counter::kIsIterationInvariantRate);
  state.counters["peak_MB"] = peak;
  fs::path pdf = text;
  pdf.replace_extension(".pdf");
  if (fs::exists(pdf)) state.counters["pdf_MB"] = static_cast<double>(fs::file_size(pdf)) / 1e6;
}

BENCHMARK(BM_PrintPdf)->Arg(100)->Arg(1000)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibreOfficePdf)->Arg(1000)->Iterations(2)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
