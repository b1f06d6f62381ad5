// Rounds of an HTML export, each measured against writing the same number
// of files of the same sizes into a fresh folder (the disk's limit).
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "convert/aehtohtml.h"

namespace tarn::bench {

class ExportRounds {
 public:
  explicit ExportRounds(std::string name) : m_name(std::move(name)) {}
  // The folders stay until the end: removing thousands of files between
  // rounds would burden the next round's writes.
  ~ExportRounds();
  ExportRounds(const ExportRounds&) = delete;
  ExportRounds& operator=(const ExportRounds&) = delete;

  // Exports the pages and writes the same bytes, in alternating order so
  // that neither side alone pays for a busy file system; the export's time
  // is the iteration's time.
  void Run(convert::TAEHtoHtml& html, const std::vector<int>& pages, benchmark::State& state);

  double exportSeconds = 0;
  double copySeconds = 0;
  std::uintmax_t bytes = 0;                 // written by the last export
  std::vector<std::filesystem::path> files;  // written by the last export

 private:
  std::string m_name;
  std::vector<std::uintmax_t> m_sizes;
  std::vector<std::filesystem::path> m_folders;
  int m_round = 0;
};

}  // namespace tarn::bench
