#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "net/discovery.h"
#include "sim/sim_test_client.h"
#include "sim_program_options.h"

extern char** environ;

namespace vantrel::sim {
namespace {

using namespace std::chrono_literals;
using testing::TestClient;

// The simulator program with its stdout and stderr on one pipe; killed if a test fails early.
class SimProgram {
 public:
  // `launcher` runs before the program: a shell that sets its limits, for one.
  explicit SimProgram(std::vector<std::string> args, std::vector<std::string> launcher = {}) {
    args.insert(args.begin(), VANTREL_SIM_PROGRAM);
    args.insert(args.begin(), launcher.begin(), launcher.end());
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    int pipe_fds[2];
    if (::pipe(pipe_fds) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], STDERR_FILENO);
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

  // All lines until the program closes its output.
  std::string ReadRest() {
    std::string text;
    for (std::string line = ReadLine(); !line.empty(); line = ReadLine()) text += line;
    return text;
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

struct ListenPoint {
  std::string host;
  std::uint16_t port = 0;  // 0: no listening line
};

ListenPoint PointOfListeningLine(const std::string& line) {
  const std::string prefix = "listening on ";
  const std::size_t colon = line.rfind(':');
  if (line.rfind(prefix, 0) != 0 || colon == std::string::npos) return {};
  return {line.substr(prefix.size(), colon - prefix.size()),
          static_cast<std::uint16_t>(std::stoi(line.substr(colon + 1)))};
}

std::uint16_t PortOfListeningLine(const std::string& line) {
  const ListenPoint point = PointOfListeningLine(line);
  return point.host == "127.0.0.1" ? point.port : 0;
}

std::vector<ListenPoint> ReadListeningLines(SimProgram& program, std::size_t count) {
  std::vector<ListenPoint> points;
  for (std::size_t i = 0; i < count; ++i)
    points.push_back(PointOfListeningLine(program.ReadLine()));
  return points;
}

std::string FileText(const std::string& path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

TEST(SimProgramOptionsTest, ParsesDetailHex) {
  EXPECT_EQ(ParseDetailHex("00fF1a2B3c4D5e6F"),
            (DetailBytes{0x00, 0xFF, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E, 0x6F}));
  EXPECT_FALSE(ParseDetailHex("00112233445566"));
  EXPECT_FALSE(ParseDetailHex("001122334455667788"));
  EXPECT_FALSE(ParseDetailHex("0011223344556g77"));
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
  EXPECT_EQ(FileText(log_path), "<ESC>!?\n<ESC>!S<CR><LF>\nDIAGNOSTIC INTERFACE USB\n");
  std::remove(log_path.c_str());
}

// Each case stops before any printer is announced, with a message naming the trouble.
TEST(SimProgramTest, RefusesBadOptionsWithoutListening) {
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const Case cases[] = {
      {{"--detail", "0a0b"}, "16 hex digits"},
      {{"--count", "2", "--faulty", "3"}, "--faulty"},
      {{"--count", "2", "--consecutive-hosts", "--host", "::1"}, "127.0.0.0/8"},
      {{"--unstored", "NOSUCH"}, "NOSUCH"},
      {{"--count", "2", "--hosts-out", "/nonexistent-folder/hosts"}, "cannot write"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"--port", "0"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    SimProgram program(args);
    const std::string output = program.ReadRest();
    EXPECT_EQ(output.find("listening on"), std::string::npos) << output;
    EXPECT_NE(output.find(c.message), std::string::npos) << output;
    EXPECT_NE(program.Terminate(), 0);
  }
}

// A fleet whose listeners do not fit the open-file limit is refused before any printer serves;
// one whose clients do not all fit serves and says how many can be connected at once; a low
// soft limit alone is raised.
TEST(SimFleetProgramTest, TellsWhatTheOpenFileLimitAllowsAtStart) {
  struct Case {
    std::string limit;
    std::string count;
    std::string message;  // empty: nothing said
    bool serves;
  };
  const Case cases[] = {
      {"-n 150", "100",
       "cannot serve 100 printers: the open-file limit is 150, enough for at most "
       "43",
       false},
      {"-n 150", "60", "the open-file limit is 150: at most 26 of the 60 printers", true},
      {"-Sn 100", "60", "", true},
  };
  for (const Case& c : cases) {
    SimProgram program({"--count", c.count, "--port", "0"},
                       {"/bin/sh", "-c", "ulimit " + c.limit + " && exec \"$0\" \"$@\""});
    if (!c.message.empty()) {
      const std::string said = program.ReadLine();
      EXPECT_NE(said.find(c.message), std::string::npos) << said;
    }
    if (!c.serves) {
      EXPECT_NE(program.Terminate(), 0);
      continue;
    }
    const std::vector<ListenPoint> points = ReadListeningLines(program, std::stoul(c.count));
    EXPECT_NE(points.front().port, 0) << c.limit;
    EXPECT_NE(points.back().port, 0) << c.limit;
    EXPECT_EQ(program.Terminate(), 0);
  }
}

TEST(SimFleetProgramTest, EachPrinterAnswersAsItselfAndLogsToTheFileOnly) {
  const std::string log_path = ::testing::TempDir() + "sim_fleet_program_test.log";
  const std::string hosts_path = ::testing::TempDir() + "sim_fleet_program_test.hosts";
  SimProgram program({"--count", "3", "--port", "0", "--log", log_path, "--hosts-out", hosts_path});
  const std::vector<ListenPoint> points = ReadListeningLines(program, 3);
  std::string hosts;
  std::string log;
  for (std::size_t i = 0; i < points.size(); ++i) {
    ASSERT_EQ(points[i].host, "127.0.0.1");
    const std::string address = "127.0.0.1:" + std::to_string(points[i].port);
    const std::string number = "-000" + std::to_string(i + 1);
    const std::string answer = "SIM0000001" + number + "\r\n{16|SIM-PRINTER" + number + "}";
    TestClient client(points[i].port);
    ASSERT_TRUE(client.Send("OUT _SERIAL$\r\nDIAGNOSTIC REPORT NETNAME\r\n"));
    EXPECT_EQ(client.Read(answer.size()), answer);
    EXPECT_TRUE(client.Finish());
    hosts += address + '\n';
    log += address + " OUT _SERIAL$\n" + address + " DIAGNOSTIC REPORT NETNAME\n";
  }
  EXPECT_EQ(FileText(hosts_path), hosts);
  EXPECT_EQ(program.Terminate(), 0);
  EXPECT_EQ(program.ReadRest(), "");
  EXPECT_EQ(FileText(log_path), log);
  std::remove(log_path.c_str());
  std::remove(hosts_path.c_str());
}

// The fault options strike the last printer only; the reply delay holds for every printer.
TEST(SimFleetProgramTest, FaultsStrikeOnlyTheLastPrintersOnConsecutiveHosts) {
  SimProgram program({"--count", "3", "--consecutive-hosts", "--port", "0", "--faulty", "1",
                      "--refuse-connections", "--reply-delay", "200"});
  const std::vector<ListenPoint> points = ReadListeningLines(program, 3);
  for (std::size_t i = 0; i < points.size(); ++i) {
    EXPECT_EQ(points[i].host, "127.0.0." + std::to_string(i + 1));
    TestClient client(points[i].port, points[i].host);
    if (i == 2) {
      EXPECT_EQ(client.connect_error(), ECONNREFUSED);
      continue;
    }
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(client.Send("\x1b!?"));
    EXPECT_EQ(client.Read(1), std::string(1, '\0'));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 200ms);
    EXPECT_TRUE(client.Finish());
  }
  EXPECT_EQ(program.Terminate(), 0);
}

TEST(SimFleetProgramTest, DiscoveryFindsEveryPrinterAtItsOwnAddress) {
  SimProgram program({"--count", "2", "--consecutive-hosts", "--port", "0", "--udp-port", "0"});
  ReadListeningLines(program, 2);
  const std::string udp_line = program.ReadLine();
  const std::string prefix = "udp on 127.0.0.1:";
  ASSERT_EQ(udp_line.rfind(prefix, 0), 0u) << udp_line;
  DatagramTargets targets;
  targets.broadcast = {127, 0, 0, 1};
  targets.multicast.reset();
  targets.port = static_cast<std::uint16_t>(std::stoi(udp_line.substr(prefix.size())));
  targets.discovery_wait = 500ms;
  const DiscoveryOutcome outcome = RunDiscovery(targets, 1);
  ASSERT_EQ(outcome.rows.size(), 2u);
  EXPECT_EQ(outcome.rows[0].ip_address, "127.0.0.1");
  EXPECT_EQ(outcome.rows[0].printer_name, "SIM-PRINTER-0001");
  EXPECT_EQ(outcome.rows[0].mac, "02:11:22:33:44:5A");
  EXPECT_EQ(outcome.rows[1].ip_address, "127.0.0.2");
  EXPECT_EQ(outcome.rows[1].printer_name, "SIM-PRINTER-0002");
  EXPECT_EQ(outcome.rows[1].mac, "02:11:22:33:44:5B");
  EXPECT_EQ(program.Terminate(), 0);
}

}  // namespace
}  // namespace vantrel::sim
