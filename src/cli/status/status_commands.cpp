// probe, status, the four fixed control commands and send.
#include <iostream>
#include <vector>

#include "cli/common/commands.h"
#include "cli/common/json.h"
#include "cli/status/input_file.h"
#include "cli/status/status_json.h"
#include "ops/dispatcher.h"

namespace vantrel::cli {
namespace {

int PrintStatus(CliContext& context, bool json) {
  StatusFlags flags;
  const int code = context.Run(kOpQueryStatus, &flags);
  if (code != 0) return code;
  const nlohmann::json document = StatusJson(flags);
  if (json) {
    PrintJson(document);
    return 0;
  }
  const nlohmann::json& lit_captions = document["lit"];
  if (lit_captions.empty()) std::cout << "No status label is lit\n";
  for (const auto& caption : lit_captions) std::cout << caption.get<std::string>() << '\n';
  return 0;
}

void AddFixedCommand(CLI::App& app, CliContext& context, const std::string& name,
                     const std::string& help, int op) {
  app.add_subcommand(name, help)->callback([&context, op] {
    context.action = [&context, op] { return context.Run(op); };
  });
}

}  // namespace

void AddStatusCommands(CLI::App& app, CliContext& context) {
  app.add_subcommand("probe", "Open and close the link only: is the printer there?")
      ->callback([&context] {
        context.action = [&context] {
          const int code = context.Run(kOpProbeLink);
          if (code == 0) std::cout << "The link opens\n";
          return code;
        };
      });

  auto* status = app.add_subcommand("status", "Read the printer's status and show the lit labels");
  auto json = std::make_shared<bool>(false);
  status->add_flag("--json", *json, "print one JSON document");
  status->callback([&context, json] {
    context.action = [&context, json] { return PrintStatus(context, *json); };
  });

  AddFixedCommand(app, context, "factory-default", "Restore the printer's factory settings",
                  kOpFactoryDefault);
  AddFixedCommand(app, context, "config-page", "Print the configuration page",
                  kOpPrintConfigurationPage);
  AddFixedCommand(app, context, "reset", "Reset the printer", kOpResetPrinter);
  AddFixedCommand(app, context, "ignore-autobas", "Skip the start-up program AUTO.BAS once",
                  kOpIgnoreAutoBas);

  auto* send =
      app.add_subcommand("send", "Send a file's bytes unchanged ('-' reads standard input)");
  auto path = std::make_shared<std::string>();
  send->add_option("FILE", *path, "the file to send, or -")->required();
  send->callback([&context, path] {
    context.action = [&context, path] { return SendInputFile(context, *path); };
  });
}

}  // namespace vantrel::cli
