// Reading the command line.
#include "app/commandline.h"

#include "base/cp1252.h"

namespace tarn::app {

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine command;
  if (arguments.empty()) return command;
  // On Linux an absolute path begins with "/" too: only the four known
  // switches count as switches, anything else is (part of) a file name.
  if (!arguments[0].empty() && arguments[0][0] == '/') {
    const std::string name = base::UpperCase(std::string_view(arguments[0]).substr(1));
    const std::pair<std::string_view, NextAction> switches[] = {{"PRINT", NextAction::Print},
                                                                {"PTARN", NextAction::PublishServer},
                                                                {"PFTP", NextAction::PublishFtp},
                                                                {"INIT", NextAction::ProbeWordProcessor}};
    for (const auto& [known, next] : switches) {
      if (name != known) continue;
      command.next = next;
      command.install = name == "INIT";
      if (arguments.size() > 1) command.file = arguments[1];
      return command;
    }
  }
  for (const std::string& argument : arguments) {
    if (!command.file.empty()) command.file += ' ';
    command.file += argument;
  }
  return command;
}

}  // namespace tarn::app
