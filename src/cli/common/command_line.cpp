#include "cli/common/command_line.h"

#include "cli/common/commands.h"

namespace vantrel::cli {

void DescribeCommandLine(CLI::App& app, CliContext& context) {
  app.name("vantrel-cli");
  app.description("Service tool for thermal label printers");
  app.fallthrough();
  app.require_subcommand(1);
  app.footer(
      "Exit status: 0 success; 1..5 the operation's result (its message on stderr);\n"
      "6 refused before anything was sent; 10 config diff found a difference;\n"
      "64 usage error. fleet: 0 every printer succeeded, 2 some failed, 1 none reached,\n"
      "10 a plan would change some printer.\n"
      "Example: vantrel-cli -i net --host 192.0.2.10 status --json");
  AddLinkOptions(app, context.link_options());
  AddStatusCommands(app, context);
  AddPortsCommand(app, context);
  AddConfigCommands(app, context);
  AddDatagramCommands(app, context);
  AddNetSettingsCommands(app, context);
  AddFontCommands(app, context);
  AddClockCommands(app, context);
  AddUtilityCommands(app, context);
  AddDoctorCommand(app, context);
  AddFilesCommands(app, context);
  AddFleetCommand(app, context);
}

}  // namespace vantrel::cli
