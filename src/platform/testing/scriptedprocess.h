// A stand-in for running programs: records what was asked and answers as
// the test says.
#pragma once

#include <map>
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

  // Programs that exist, by name; FindProgram answers "/usr/bin/" + name.
  std::set<std::string> installed;
  // What Run answers for a program; a program not listed does not start.
  std::map<std::string, ProcessResult> results;
  // Whether detached programs start.
  bool detachedStart = true;
  std::vector<Call> calls;
};

}  // namespace tarn::platform::testing
