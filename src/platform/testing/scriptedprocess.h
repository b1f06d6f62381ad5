// A stand-in for running programs: records what was asked and answers as
// the test says.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/process.h"

namespace tarn::platform::testing {

class ScriptedProcess : public Process {
 public:
  struct Call {
    std::string program;
    std::vector<std::string> arguments;
    bool detached = false;
    std::string workingFolder;
  };
  std::string FindProgram(const std::string& name) override;
  ProcessResult Run(const std::string& program, const std::vector<std::string>& arguments, int timeoutMs,
                    const std::function<void()>& whileWaiting = {}) override;
  bool StartDetached(const std::string& program, const std::vector<std::string>& arguments,
                     const std::string& workingFolder = {}) override;
  // Recorded as a detached call; the test ends the program with Finish.
  bool StartWatched(const std::string& program, const std::vector<std::string>& arguments,
                    const std::string& workingFolder, std::function<void(int exitCode)> ended) override;
  // Ends the oldest watched program still running, as its watcher would
  // (on the calling thread); false when none runs.
  bool Finish(int exitCode = 0);
  std::size_t Running() const { return m_watched.size(); }

  // Programs that exist, by name; FindProgram answers "/usr/bin/" + name.
  std::set<std::string> installed;
  // What Run answers for a program; a program not listed does not start.
  std::map<std::string, ProcessResult> results;
  // Asked first, for answers that depend on the arguments; nothing: as
  // results says.
  std::function<std::optional<ProcessResult>(const std::string& program, const std::vector<std::string>& arguments)>
      answer;
  // Whether detached programs start.
  bool detachedStart = true;
  std::vector<Call> calls;

 private:
  std::vector<std::function<void(int)>> m_watched;
};

}  // namespace tarn::platform::testing
