// `vantrel-cli files download` of a 64 MiB file to the simulated printer over loopback TCP, as a
// whole process, against a plain copy program sending the same bytes (the DOWNLOAD header and
// the file) to the same printer. Prints both throughputs, their ratio and the peak resident
// memory of the command-line tool against the file's size. The printer runs as a process of
// its own: a child forked from a process holding its memory would count that memory as its own.
// Usage: files_download_bench [ROUNDS]
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kFileBytes = std::size_t{64} << 20;

struct RunResult {
  double seconds = 0;
  long max_rss_kb = 0;
  bool ok = false;
};

// Runs a program to its end; its wall time and its peak resident memory.
RunResult RunProcess(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int null_fd = ::open("/dev/null", O_WRONLY);
    ::dup2(null_fd, STDOUT_FILENO);
    ::execv(argv[0], argv.data());
    std::_Exit(127);
  }
  int status = 0;
  rusage usage{};
  if (pid < 0 || ::wait4(pid, &status, 0, &usage) != pid) return {};
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  return {elapsed.count(), usage.ru_maxrss, WIFEXITED(status) && WEXITSTATUS(status) == 0};
}

void WriteFile(const std::filesystem::path& path, const std::string& head,
               const std::vector<char>& body) {
  std::ofstream file(path, std::ios::binary);
  file.write(head.data(), static_cast<std::streamsize>(head.size()));
  file.write(body.data(), static_cast<std::streamsize>(body.size()));
}

// The simulated printer program with a FLASH that takes the file; its pid and TCP port.
struct SimProcess {
  pid_t pid = -1;
  std::string port;
};

SimProcess StartPrinter(const std::filesystem::path& profile) {
  std::ofstream(profile) << R"({"memory": {"flash": {"physical": 1048576}}})";
  int pipe_fds[2];
  if (::pipe(pipe_fds) != 0) return {};
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(pipe_fds[1], STDOUT_FILENO);
    ::execl(VANTREL_PRINTER_SIM, VANTREL_PRINTER_SIM, "--port", "0", "--log", "/dev/null",
            "--profile", profile.c_str(), static_cast<char*>(nullptr));
    std::_Exit(127);
  }
  ::close(pipe_fds[1]);
  // "listening on 127.0.0.1:PORT"
  std::string line;
  char c = 0;
  while (::read(pipe_fds[0], &c, 1) == 1 && c != '\n') line.push_back(c);
  ::close(pipe_fds[0]);
  const std::size_t colon = line.rfind(':');
  if (pid < 0 || colon == std::string::npos) return {};
  return {pid, line.substr(colon + 1)};
}

struct Timings {
  double process = 1e9;    // until the sending process has ended
  double delivered = 1e9;  // until the printer has taken every byte
  long max_rss_kb = 0;
};

double MibPerSecond(double seconds) {
  return static_cast<double>(kFileBytes) / (1 << 20) / seconds;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 5;
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("vantrel-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  std::vector<char> body(kFileBytes);
  for (std::size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>(i * 131);
  const std::string header = "DOWNLOAD F,\"BIG.DAT\"," + std::to_string(kFileBytes) + ",";
  WriteFile(dir / "big.dat", {}, body);
  WriteFile(dir / "stream.bin", header, body);
  body = {};

  const SimProcess printer = StartPrinter(dir / "profile.json");
  if (printer.pid < 0) return 1;
  const std::string& port = printer.port;

  // A sender's process may end while its last megabytes still wait in the socket buffers, so
  // each run is also timed until the printer has taken them all and answers the next question.
  const std::vector<std::string> list = {VANTREL_CLI, "-i", "net",   "--host", "127.0.0.1",
                                         "--port",    port, "files", "list"};
  const auto timed = [&](const std::vector<std::string>& args, Timings& timings) {
    const RunResult run = RunProcess(args);
    const RunResult settled = RunProcess(list);
    timings.process = std::min(timings.process, run.seconds);
    timings.delivered = std::min(timings.delivered, run.seconds + settled.seconds);
    timings.max_rss_kb = std::max(timings.max_rss_kb, run.max_rss_kb);
    return run.ok && settled.ok;
  };
  RunProcess(list);
  Timings copy;
  Timings cli;
  for (int round = 0; round < rounds; ++round) {
    const bool ok =
        timed({VANTREL_PLAIN_COPY, "127.0.0.1", port, (dir / "stream.bin").string()}, copy) &&
        timed({VANTREL_CLI, "-i", "net", "--host", "127.0.0.1", "--port", port, "files", "download",
               (dir / "big.dat").string(), "--name", "BIG.DAT"},
              cli);
    if (!ok) {
      std::fprintf(stderr, "round %d failed\n", round);
      break;
    }
  }
  ::kill(printer.pid, SIGTERM);
  ::waitpid(printer.pid, nullptr, 0);
  std::filesystem::remove_all(dir);
  std::printf("best of %d          process ends   printer has all bytes\n", rounds);
  std::printf("plain copy        %8.1f MiB/s   %8.1f MiB/s\n", MibPerSecond(copy.process),
              MibPerSecond(copy.delivered));
  std::printf("files download    %8.1f MiB/s   %8.1f MiB/s\n", MibPerSecond(cli.process),
              MibPerSecond(cli.delivered));
  std::printf("ratio             %8.3f        %8.3f (target >= 0.9)\n", copy.process / cli.process,
              copy.delivered / cli.delivered);
  const long cli_rss_kb = cli.max_rss_kb;
  const auto rss_bytes = static_cast<double>(cli_rss_kb) * 1024.0;
  std::printf("peak resident     %8.1f MiB = %.2f x the file (target < 2)\n", rss_bytes / (1 << 20),
              rss_bytes / static_cast<double>(kFileBytes));
  return 0;
}
