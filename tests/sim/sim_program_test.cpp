#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "sim/sim_test_client.h"

extern char** environ;

namespace vantrel::sim {
namespace {

using namespace std::chrono_literals;
using testing::TestClient;

// The simulator program with its stdout on a pipe; killed if a test fails early.
class SimProgram {
 public:
  explicit SimProgram(std::vector<std::string> args) {
    args.insert(args.begin(), VANTREL_SIM_PROGRAM);
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    int pipe_fds[2];
    if (::pipe(pipe_fds) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipe_fds[0]);
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipe_fds[1]);
    output_ = ::fdopen(pipe_fds[0], "r");
  }
  ~SimProgram() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    if (output_ != nullptr) std::fclose(output_);
  }

  std::string ReadLine() {
    char line[256] = {};
    if (output_ == nullptr || std::fgets(line, sizeof line, output_) == nullptr) return "";
    return line;
  }

  // The exit code after SIGTERM, or -1 if it did not exit normally.
  int Terminate() {
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t pid_ = -1;
  std::FILE* output_ = nullptr;
};

std::uint16_t PortOfListeningLine(const std::string& line) {
  const std::string prefix = "listening on 127.0.0.1:";
  if (line.rfind(prefix, 0) != 0) return 0;
  return static_cast<std::uint16_t>(std::stoi(line.substr(prefix.size())));
}

TEST(SimProgramTest, ServesLogsAndStopsCleanlyOnSigterm) {
  const std::string log_path = ::testing::TempDir() + "sim_program_test.log";
  SimProgram program({"--port", "0", "--status-byte", "5", "--detail", "0a0b0c0d0e0f1011",
                      "--malformed-frames", "--log", log_path});
  const std::uint16_t port = PortOfListeningLine(program.ReadLine());
  ASSERT_NE(port, 0);
  TestClient client(port);
  ASSERT_TRUE(client.Send("\x1b!?\x1b!S\r\nDIAGNOSTIC INTERFACE USB\n"));
  EXPECT_EQ(client.Read(16), "\x05\x0a\x0b\x0c\x0d\x0e\x0f\x10\x11{2|USB}");
  EXPECT_TRUE(client.Finish());
  EXPECT_EQ(program.Terminate(), 0);
  std::ifstream log(log_path);
  std::stringstream text;
  text << log.rdbuf();
  EXPECT_EQ(text.str(), "<ESC>!?\n<ESC>!S<CR><LF>\nDIAGNOSTIC INTERFACE USB\n");
  std::remove(log_path.c_str());
}

TEST(SimProgramTest, RejectsABadDetailWithoutListening) {
  SimProgram program({"--port", "0", "--detail", "0a0b"});
  EXPECT_EQ(program.ReadLine(), "");
  EXPECT_NE(program.Terminate(), 0);
}

}  // namespace
}  // namespace vantrel::sim
