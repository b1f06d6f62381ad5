// Peak memory of a program; see peakmemory.h.
#include "peakmemory.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <fstream>

extern char** environ;

namespace tarn::bench {

double PeakMegabytes(const std::vector<std::string>& command, const std::filesystem::path& report) {
  if (!std::filesystem::exists("/usr/bin/time")) return 0;
  std::vector<std::string> args{"/usr/bin/time", "-f", "%M", "-o", report.string()};
  args.insert(args.end(), command.begin(), command.end());
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int failed = posix_spawn(&pid, argv[0], &quiet, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&quiet);
  if (failed != 0) return 0;
  int status = 0;
  waitpid(pid, &status, 0);
  std::ifstream in(report);
  double kilobytes = 0;
  in >> kilobytes;
  return kilobytes / 1024.0;
}

}  // namespace tarn::bench
