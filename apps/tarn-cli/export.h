// tarn-cli export: writes pages of a hypertext as a web site.
#pragma once

#include <string>
#include <vector>

#include "convert/exportprogress.h"

namespace tarn::document {
class TAEHset;
}

namespace tarn::cli {

// "Exporting, phase N: P%" rewritten in place, one line per phase.
class TerminalProgress : public convert::ExportProgress {
 public:
  ~TerminalProgress() override;
  void OnExpProgress(const convert::TAEHconv& sender, int item, int total, int phase) override;
  // Ends the phase's line at 100%: progress is told before each document.
  void Finish();

 private:
  int m_phase = 0;
};

// The indexes of the pages that are not free, in record order.
std::vector<int> LivePages(const document::TAEHset& set);
// "N,M,..." into page numbers; false for anything else.
bool ParsePages(const std::string& text, std::vector<int>& pages);

// Arguments after "export"; answers the exit code (2 for bad usage).
int Export(const std::vector<std::string>& args);
// A list of page numbers "N,M,..."; false when it is not one.
bool ParsePages(const std::string& text, std::vector<int>& pages);

}  // namespace tarn::cli
