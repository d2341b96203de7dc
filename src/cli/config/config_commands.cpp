// config read / write / show: the printer's configuration and configuration files.
#include <iostream>
#include <memory>
#include <string>

#include "cli/common/commands.h"
#include "cli/common/json.h"
#include "cli/common/report.h"
#include "cli/config/config_diff.h"
#include "cli/config/config_document.h"
#include "cli/config/config_document_commands.h"
#include "cli/config/config_json.h"
#include "cli/config/config_text.h"
#include "cli/config/verified_write.h"
#include "config/config_file.h"
#include "ops/config_write_check.h"
#include "ops/dispatcher.h"
#include "ops/write_configuration.h"

namespace vantrel::cli {
namespace {

struct ConfigOptions {
  std::string out;
  std::string file;
  std::string unit = "inch";
  std::string block;
  bool json = false;
  bool verify = false;
  std::string backup;
};

void Print(const ConfigFileContents& contents, bool json, bool with_file_fields) {
  if (!json) {
    PrintConfigText(std::cout, contents.config, ShownUnit(contents.unit));
    return;
  }
  nlohmann::json document = ConfigJson(contents.config);
  if (with_file_fields) {
    document["unit"] = ShownUnit(contents.unit) == kUnitMm ? "mm" : "inch";
    nlohmann::json status = nlohmann::json::array();
    // A file may hold any byte there; each is a flag.
    for (const auto flag : contents.status.flags) status.push_back(flag != 0 ? 1 : 0);
    document["status"] = status;
  }
  PrintJson(document);
}

int ReadConfig(CliContext& context, const ConfigOptions& options) {
  ConfigFileContents contents;
  contents.unit = UnitNamed(options.unit);
  if (const int code = ReadPrinterConfig(context, contents.config); code != 0) return code;
  if (!options.out.empty()) {
    const ConfigFileResult saved = SaveConfigFile(options.out, contents);
    if (!saved.ok()) return Report(saved);
  }
  Print(contents, options.json, false);
  return 0;
}

// Reads the printer's configuration first, so that the page goes out at the printer's
// resolution, then reads it back and names the written items the printer does not hold.
// With a backup file, the configuration read is saved there first: a backup that cannot be
// saved writes nothing.
int WriteVerified(CliContext& context, const PrinterConfig& document, ConfigPage page,
                  const std::string& backup) {
  ConfigFileContents read;
  PageWritePlan plan;
  if (const int code = ReadAndPlan(context, document, page, read.config, plan); code != 0) {
    return code;
  }
  if (!backup.empty()) {
    if (const int code = Report(SaveConfigFile(backup, read)); code != 0) return code;
  }
  return WriteAndCheck(context, read.config, plan.document.config, page);
}

int WriteConfig(CliContext& context, const ConfigOptions& options) {
  ConfigFileContents contents;
  const ConfigFileResult loaded = LoadConfigDocument(options.file, contents);
  if (!loaded.ok()) return Report(loaded);
  const ConfigPage page = ConfigPageNamed(options.block).value_or(ConfigPage::kCommon);
  if (const std::string refusal = PageRefusal(contents.config, page, options.file);
      !refusal.empty()) {
    return Refuse(refusal);
  }
  if (options.verify) return WriteVerified(context, contents.config, page, options.backup);
  return context.Run(kOpWriteConfiguration, &contents.config, ConfigPageBlock(page));
}

int ShowConfig(const ConfigOptions& options) {
  ConfigFileContents contents;
  const ConfigFileResult loaded = LoadConfigDocument(options.file, contents);
  if (!loaded.ok()) return Report(loaded);
  Print(contents, options.json, true);
  return 0;
}

}  // namespace

void AddConfigCommands(CLI::App& app, CliContext& context) {
  auto options = std::make_shared<ConfigOptions>();
  auto* config =
      app.add_subcommand("config", "Read, write, show, compare and edit printer configurations");
  config->require_subcommand(1);

  auto* read = config->add_subcommand("read", "Read the printer's configuration");
  read->add_option("--out", options->out, "also save it as a configuration file")
      ->check([](const std::string& name) {
        return name.empty() ? std::string("--out needs a file name") : std::string();
      });
  read->add_option("--unit", options->unit, "unit of the shown and saved lengths")
      ->check(CLI::IsMember({"inch", "mm"}))
      ->capture_default_str();
  read->add_flag("--json", options->json, "print one JSON document");
  read->callback([&context, options] {
    context.action = [&context, options] { return ReadConfig(context, *options); };
  });

  auto* write = config->add_subcommand("write", "Send one block of a configuration file");
  write->add_option("FILE", options->file, "configuration file or its text")->required();
  write->add_option("--block", options->block, "the page to send: common, z or d")
      ->required()
      ->check(CLI::IsMember({"common", "z", "d"}));
  write->add_flag("--verify", options->verify,
                  "read the configuration back and compare the written items; an item that did "
                  "not take is named and the exit status is 3");
  write
      ->add_option("--backup", options->backup,
                   "with --verify, first save the configuration read to FILE; nothing is written "
                   "when it cannot be saved")
      ->type_name("FILE")
      ->needs("--verify");
  write->callback([&context, options] {
    context.action = [&context, options] { return WriteConfig(context, *options); };
  });

  auto* show = config->add_subcommand("show", "Show a configuration file without a printer");
  show->add_option("FILE", options->file, "configuration file or its text")->required();
  show->add_flag("--json", options->json, "print one JSON document");
  show->callback(
      [&context, options] { context.action = [options] { return ShowConfig(*options); }; });

  AddConfigDiffCommand(*config, context);
  AddConfigDocumentCommands(*config, context);
  AddConfigApplyCommand(*config, context);
}

}  // namespace vantrel::cli
