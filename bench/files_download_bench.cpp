// `vantrel-cli files download` of a 64 MiB file to the simulated printer over loopback TCP, as a
// whole process, against a plain copy program sending the same bytes (the DOWNLOAD header and
// the file) to the same printer. Prints both throughputs, their ratio and the peak resident
// memory of the command-line tool against the file's size.
// Usage: files_download_bench [ROUNDS]
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

#include "sim_printer.h"
#include "sim_tcp_server.h"

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

  vantrel::sim::SimState state;
  state.memory.memories[1] = {1 << 20, 1 << 20, {}};  // a FLASH that takes the file
  vantrel::sim::SimPrinter printer(state);
  // The printer keeps no copy of the stream: only the stored file counts.
  vantrel::sim::SimTcpServer server(printer, 0);
  if (!server.Start()) return 1;
  const std::string port = std::to_string(server.port());

  double best_cli = 1e9;
  double best_copy = 1e9;
  long cli_rss_kb = 0;
  for (int round = 0; round < rounds; ++round) {
    const RunResult copy =
        RunProcess({VANTREL_PLAIN_COPY, "127.0.0.1", port, (dir / "stream.bin").string()});
    const RunResult cli =
        RunProcess({VANTREL_CLI, "-i", "net", "--host", "127.0.0.1", "--port", port, "files",
                    "download", (dir / "big.dat").string(), "--name", "BIG.DAT"});
    if (!copy.ok || !cli.ok) {
      std::fprintf(stderr, "round %d failed\n", round);
      return 1;
    }
    best_copy = std::min(best_copy, copy.seconds);
    best_cli = std::min(best_cli, cli.seconds);
    cli_rss_kb = std::max(cli_rss_kb, cli.max_rss_kb);
  }
  std::filesystem::remove_all(dir);
  std::printf("plain copy        %8.1f MiB/s (best of %d)\n", MibPerSecond(best_copy), rounds);
  std::printf("files download    %8.1f MiB/s (best of %d)\n", MibPerSecond(best_cli), rounds);
  std::printf("ratio             %8.3f (target >= 0.9)\n", best_copy / best_cli);
  const auto rss_bytes = static_cast<double>(cli_rss_kb) * 1024.0;
  std::printf("peak resident     %8.1f MiB = %.2f x the file (target < 2)\n", rss_bytes / (1 << 20),
              rss_bytes / static_cast<double>(kFileBytes));
  return 0;
}
