// Running programs on a POSIX system.
#include "platform/posixprocess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

extern char** environ;

namespace tarn::platform {
namespace {

// A slice of the wait: short enough for a window to stay responsive.
constexpr int kPollSlice = 50;
// What a program gets between the polite request to stop and the kill.
constexpr int kStopGrace = 500;

class Fd {
 public:
  explicit Fd(int fd = -1) : m_fd(fd) {}
  ~Fd() { Close(); }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int Get() const { return m_fd; }
  void Reset(int fd) {
    Close();
    m_fd = fd;
  }
  void Close() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
  }

 private:
  int m_fd;
};

struct Pipe {
  Fd read;
  Fd write;
  bool Open() {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return false;
    read.Reset(fds[0]);
    write.Reset(fds[1]);
    return true;
  }
};

// argv for posix_spawn: the program first, then the arguments, then null.
std::vector<char*> Argv(const std::string& program, const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  return argv;
}

class SpawnActions {
 public:
  SpawnActions() { posix_spawn_file_actions_init(&m_actions); }
  ~SpawnActions() { posix_spawn_file_actions_destroy(&m_actions); }
  SpawnActions(const SpawnActions&) = delete;
  SpawnActions& operator=(const SpawnActions&) = delete;
  posix_spawn_file_actions_t* Get() { return &m_actions; }

 private:
  posix_spawn_file_actions_t m_actions;
};

bool Executable(const std::string& path) { return ::access(path.c_str(), X_OK) == 0; }

// Reads what is there; false at end of file or on an error.
bool Drain(int fd, std::string& into) {
  std::array<char, 4096> buffer;
  const ssize_t n = ::read(fd, buffer.data(), buffer.size());
  if (n > 0) {
    into.append(buffer.data(), static_cast<std::size_t>(n));
    return true;
  }
  return n < 0 && (errno == EINTR || errno == EAGAIN);
}

int ExitCodeOf(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  return 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}

}  // namespace

std::string PosixProcess::FindProgram(const std::string& name) {
  if (name.empty()) return {};
  if (name.find('/') != std::string::npos) return Executable(name) ? name : std::string();
  const char* path = std::getenv("PATH");
  std::string folders = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= folders.size()) {
    std::size_t end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    const std::string_view folder = std::string_view(folders).substr(start, end - start);
    const std::string candidate = (std::filesystem::path(folder.empty() ? std::string_view(".") : folder) / name).string();
    if (Executable(candidate)) return candidate;
    start = end + 1;
  }
  return {};
}

ProcessResult PosixProcess::Run(const std::string& program, const std::vector<std::string>& arguments, int timeoutMs,
                                const std::function<void()>& whileWaiting) {
  ProcessResult result;
  Pipe out;
  Pipe err;
  if (!out.Open() || !err.Open()) return result;
  SpawnActions actions;
  posix_spawn_file_actions_adddup2(actions.Get(), out.write.Get(), STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(actions.Get(), err.write.Get(), STDERR_FILENO);
  posix_spawn_file_actions_addopen(actions.Get(), STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  std::vector<char*> argv = Argv(program, arguments);
  pid_t pid = 0;
  if (posix_spawnp(&pid, program.c_str(), actions.Get(), nullptr, argv.data(), environ) != 0) return result;
  result.started = true;
  out.write.Close();
  err.write.Close();

  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(0, timeoutMs));
  bool outOpen = true;
  bool errOpen = true;
  int status = 0;
  bool reaped = false;
  while (true) {
    if (!outOpen && !errOpen) {
      // Both pipes closed: the program has ended or closed them; wait for
      // its end in slices so that the deadline still holds.
      const pid_t done = ::waitpid(pid, &status, WNOHANG);
      if (done == pid) {
        reaped = true;
        break;
      }
    }
    const auto now = std::chrono::steady_clock::now();
    if (now >= deadline) break;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now).count();
    std::array<pollfd, 2> fds{pollfd{outOpen ? out.read.Get() : -1, POLLIN, 0},
                              pollfd{errOpen ? err.read.Get() : -1, POLLIN, 0}};
    const int ready = ::poll(fds.data(), fds.size(), static_cast<int>(std::min<long long>(left, kPollSlice)));
    if (ready > 0) {
      if (outOpen && (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0) outOpen = Drain(out.read.Get(), result.output);
      if (errOpen && (fds[1].revents & (POLLIN | POLLHUP | POLLERR)) != 0) errOpen = Drain(err.read.Get(), result.errors);
    }
    if (whileWaiting) whileWaiting();
  }
  if (!reaped) {
    // Out of time: asked to stop, then killed.
    ::kill(pid, SIGTERM);
    const auto grace = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStopGrace);
    while (::waitpid(pid, &status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() >= grace) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return result;
  }
  result.finished = true;
  result.exitCode = ExitCodeOf(status);
  return result;
}

namespace {

// Spawns the program in a session of its own (closing this program's
// terminal does not end it), standard input from /dev/null; 0 when it
// could not be started.
pid_t SpawnDetached(const std::string& program, const std::vector<std::string>& arguments,
                    const std::string& workingFolder) {
  SpawnActions actions;
  posix_spawn_file_actions_addopen(actions.Get(), STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  if (!workingFolder.empty()) posix_spawn_file_actions_addchdir_np(actions.Get(), workingFolder.c_str());
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
  std::vector<char*> argv = Argv(program, arguments);
  pid_t pid = 0;
  const int error = posix_spawnp(&pid, program.c_str(), actions.Get(), &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  return error == 0 ? pid : 0;
}

// Nobody else waits for a detached program: a thread collects its exit
// status (so that it does not linger as a zombie) and reports it.
void WatchInBackground(pid_t pid, std::function<void(int exitCode)> ended) {
  std::thread([pid, ended = std::move(ended)] {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (ended) ended(ExitCodeOf(status));
  }).detach();
}

}  // namespace

bool PosixProcess::StartDetached(const std::string& program, const std::vector<std::string>& arguments,
                                 const std::string& workingFolder) {
  const pid_t pid = SpawnDetached(program, arguments, workingFolder);
  if (pid == 0) return false;
  WatchInBackground(pid, {});
  return true;
}

bool PosixProcess::StartWatched(const std::string& program, const std::vector<std::string>& arguments,
                                const std::string& workingFolder, std::function<void(int exitCode)> ended) {
  const pid_t pid = SpawnDetached(program, arguments, workingFolder);
  if (pid == 0) return false;
  WatchInBackground(pid, std::move(ended));
  return true;
}

}  // namespace tarn::platform
