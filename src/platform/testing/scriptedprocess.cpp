// The scripted stand-in for running programs.
#include "platform/testing/scriptedprocess.h"

namespace tarn::platform::testing {

std::string ScriptedProcess::FindProgram(const std::string& name) {
  return installed.count(name) != 0 ? "/usr/bin/" + name : std::string();
}

ProcessResult ScriptedProcess::Run(const std::string& program, const std::vector<std::string>& arguments, int,
                                   const std::function<void()>& whileWaiting) {
  calls.push_back({program, arguments, false, {}});
  if (whileWaiting) whileWaiting();
  const auto it = results.find(program);
  return it != results.end() ? it->second : ProcessResult{};
}

bool ScriptedProcess::StartDetached(const std::string& program, const std::vector<std::string>& arguments,
                                    const std::string& workingFolder) {
  calls.push_back({program, arguments, true, workingFolder});
  return detachedStart;
}

}  // namespace tarn::platform::testing
