// tarn-cli export: writes pages of a hypertext as a web site.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "climessages.h"
#include "convert/exportprogress.h"
#include "document/aehset.h"
#include "platform/system.h"



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

// What every export format takes after its name: the hypertext and the
// output, "--pages N,M,..." and "--yes".
struct ExportArguments {
  std::vector<std::string> files;
  std::vector<int> pages;
  bool yes = false;
};
// The start of every export command: reads args from args[1] (`option` is
// asked about every other argument starting with "--", may take values
// after it by moving i, and answers false for an option it does not know
// or a bad value), then loads the hypertext into source. Answers 0 to go
// on, else the exit code (2 bad usage, 1 not loaded).
struct ExportSource;
int StartExport(const std::vector<std::string>& args, ExportArguments& parsed, ExportSource& source,
                const std::function<bool(const std::string& option, std::size_t& i)>& option);
// The hypertext an export command reads.
struct ExportSource {
  CliMessages messages;
  platform::HostSystemInfo system;
  document::TAEHset set{{&messages, &system, nullptr, nullptr}};
  // Loads the first file (with "--yes", questions are answered Yes) and
  // settles the pages: every live page when none was asked for, else each
  // asked for must be there (nothing is written otherwise). False when the
  // author was told why not.
  bool Load(ExportArguments& parsed);
};

}  // namespace tarn::cli
