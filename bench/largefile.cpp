// The shared generated hypertext; see largefile.h.
#include "largefile.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <string>

#include "app/compose.h"
#include "base/filestream.h"
#include "document/aehset.h"
#include "platform/testing/testplatform.h"

extern char** environ;

namespace tarn::bench {

const std::filesystem::path& BenchFolder() {
  static const std::filesystem::path folder = [] {
    auto dir = std::filesystem::temp_directory_path() / "tarn-bench";
    std::filesystem::create_directories(dir);
    return dir;
  }();
  return folder;
}

double WriteSameBytes(const std::filesystem::path& folder, const std::vector<std::uintmax_t>& sizes) {
  std::uintmax_t largest = 0;
  for (auto s : sizes) largest = std::max(largest, s);
  const std::string buffer(static_cast<std::size_t>(largest), 'x');
  std::filesystem::create_directories(folder);
  const auto start = std::chrono::steady_clock::now();
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    base::WriteFile out;
    out.Create(folder / ("copy" + std::to_string(i) + ".html"));
    out.Write(std::string_view(buffer).substr(0, static_cast<std::size_t>(sizes[i])));
    out.Close();
  }
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

const std::filesystem::path& LargeFile() {
  static const std::filesystem::path file = [] {
    const auto path = BenchFolder() / "large-v2.aeh";
    if (std::filesystem::exists(path)) return path;
    platform::testing::RecordingMessages messages;
    platform::testing::FixedSystemInfo system(BenchFolder());
    document::TAEHset set({&messages, &system, nullptr, nullptr});
    app::Compose(set);
    set.SetBackup(false);
    for (int i = 0; i < kPages; ++i) {
      auto page = set.NewObject(document::testoHtml);
      page->SetName("Page " + std::to_string(i));
      // Text with the usual mix: plain words, a link, a format change and a
      // new paragraph now and then.
      std::string markup = "<Z S0 >";
      int n = 0;
      while (markup.size() < 2000) {
        markup += "The quick brown fox jumps over the lazy dog &amp; <$";
        markup += (n % 3 == 0) ? "00000001" : "00000002";
        markup += ">runs away<%> again. ";
        if (++n % 4 == 0) markup += "<Y s14 y1 >Bold words<Y > follow. <Z S0 >";
      }
      markup.push_back('\0');
      page->SetContent(std::move(markup));
      set.Register(std::move(page));
    }
    set.SaveToFile(path);
    return path;
  }();
  return file;
}

CommandRun RunCommand(const std::vector<std::string>& command) {
  const std::filesystem::path report = BenchFolder() / "peak.txt";
  const bool timed = std::filesystem::exists("/usr/bin/time");
  std::vector<std::string> args;
  if (timed) args = {"/usr/bin/time", "-f", "%M", "-o", report.string()};
  args.insert(args.end(), command.begin(), command.end());
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int failed = posix_spawnp(&pid, argv[0], &quiet, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&quiet);
  CommandRun run;
  if (failed != 0) return run;
  int status = 0;
  if (waitpid(pid, &status, 0) < 0) return run;
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  if (timed) {
    std::ifstream in(report);
    double kilobytes = 0;
    in >> kilobytes;
    run.peakMegabytes = kilobytes / 1024.0;
  }
  return run;
}

LoadedLargeFile::LoadedLargeFile() { app::Compose(set).LoadFromFile(LargeFile()); }

LoadedLargeFile& SharedLargeFile() {
  static LoadedLargeFile loaded;
  return loaded;
}

}  // namespace tarn::bench
