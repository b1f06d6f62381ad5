// Opening and saving a large hypertext, measured against reading and copying
// the same file's bytes.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "app/compose.h"
#include "base/filestream.h"
#include "largefile.h"
#include "document/aehset.h"
#include "platform/testing/testplatform.h"

namespace {

using namespace tarn;
namespace fs = std::filesystem;

struct Fixture {
  fs::path dir = bench::BenchFolder();
  fs::path file = bench::LargeFile();
};

Fixture& Shared() {
  static Fixture f;
  return f;
}

void BM_ReadBytes(benchmark::State& state) {
  auto& f = Shared();
  for (auto _ : state) {
    std::string bytes;
    base::ReadWholeFile(f.file, bytes);
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(fs::file_size(f.file)));
}

void BM_Open(benchmark::State& state) {
  auto& f = Shared();
  platform::testing::RecordingMessages messages;
  platform::testing::FixedSystemInfo system(f.dir);
  document::TAEHset set({&messages, &system, nullptr, nullptr});
  app::Compose(set);
  for (auto _ : state) {
    if (!set.LoadFromFile(f.file)) state.SkipWithError("load failed");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(fs::file_size(f.file)));
}

void BM_CopyBytes(benchmark::State& state) {
  auto& f = Shared();
  const fs::path target = f.dir / "copy.bin";
  for (auto _ : state) {
    std::string bytes;
    base::ReadWholeFile(f.file, bytes);
    base::WriteFile out;
    out.Create(target);
    out.Write(bytes);
    out.Sync();
    out.Close();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(fs::file_size(f.file)));
}

void BM_SaveAs(benchmark::State& state) {
  auto& f = Shared();
  platform::testing::RecordingMessages messages;
  platform::testing::FixedSystemInfo system(f.dir);
  document::TAEHset set({&messages, &system, nullptr, nullptr});
  app::Compose(set);
  set.SetBackup(false);
  const fs::path target = f.dir / "saved.aeh";
  for (auto _ : state) {
    state.PauseTiming();
    set.LoadFromFile(f.file);
    state.ResumeTiming();
    if (!set.SaveToFile(target)) state.SkipWithError("save failed");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(fs::file_size(f.file)));
}

BENCHMARK(BM_ReadBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveAs)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
