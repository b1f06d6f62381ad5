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
  if (answer) {
    if (std::optional<ProcessResult> given = answer(program, arguments)) return *given;
  }
  const auto it = results.find(program);
  return it != results.end() ? it->second : ProcessResult{};
}

bool ScriptedProcess::StartDetached(const std::string& program, const std::vector<std::string>& arguments,
                                    const std::string& workingFolder) {
  calls.push_back({program, arguments, true, workingFolder});
  return detachedStart;
}

bool ScriptedProcess::StartWatched(const std::string& program, const std::vector<std::string>& arguments,
                                   const std::string& workingFolder, std::function<void(int exitCode)> ended) {
  calls.push_back({program, arguments, true, workingFolder});
  if (!detachedStart) return false;
  m_watched.push_back(std::move(ended));
  return true;
}

bool ScriptedProcess::Finish(int exitCode) {
  if (m_watched.empty()) return false;
  std::function<void(int)> ended = std::move(m_watched.front());
  m_watched.erase(m_watched.begin());
  if (ended) ended(exitCode);
  return true;
}

}  // namespace tarn::platform::testing
