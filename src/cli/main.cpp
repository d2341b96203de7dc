// vantrel-cli: every printer operation from a terminal, through the same dispatcher as the app.
#include <CLI/CLI.hpp>
#include <iostream>

#include "cli/cli_commands.h"
#include "cli/cli_context.h"

int main(int argc, char** argv) {
  using namespace vantrel::cli;
  CliContext context;
  CLI::App app("Service tool for thermal label printers", "vantrel-cli");
  app.fallthrough();
  app.require_subcommand(1);
  app.footer(
      "Exit status: 0 success; 1..5 the operation's result (its message on stderr);\n"
      "6 refused before anything was sent; 64 usage error.\n"
      "Example: vantrel-cli -i net --host 192.0.2.10 status --json");
  AddLinkOptions(app, context.link_options());
  AddStatusCommands(app, context);
  AddPortsCommand(app, context);
  AddConfigCommands(app, context);
  AddNetCommands(app, context);
  AddClockCommands(app, context);
  AddUtilityCommands(app, context);
  AddDoctorCommand(app, context);
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
