#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace vantrel::testing {

// What one run of vantrel-cli printed and how it ended.
struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};

inline std::string Slurp(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// A file name of this test process: ctest runs tests in parallel processes.
inline std::string TestFile(const std::string& name) {
  return ::testing::TempDir() + "/" + std::to_string(::getpid()) + "_" + name;
}

// Runs the built vantrel-cli (VANTREL_CLI_PATH) with `args`; `input` is the shell's
// redirection of its standard input.
inline CliRun RunCli(const std::string& args, const std::string& input = "</dev/null") {
  // ctest runs tests in parallel processes: the files are named for this one.
  const std::string stem = ::testing::TempDir() + "/cli_" + std::to_string(::getpid());
  const std::string out = stem + ".out";
  const std::string err = stem + ".err";
  const std::string command =
      std::string(VANTREL_CLI_PATH) + " " + args + " >" + out + " 2>" + err + " " + input;
  const int raw = std::system(command.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Slurp(out), Slurp(err)};
}

}  // namespace vantrel::testing
