// The generated hypertext the benchmarks share: 10,000 pages of about 2 KB
// of markup each, written once into the temporary folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace tarn::bench {

constexpr int kPages = 10000;
const std::filesystem::path& LargeFile();
const std::filesystem::path& BenchFolder();
// Writes files of the given sizes into the folder, as fast as the disk
// takes them: the yardstick of an export. Answers the seconds taken.
double WriteSameBytes(const std::filesystem::path& folder, const std::vector<std::uintmax_t>& sizes);

}  // namespace tarn::bench
