// Running a linked file's application; see linkedapplication.h.
#include "app/linkedapplication.h"

#include <algorithm>
#include <mutex>

#include "base/cp1252.h"
#include "platform/desktopapplication.h"
#include "platform/eventloop.h"
#include "platform/process.h"
#include "platform/registry.h"

namespace tarn::app {

// One watched application. The watcher thread and the user-interface thread
// share it: whoever comes second finds `stopped` under the lock and does
// nothing, so a stopped watch (or one whose owner has gone, taking the
// event loop with it) never posts or runs its completion.
struct LinkedApplications::Watch {
  WatchId id = kNotStarted;
  std::mutex mutex;
  bool stopped = false;
  bool ended = false;
  platform::EventLoop* loop = nullptr;
  std::function<void()> completion;
};

LinkedApplications::LinkedApplications(Host host) : m_host(std::move(host)) {}

LinkedApplications::~LinkedApplications() {
  for (const auto& watch : m_watches) Stop(watch->id);
}

std::vector<std::string> LinkedApplications::CommandFor(const std::filesystem::path& file) {
  const std::string extension = base::LowerCase(file.extension().string());
  const auto behaviour =
      static_cast<ApplicationBehaviour>(m_host.registry.ExtensionBehaviour(extension, kUnlistedBehaviour));
  std::string program;
  switch (behaviour) {
    case ApplicationBehaviour::Registered:
    case ApplicationBehaviour::RegisteredDefault: {
      const std::vector<std::filesystem::path> folders =
          m_host.desktopEntryFolders.empty() ? platform::DesktopEntryFolders() : m_host.desktopEntryFolders;
      if (auto command = platform::RegisteredApplication(m_host.process, file.string(), folders)) return *command;
      // No association on this desktop: the author says which program.
      if (m_host.chooseApplication) program = m_host.chooseApplication(file);
      break;
    }
    case ApplicationBehaviour::Configured:
      program = m_host.registry.ExtensionApplication(extension);
      break;
    case ApplicationBehaviour::Ask:
    default:
      if (m_host.chooseApplication) program = m_host.chooseApplication(file);
      break;
  }
  if (program.empty()) return {};
  return {program, file.string()};
}

LinkedApplications::WatchId LinkedApplications::Run(const std::filesystem::path& file, std::function<void()> ended) {
  const std::vector<std::string> command = CommandFor(file);
  if (command.empty()) return kNotStarted;
  auto watch = std::make_shared<Watch>();
  watch->id = m_next++;
  watch->loop = &m_host.loop;
  watch->completion = std::move(ended);
  // The watcher holds the watch, not this object: it may outlive both.
  auto onEnd = [watch](int) {
    std::lock_guard lock(watch->mutex);
    watch->ended = true;
    if (watch->stopped) return;
    watch->loop->Post([watch] {
      std::function<void()> completion;
      {
        std::lock_guard inner(watch->mutex);
        if (watch->stopped) return;
        watch->stopped = true;
        completion = std::move(watch->completion);
      }
      if (completion) completion();
    });
  };
  const std::vector<std::string> arguments(command.begin() + 1, command.end());
  if (!m_host.process.StartWatched(command.front(), arguments, file.parent_path().string(), onEnd)) {
    return kNotStarted;
  }
  // Watches that have ended leave the list as new ones come.
  std::erase_if(m_watches, [](const std::shared_ptr<Watch>& w) {
    std::lock_guard lock(w->mutex);
    return w->stopped;
  });
  m_watches.push_back(watch);
  return watch->id;
}

void LinkedApplications::Stop(WatchId id) {
  for (const auto& watch : m_watches) {
    if (watch->id != id) continue;
    std::lock_guard lock(watch->mutex);
    watch->stopped = true;
    watch->completion = nullptr;
  }
}

std::size_t LinkedApplications::Watching() const {
  return static_cast<std::size_t>(std::count_if(m_watches.begin(), m_watches.end(), [](const auto& w) {
    std::lock_guard lock(w->mutex);
    return !w->stopped && !w->ended;
  }));
}

}  // namespace tarn::app
