#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

extern char** environ;

namespace vantrel::testing {

// The built vantrel-cli (VANTREL_CLI_PATH) running beside the test, for what a test does to a
// run in progress: signals, a reader that goes away, a kill. Its standard output goes to
// `out`, or nowhere; the destructor kills and reaps a run still going.
class CliProcess {
 public:
  explicit CliProcess(std::vector<std::string> args, int out = -1) {
    args.insert(args.begin(), VANTREL_CLI_PATH);
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (out >= 0) {
      posix_spawn_file_actions_adddup2(&actions, out, STDOUT_FILENO);
    } else {
      posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    }
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
  }
  ~CliProcess() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    Wait();
  }
  CliProcess(const CliProcess&) = delete;
  CliProcess& operator=(const CliProcess&) = delete;

  bool started() const { return pid_ > 0; }
  void Signal(int signal) const { ::kill(pid_, signal); }

  // The wait status of the ended run.
  int Wait() {
    int status = -1;
    if (pid_ > 0 && ::waitpid(pid_, &status, 0) == pid_) pid_ = -1;
    return status;
  }

 private:
  pid_t pid_ = -1;
};

}  // namespace vantrel::testing
