// vantrel-cli: every printer operation from a terminal, through the same dispatcher as the app.
#include <CLI/CLI.hpp>
#include <csignal>
#include <iostream>

#include "cli/common/command_line.h"
#include "cli/common/context.h"

int main(int argc, char** argv) {
  using namespace vantrel::cli;
  // A file size limit then fails the write with its own error instead of ending the program.
  std::signal(SIGXFSZ, SIG_IGN);
  CliContext context;
  CLI::App app;
  DescribeCommandLine(app, context);
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    std::cerr << e.what() << "\nRun with --help for usage.\n";
    return kExitUsage;
  }
  if (const std::string refusal = context.PrepareLink(); !refusal.empty()) return Refuse(refusal);
  return context.action ? context.action() : kExitUsage;
}
