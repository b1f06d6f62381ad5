// A test server on loopback run as a child process: started with its
// arguments, its port read from the first line it prints, ended with the
// test.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "convert/aehconv.h"
#include "convert/listhtmltotx.h"

namespace tarn::publish::testing {

// The export file list of an export run that wrote `files`, rebuilt with
// every row checked: what a first publication sends.
inline convert::TAEHListHtmlToTx& ListEverything(convert::TAEHListHtmlToTx& list, convert::TAEHtoHtml& converter,
                                                 const convert::RecordList& files) {
  list.SetLinkedAEHtoHtml(&converter);
  list.FilesToList() = files;
  list.Reload();
  list.CheckAll(true);
  return list;
}

class LoopbackServer {
 public:
  explicit LoopbackServer(std::vector<std::string> arguments) {
    int out[2];
    if (::pipe(out) != 0) return;
    m_pid = ::fork();
    if (m_pid == 0) {
      ::dup2(out[1], STDOUT_FILENO);
      ::close(out[0]);
      ::close(out[1]);
      std::vector<char*> argv;
      for (std::string& a : arguments) argv.push_back(a.data());
      argv.push_back(nullptr);
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
    ::close(out[1]);
    FILE* in = ::fdopen(out[0], "r");
    char line[64] = {};
    if (in != nullptr && std::fgets(line, sizeof line, in) != nullptr) m_port = std::atoi(line);
    if (in != nullptr) std::fclose(in);
  }
  ~LoopbackServer() {
    if (m_pid > 0) {
      ::kill(m_pid, SIGTERM);
      ::waitpid(m_pid, nullptr, 0);
    }
  }
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  // 0 when the server did not start.
  int Port() const { return m_port; }

 private:
  pid_t m_pid = -1;
  int m_port = 0;
};

// Whether the system's Python has the FTP server library.
inline bool HavePyftpdlib() { return std::system("/usr/bin/python3 -c 'import pyftpdlib' 2>/dev/null") == 0; }

}  // namespace tarn::publish::testing
