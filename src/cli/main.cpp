// vantrel-cli: every printer operation from a terminal, through the same dispatcher as the app.
#include <CLI/CLI.hpp>
#include <csignal>
#include <iostream>

#include "cli/common/commands.h"
#include "cli/common/context.h"

int main(int argc, char** argv) {
  using namespace vantrel::cli;
  // A file size limit then fails the write with its own error instead of ending the program.
  std::signal(SIGXFSZ, SIG_IGN);
  CliContext context;
  CLI::App app("Service tool for thermal label printers", "vantrel-cli");
  app.fallthrough();
  app.require_subcommand(1);
  app.footer(
      "Exit status: 0 success; 1..5 the operation's result (its message on stderr);\n"
      "6 refused before anything was sent; 10 config diff found a difference;\n"
      "64 usage error. fleet: 0 every printer succeeded, 2 some failed, 1 none reached.\n"
      "Example: vantrel-cli -i net --host 192.0.2.10 status --json");
  AddLinkOptions(app, context.link_options());
  AddStatusCommands(app, context);
  AddPortsCommand(app, context);
  AddConfigCommands(app, context);
  AddNetCommands(app, context);
  AddFontCommands(app, context);
  AddClockCommands(app, context);
  AddUtilityCommands(app, context);
  AddDoctorCommand(app, context);
  AddFilesCommands(app, context);
  AddFleetCommand(app, context);
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
