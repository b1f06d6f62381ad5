// Running other programs: a word processor converting a document, a browser
// showing an exported page, the help compiler, the application of a linked
// file. Core code asks through this interface; the POSIX version runs real
// programs and tests script the answers.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tarn::platform {

struct ProcessResult {
  bool started = false;   // false: the program could not be run at all
  bool finished = false;  // false: still running when the time ran out (it was stopped)
  int exitCode = -1;
  std::string output;     // what it wrote to standard output
  std::string errors;     // what it wrote to standard error
  bool Succeeded() const { return started && finished && exitCode == 0; }
};

class Process {
 public:
  virtual ~Process() = default;
  // The full path of a program found on the search path; empty when none.
  virtual std::string FindProgram(const std::string& name) = 0;
  // Runs program (a path, or a name looked up on the search path) with the
  // arguments and waits at most timeoutMs for it to end, reading what it
  // writes. A program still running then is stopped. whileWaiting, when
  // given, is called every few milliseconds so that a window stays alive.
  virtual ProcessResult Run(const std::string& program, const std::vector<std::string>& arguments, int timeoutMs,
                            const std::function<void()>& whileWaiting = {}) = 0;
  // Starts a program that goes on by itself (a browser): nothing waits for
  // it. False when it could not be started.
  virtual bool StartDetached(const std::string& program, const std::vector<std::string>& arguments,
                             const std::string& workingFolder = {}) = 0;
  // Starts a program that goes on by itself, as StartDetached, and calls
  // ended with its exit code when it ends, however long that takes. ended
  // runs on a thread of its own, never on the caller's; nothing else waits
  // for the program. False (and ended never called) when it could not be
  // started.
  virtual bool StartWatched(const std::string& program, const std::vector<std::string>& arguments,
                            const std::string& workingFolder, std::function<void(int exitCode)> ended) = 0;
};

}  // namespace tarn::platform
