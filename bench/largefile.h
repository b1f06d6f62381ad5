// The generated hypertext the benchmarks share: 10,000 pages of about 2 KB
// of markup each, written once into the temporary folder.
#pragma once

#include <filesystem>

namespace tarn::bench {

constexpr int kPages = 10000;
const std::filesystem::path& LargeFile();
const std::filesystem::path& BenchFolder();

}  // namespace tarn::bench
