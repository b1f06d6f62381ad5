// HTML export of pages full of objects: 1,000 pages, each with five placed
// pictures (five images shared by all pages) and a 5 x 5 table with cell
// backgrounds, measured against writing the same bytes into the same number
// of files. The pictures must be copied once each, however many pages show
// them.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/compose.h"
#include "base/bitmap.h"
#include "base/bytes.h"
#include "base/filestream.h"
#include "convert/aehtohtml.h"
#include "document/aehset.h"
#include "document/imagecodec.h"
#include "document/recordfields.h"
#include "exportrounds.h"
#include "largefile.h"
#include "platform/testing/testplatform.h"

namespace {

using namespace tarn;
using namespace tarn::document;
using namespace tarn::document::field;
namespace fs = std::filesystem;

constexpr int kObjectPages = 1000;
constexpr int kPictures = 5;
constexpr int kTableSide = 5;

std::string Tag(ObjectId id) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "<$%08x>", static_cast<unsigned>(id));
  return buf;
}

base::Bitmap Picture(int n) {
  base::Bitmap b;
  b.width = 64;
  b.height = 48;
  b.pixels.resize(64 * 48);
  for (std::size_t i = 0; i < b.pixels.size(); ++i) {
    b.pixels[i] = 0xFF000000u | static_cast<std::uint32_t>((i * 2654435761u + static_cast<std::size_t>(n) * 977) & 0xFFFFFF);
  }
  return b;
}

// Built once into the benchmark folder.
const fs::path& ObjectsFile() {
  static const fs::path file = [] {
    const fs::path path = bench::BenchFolder() / "objects-v1.aeh";
    if (fs::exists(path)) return path;
    platform::testing::RecordingMessages messages;
    platform::testing::FixedSystemInfo system(bench::BenchFolder());
    TAEHset set({&messages, &system, nullptr, nullptr});
    app::Compose(set);
    set.SetBackup(false);
    std::vector<TAEHoggetto*> images;
    for (int i = 0; i < kPictures; ++i) {
      const fs::path gif = bench::BenchFolder() / ("picture" + std::to_string(i) + ".gif");
      base::WriteWholeFile(gif, EncodeGif(Picture(i)).value());
      images.push_back(set.AddImageFile(gif));
    }
    for (int p = 0; p < kObjectPages; ++p) {
      auto page = set.NewObject(testoHtml);
      page->SetName("Page " + std::to_string(p));
      std::string markup = "<Z S0 >Pictures of page " + std::to_string(p) + ": ";
      for (TAEHoggetto* image : images) {
        TAEHoggetto* placed = set.Register(set.AddImmagineNew(image));
        markup += Tag(placed->GetId()) + " and some words about it, ";
      }
      auto table = set.NewObject(tabellaHtml);
      table->SetU8(kTableRows, kTableSide);
      table->SetU8(kTableColumns, kTableSide);
      std::string backgrounds;
      for (int c = 0; c < kTableSide * kTableSide; ++c) {
        base::AppendI32(backgrounds, c % 3 == 0 ? 0xE0E0FF : c % 3 == 1 ? -1 : 0xFFE0E0);
      }
      table->SetContent(backgrounds);
      markup += "<Z S0 >" + Tag(set.Register(std::move(table))->GetId());
      for (int c = 0; c < kTableSide * kTableSide; ++c) markup += "<Z S1 >cell " + std::to_string(c) + "<T>";
      markup += "<Z S0 >The end of the page.";
      markup.push_back('\0');
      page->SetContent(std::move(markup));
      set.Register(std::move(page));
    }
    set.SaveToFile(path);
    return path;
  }();
  return file;
}

void BM_ExportObjects(benchmark::State& state) {
  platform::testing::RecordingMessages messages;
  platform::testing::FixedSystemInfo system(bench::BenchFolder());
  TAEHset set({&messages, &system, nullptr, nullptr});
  app::Compose(set).LoadFromFile(ObjectsFile());
  std::vector<int> list;
  for (int i = 0; i < kObjectPages; ++i) list.push_back(i);
  convert::TAEHtoHtml html;
  html.SetLinkedAEHset(&set);
  bench::ExportRounds rounds("objects");
  int pictures = 0;
  for (auto _ : state) {
    rounds.Run(html, list, state);
    pictures = 0;
    for (const fs::path& file : rounds.files) pictures += file.extension() == ".gif" ? 1 : 0;
  }
  const auto n = static_cast<double>(state.iterations());
  state.counters["pages_per_s"] = kObjectPages * n / rounds.exportSeconds;
  state.counters["ratio_to_copy"] = rounds.exportSeconds / rounds.copySeconds;
  state.counters["html_MB"] = static_cast<double>(rounds.bytes) / 1e6;
  state.counters["pictures_copied"] = pictures;
  if (pictures != kPictures) state.SkipWithError("each picture must be copied once");
}

BENCHMARK(BM_ExportObjects)->Iterations(4)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
