// The daily look for a word processor.
#include "app/wordprocessor.h"

#include "platform/process.h"
#include "platform/registry.h"

namespace tarn::app {

bool DetectWordProcessor(platform::Registry& registry, const std::string& today, const std::function<int()>& probe) {
  int result = 0;
  if (registry.ReadOption("LastDetWord") != today) {
    result = probe();
    // Only a success is remembered for the day: a word processor installed
    // later in the day is found at the next start.
    if (result > 0) registry.WriteOption("LastDetWord", today);
  } else {
    result = platform::ParseNumber(registry.ReadOption("LastDetWordN"), 1);
  }
  registry.WriteOption("LastDetWordN", std::to_string(result));
  return result > 0;
}

int ProbeWordProcessor(platform::Process& process, int timeoutMs, const std::function<void()>& whileWaiting) {
  for (const char* name : {"soffice", "libreoffice"}) {
    const std::string program = process.FindProgram(name);
    if (program.empty()) continue;
    return process.Run(program, {"--version"}, timeoutMs, whileWaiting).Succeeded() ? 1 : 0;
  }
  return 0;
}

}  // namespace tarn::app
