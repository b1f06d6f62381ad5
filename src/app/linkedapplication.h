// Running the application of a linked file (an image being edited, a file
// of the album): chosen by the file's extension as the options say, started
// on its own with the file, and watched until the author closes it, when
// the dialog that started it is told on the user-interface thread. Stopping
// the watch only stops the telling: the application keeps running.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tarn::platform {
class EventLoop;
class Process;
class Registry;
}  // namespace tarn::platform

namespace tarn::app {

// The behaviours of the extension table: ask the author, the desktop's
// registered application (two old variants, the same here), or the
// configured program.
enum class ApplicationBehaviour : int { Ask = 0, Registered = 1, RegisteredDefault = 2, Configured = 3 };
// What an extension not listed in the table counts as.
inline constexpr int kUnlistedBehaviour = 2;

class LinkedApplications {
 public:
  struct Host {
    platform::Registry& registry;
    platform::Process& process;
    platform::EventLoop& loop;
    // "Choose application:": the program the author picks for the file;
    // empty when cancelled.
    std::function<std::string(const std::filesystem::path& file)> chooseApplication;
    // Where desktop entries are looked for; the desktop's folders when empty.
    std::vector<std::filesystem::path> desktopEntryFolders;
  };
  using WatchId = int;
  static constexpr WatchId kNotStarted = 0;

  explicit LinkedApplications(Host host);
  // Every watch is stopped: nothing is told after this.
  ~LinkedApplications();
  LinkedApplications(const LinkedApplications&) = delete;
  LinkedApplications& operator=(const LinkedApplications&) = delete;

  // The command line for the file (the program first); empty when nothing
  // is to run (the author cancelled, or the configured program is empty).
  std::vector<std::string> CommandFor(const std::filesystem::path& file);
  // Runs the file's application in the file's folder; ended, when given,
  // runs on the user-interface thread once the application has ended.
  // kNotStarted when nothing ran.
  WatchId Run(const std::filesystem::path& file, std::function<void()> ended = {});
  void Stop(WatchId watch);
  // Applications started and not yet ended or stopped.
  std::size_t Watching() const;

 private:
  struct Watch;
  Host m_host;
  std::vector<std::shared_ptr<Watch>> m_watches;
  WatchId m_next = 1;
};

}  // namespace tarn::app
