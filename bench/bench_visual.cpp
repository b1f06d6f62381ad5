// A page with 300 placed pictures (50 distinct ones, 160 x 120 each) shown
// in the editor: the time to build the page and paint it the first time,
// against the same text without the pictures; and the peak memory of
// tarn-cli drawing each page, whose difference is set against the decoded
// pictures' bytes. Each distinct picture is decoded once (the hypertext's
// picture cache), and painting shows the decoded pixels without a copy.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/compose.h"
#include "base/bytes.h"
#include "base/filestream.h"
#include "base/hex.h"
#include "document/aehset.h"
#include "document/imagecodec.h"
#include "objects/ui/framesetwidget.h"
#include "largefile.h"
#include "platform/qt/qtcanvas.h"
#include "platform/system.h"
#include "platform/testing/testplatform.h"

namespace {

using namespace tarn;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kPictures = 50;
constexpr int kPlaced = 300;
constexpr int kWidth = 160;
constexpr int kHeight = 120;

fs::path Folder() {
  static const fs::path folder = [] {
    fs::path f = fs::temp_directory_path() / "tarn-bench-visual";
    fs::create_directories(f);
    return f;
  }();
  return folder;
}

std::string Tag(document::ObjectId id) {
  std::string out = "<$";
  base::AppendHex(out, static_cast<std::uint32_t>(id), 8);
  return out + ">";
}

// A picture of its own for each number: stripes in colours of its own.
base::Bitmap Picture(int n) {
  base::Bitmap b;
  b.width = kWidth;
  b.height = kHeight;
  b.pixels.resize(static_cast<std::size_t>(kWidth * kHeight));
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const auto r = static_cast<std::uint32_t>((n * 37 + x) & 0xFF);
      const auto g = static_cast<std::uint32_t>((n * 91 + y) & 0xFF);
      const auto c = ((x / 8 + y / 8 + n) % 2 == 0) ? 0xFF000000u | (r << 16) | (g << 8) | 0x40u : 0xFFFFFFFFu;
      b.pixels[static_cast<std::size_t>(y * kWidth + x)] = c;
    }
  }
  return b;
}

// Page 0: text with the pictures; page 1: the same text without them.
const fs::path& Hypertext() {
  static const fs::path file = [] {
    platform::testing::RecordingMessages messages;
    platform::HostSystemInfo system;
    document::TAEHset set({&messages, &system, nullptr, nullptr});
    app::Compose(set);
    set.NewHypertext();
    std::vector<document::TAEHoggetto*> images;
    for (int i = 0; i < kPictures; ++i) {
      const fs::path gif = Folder() / ("picture" + std::to_string(i) + ".gif");
      base::WriteWholeFile(gif, document::EncodeGif(Picture(i)).value());
      images.push_back(set.AddImageFile(gif));
    }
    std::string withPictures = "<Z S0 >";
    std::string textOnly = "<Z S0 >";
    for (int i = 0; i < kPlaced; ++i) {
      document::TAEHoggetto* placed = set.Register(set.AddImmagineNew(images[static_cast<std::size_t>(i % kPictures)]));
      const std::string words = "Picture number " + std::to_string(i) + " of the lake shore. ";
      withPictures += words + Tag(placed->GetId()) + " ";
      textOnly += words + " ";
      if (i % 10 == 9) {
        withPictures += "<Z S0 >";
        textOnly += "<Z S0 >";
      }
    }
    for (const std::string* markup : {&withPictures, &textOnly}) {
      auto page = set.NewObject(document::testoHtml);
      page->SetContent(*markup + std::string(1, '\0'));
      set.Register(std::move(page));
    }
    const fs::path out = Folder() / "pictures.aeh";
    set.SaveToFile(out);
    return out;
  }();
  return file;
}

// The memory the process holds now, in megabytes.
double ResidentMegabytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0;
  long resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// Opens the hypertext, shows the page in the editor and paints it once;
// the memory the shown page holds beyond the opened hypertext.
void BM_ShowPage(benchmark::State& state) {
  const int page = static_cast<int>(state.range(0));
  const fs::path& file = Hypertext();
  double growth = 0;
  for (auto _ : state) {
    state.PauseTiming();
    platform::testing::RecordingMessages messages;
    platform::HostSystemInfo system;
    platform::qt::QtCanvas measurer;
    platform::testing::MemoryClipboard clipboard;
    document::TAEHset set({&messages, &system, &measurer, &clipboard});
    app::Compose(set);
    set.LoadFromFile(file);
    objects::ui::TInsiemeCornici editor(messages);
    editor.SetClipboard(&clipboard);
    editor.SetLinkedAEHset(&set);
    editor.resize(1000, 700);
    editor.show();
    QApplication::processEvents();
    const double before = ResidentMegabytes();
    state.ResumeTiming();
    editor.SetMainPageNumber(page);
    QApplication::processEvents();
    // The first paint of what the window shows.
    benchmark::DoNotOptimize(editor.grab());
    state.PauseTiming();
    growth = std::max(growth, ResidentMegabytes() - before);
    editor.SetLinkedAEHset(nullptr);
    state.ResumeTiming();
  }
  state.counters["page_MB"] = growth;
  state.counters["decoded_MB"] = static_cast<double>(kPictures) * kWidth * kHeight * 4 / (1024.0 * 1024.0);
  state.SetLabel(page == 0 ? "300 pictures (50 distinct)" : "the same text alone");
}
BENCHMARK(BM_ShowPage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

// Peak memory of drawing each page with tarn-cli, and the decoded bytes of
// the distinct pictures.
void BM_RenderPeakMemory(benchmark::State& state) {
  const fs::path& file = Hypertext();
  double pictures = 0;
  double text = 0;
  for (auto _ : state) {
    pictures = bench::RunCommand({TARN_CLI, "render", file.string(), "--page", "0", "--png",
                                  (Folder() / "p0.png").string(), "--width", "1000"})
                   .peakMegabytes;
    text = bench::RunCommand({TARN_CLI, "render", file.string(), "--page", "1", "--png",
                              (Folder() / "p1.png").string(), "--width", "1000"})
               .peakMegabytes;
  }
  const double decoded = static_cast<double>(kPictures) * kWidth * kHeight * 4 / (1024.0 * 1024.0);
  state.counters["peak_pictures_MB"] = pictures;
  state.counters["peak_text_MB"] = text;
  state.counters["decoded_MB"] = decoded;
  state.counters["extra_over_decoded"] = decoded > 0 ? (pictures - text) / decoded : 0;
}
BENCHMARK(BM_RenderPeakMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
