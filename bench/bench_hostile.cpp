// Hostile files against the loader: each hand-made file must be refused or
// opened within a second and within the load's memory bound (for records at
// most 32 times the file's size, or 64 MB; for the data read with them at
// most the file's size). Reports per file its size, the peak of memory the
// load allocated, and whether it was refused.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "base/filestream.h"
#include "document/aehset.h"
#include "document/hostilefiles.h"
#include "largefile.h"
#include "platform/testing/testplatform.h"

namespace {

// Every allocation of the program is counted, so that a load's peak can be
// read off.
std::atomic<std::int64_t> g_live{0};
std::atomic<std::int64_t> g_peak{0};

void* Allocate(std::size_t size) {
  void* p = std::malloc(size == 0 ? 1 : size);
  if (p == nullptr) throw std::bad_alloc();
  const std::int64_t live = g_live += static_cast<std::int64_t>(malloc_usable_size(p));
  for (std::int64_t peak = g_peak.load(); live > peak && !g_peak.compare_exchange_weak(peak, live);) {
  }
  return p;
}

void Release(void* p) {
  if (p == nullptr) return;
  g_live -= static_cast<std::int64_t>(malloc_usable_size(p));
  std::free(p);
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }

namespace {

using namespace tarn;
namespace fs = std::filesystem;
constexpr std::size_t kKB = 1024;

void Load(benchmark::State& state, const fs::path& file) {
  platform::testing::RecordingMessages messages;
  platform::testing::FixedSystemInfo system(bench::BenchFolder());
  document::TAEHset set({&messages, &system, nullptr, nullptr});
  std::int64_t peak = 0;
  bool loaded = false;
  for (auto _ : state) {
    set.NewHypertext();
    messages.Clear();
    const std::int64_t before = g_live.load();
    g_peak = before;
    loaded = set.LoadFromFile(file);
    peak = std::max(peak, g_peak.load() - before);
  }
  const auto size = static_cast<double>(fs::file_size(file));
  state.counters["file_KB"] = size / kKB;
  state.counters["peak_MB"] = static_cast<double>(peak) / (kKB * kKB);
  state.counters["peak_per_byte"] = static_cast<double>(peak) / size;
  state.counters["refused"] = loaded ? 0 : 1;
  state.counters["damaged"] = static_cast<double>(set.DamagedObjects().size());
}

fs::path Written(const std::string& name, const std::string& bytes) {
  const fs::path path = bench::BenchFolder() / ("hostile-" + name + ".aeh");
  base::WriteWholeFile(path, bytes);
  return path;
}

// The 10,000-page document cut in the middle of its data area.
fs::path CutLargeFile() {
  std::string bytes;
  base::ReadWholeFile(bench::LargeFile(), bytes);
  return Written("cut-large", bytes.substr(0, bytes.size() / 2));
}

struct Case {
  const char* name;
  std::function<std::string(std::size_t)> make;
  std::vector<std::size_t> sizes;
};

}  // namespace

int main(int argc, char** argv) {
  using namespace tarn::testing;
  const std::vector<Case> cases = {
      {"short_file_records",
       [](std::size_t n) { return ShortEmbeddedRecords(3, n); },
       {64 * kKB, 256 * kKB, 1024 * kKB}},
      {"short_image_records",
       [](std::size_t n) { return ShortEmbeddedRecords(5, n); },
       {64 * kKB, 256 * kKB, 1024 * kKB}},
      {"old_click_maps", OldClickMapRecords, {64 * kKB, 256 * kKB}},
      {"overlapping_records", OverlappingRecords, {64 * kKB, 1024 * kKB, 16384 * kKB}},
      {"tiny_records", TinyRecords, {512 * kKB, 1024 * kKB, 16384 * kKB}},
      {"overlapping_frame_descriptions", OverlappingFrameDescriptions, {1024 * kKB}},
      {"overlapping_image_data", OverlappingImageData, {1024 * kKB}},
  };
  for (const Case& c : cases) {
    for (const std::size_t size : c.sizes) {
      const std::string name = std::string(c.name) + "/" + std::to_string(size / kKB) + "KB";
      const fs::path file = Written(std::string(c.name) + "-" + std::to_string(size / kKB), c.make(size));
      benchmark::RegisterBenchmark(("BM_HostileLoad/" + name).c_str(), [file](benchmark::State& state) {
        Load(state, file);
      })->Unit(benchmark::kMillisecond);
    }
  }
  benchmark::RegisterBenchmark("BM_HostileLoad/cut_large_document", [](benchmark::State& state) {
    Load(state, CutLargeFile());
  })->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
