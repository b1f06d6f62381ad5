#include "exportrounds.h"

#include <chrono>

#include "largefile.h"

namespace tarn::bench {

namespace fs = std::filesystem;

ExportRounds::~ExportRounds() {
  for (const auto& folder : m_folders) fs::remove_all(folder);
}

void ExportRounds::Run(convert::TAEHtoHtml& html, const std::vector<int>& pages, benchmark::State& state) {
  const std::string round = std::to_string(m_round);
  const fs::path out = BenchFolder() / (m_name + "-" + round);
  const fs::path copy = BenchFolder() / (m_name + "-copy-" + round);
  fs::remove_all(out);
  fs::remove_all(copy);
  m_folders.push_back(out);
  m_folders.push_back(copy);
  const bool copyFirst = m_round % 2 == 1 && !m_sizes.empty();
  if (copyFirst) copySeconds += WriteSameBytes(copy, m_sizes);
  html.ExportPath = out;
  const auto start = std::chrono::steady_clock::now();
  if (!html.ExportPageList(pages)) state.SkipWithError(html.ErrorText().c_str());
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  state.SetIterationTime(seconds);
  exportSeconds += seconds;
  m_sizes.clear();
  files.clear();
  bytes = 0;
  for (const auto& entry : fs::directory_iterator(out)) {
    m_sizes.push_back(entry.file_size());
    files.push_back(entry.path());
    bytes += entry.file_size();
  }
  if (!copyFirst) copySeconds += WriteSameBytes(copy, m_sizes);
  ++m_round;
}

}  // namespace tarn::bench
