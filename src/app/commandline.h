// The program's command line: a file to open, or a switch ("/PRINT",
// "/PTARN", "/PFTP", "/INIT") followed by a file.
#pragma once

#include <string>
#include <vector>

namespace tarn::app {

// What to do after start-up, 300 ms after the window is shown.
enum class NextAction { ProbeWordProcessor = 0, Print = 1, PublishServer = 2, PublishFtp = 3 };

struct CommandLine {
  NextAction next = NextAction::ProbeWordProcessor;
  bool install = false;  // "/INIT"
  std::string file;      // empty: the start-up document
};

// The arguments after the program name. A first argument that is not a
// switch makes every argument part of one file name, joined by blanks, so
// that an unquoted path with blanks still opens.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

}  // namespace tarn::app
