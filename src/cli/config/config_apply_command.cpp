// config apply: what a fleet's apply does, on the one printer of the link options.
#include <chrono>
#include <iostream>
#include <memory>
#include <string>

#include "cli/common/report.h"
#include "cli/config/config_diff.h"
#include "cli/config/config_document.h"
#include "cli/config/config_document_commands.h"
#include "cli/config/verified_write.h"
#include "cli/fleet/backup_folder.h"
#include "cli/fleet/fleet_file_names.h"
#include "cli/fleet/planned_changes.h"
#include "config/config_file.h"
#include "ops/config_write_check.h"

namespace vantrel::cli {
namespace {

struct ApplyOptions {
  std::string file;
  std::string block = "common";
  bool plan = false;
  std::string backup_dir;
};

// The configuration read, saved before the write: in the backup folder, by serial number.
int SaveBackup(const ConfigFileContents& read, const std::string& backup_dir) {
  std::filesystem::path folder;
  if (const int code =
          Report(MakeBackupFolder(backup_dir, std::chrono::system_clock::now(), folder));
      code != 0) {
    return code;
  }
  std::filesystem::path file;
  if (const int code =
          Report(FleetFileNames(folder).Claim(TextView(read.config.SerialNo), "printer", file));
      code != 0) {
    return code;
  }
  if (const int code = Report(SaveConfigFile(file, read)); code != 0) return code;
  std::cout << "Backup: " << file.string() << '\n';
  return 0;
}

int ApplyConfig(CliContext& context, const ApplyOptions& options) {
  ConfigDocument given;
  if (const int code = Report(ReadConfigDocument(options.file, given)); code != 0) return code;
  const ConfigFileContents& document = given.contents;
  const ConfigPage page = ConfigPageNamed(options.block).value_or(ConfigPage::kCommon);
  if (const std::string refusal = PageRefusal(document.config, page, options.file);
      !refusal.empty()) {
    return Refuse(refusal);
  }
  ConfigFileContents read;
  PageWritePlan plan;
  if (const int code = ReadAndPlan(context, document.config, page, read.config, plan); code != 0) {
    return code;
  }
  const std::vector<PlannedChange> changes =
      PlannedChanges(plan.changes, read.config, plan.document.config, given.unit);
  if (options.plan || changes.empty()) {
    for (const PlannedChange& change : changes) {
      std::cout << PlannedChangeText(change) << '\n';
    }
    if (changes.empty()) std::cout << "Nothing to change\n";
    return changes.empty() ? 0 : kExitDiffers;
  }
  if (const int code = SaveBackup(read, options.backup_dir); code != 0) return code;
  return WriteAndCheck(context, read.config, plan.document.config, page);
}

}  // namespace

void AddConfigApplyCommand(CLI::App& config, CliContext& context) {
  auto options = std::make_shared<ApplyOptions>();
  auto* apply = config.add_subcommand(
      "apply",
      "Write a page of a document at the printer's resolution when it changes something: the "
      "configuration read is backed up first, and the page is read back and verified");
  apply->add_option("FILE", options->file, "configuration file or its text")->required();
  apply->add_option("--block", options->block, "the page: common, z or d")
      ->check(CLI::IsMember({"common", "z", "d"}))
      ->capture_default_str();
  apply->add_flag("--plan", options->plan,
                  "write nothing: list each item that would change, old -> new; exit status 10 "
                  "when something would change, 0 when nothing would");
  apply
      ->add_option("--backup-dir", options->backup_dir,
                   "where the configuration read is saved as SERIAL.dcf before the write "
                   "(default: a folder named by the time under "
                   "$XDG_STATE_HOME/vantrel/backups); nothing is written when it cannot be "
                   "saved")
      ->type_name("DIR");
  apply->callback([&context, options] {
    context.action = [&context, options] { return ApplyConfig(context, *options); };
  });
}

}  // namespace vantrel::cli
