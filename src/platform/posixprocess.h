// Programs run with posix_spawn: arguments passed as they are (no shell),
// standard output and error read through pipes while waiting.
#pragma once

#include "platform/process.h"

namespace tarn::platform {

class PosixProcess : public Process {
 public:
  std::string FindProgram(const std::string& name) override;
  ProcessResult Run(const std::string& program, const std::vector<std::string>& arguments, int timeoutMs,
                    const std::function<void()>& whileWaiting = {}) override;
  bool StartDetached(const std::string& program, const std::vector<std::string>& arguments,
                     const std::string& workingFolder = {}) override;
  bool StartWatched(const std::string& program, const std::vector<std::string>& arguments,
                    const std::string& workingFolder, std::function<void(int exitCode)> ended) override;
};

}  // namespace tarn::platform
