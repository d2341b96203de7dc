// fleet: one operation on many network printers at once, with one report.
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <iostream>
#include <memory>
#include <tuple>

#include "cli/clock/clock_text.h"
#include "cli/common/commands.h"
#include "cli/common/decimal_integer.h"
#include "cli/common/report.h"
#include "cli/config/config_diff.h"
#include "cli/config/config_document.h"
#include "cli/files/file_download.h"
#include "cli/fleet/backup_folder.h"
#include "cli/fleet/fleet_identity_job.h"
#include "cli/fleet/fleet_jobs.h"
#include "cli/fleet/fleet_report_file.h"
#include "common/host_file.h"
#include "config/config_file.h"

namespace vantrel::cli {
namespace {

constexpr std::size_t kMaxHostsFileBytes = std::size_t{16} * 1024 * 1024;
// A report carries what was read from each printer: more a line than a hosts file.
constexpr std::size_t kMaxRetryReportBytes = std::size_t{64} * 1024 * 1024;

struct FleetOptions {
  std::string hosts;
  bool discover = false;
  std::vector<std::string> subnets;
  std::size_t parallel = 32;
  bool json = false;
  std::string report;
  int wait_ms = 0;
  std::string retry;
  std::size_t canary = 0;
  std::size_t max_failures = 0;
  // The operation's own.
  std::string out_dir;
  std::string file;
  std::string block;
  bool plan = false;
  std::string backup_dir;
  std::string when;
  std::vector<std::string> files;
  DownloadOptions download;
  std::string csv;  // identity: the inventory's file, "-" for standard output
};

// The printers a hosts file or an earlier report names, resolved.
int ReadTargets(const FleetOptions& options, std::vector<FleetTarget>& targets) {
  const bool retry = !options.retry.empty();
  const std::string& path = retry ? options.retry : options.hosts;
  std::vector<std::uint8_t> bytes;
  if (const HostFileResult read =
          ReadHostFile(path, retry ? kMaxRetryReportBytes : kMaxHostsFileBytes, bytes);
      !read.ok()) {
    return Report(read);
  }
  const std::string text(bytes.begin(), bytes.end());
  if (std::string refusal = retry ? ParseRetryText(text, targets) : ParseHostsText(text, targets);
      !refusal.empty()) {
    return Refuse(path + ": " + refusal);
  }
  if (targets.empty()) {
    return Refuse(path + (retry ? " lists no failed or unreachable printer" : " names no printer"));
  }
  ResolveTargets(targets);
  return 0;
}

// The printers to work on, or the exit status of the failure to find them.
int FindTargets(const FleetOptions& options, std::vector<FleetTarget>& targets) {
  if (options.discover) {
    std::vector<Ipv4Bytes> broadcasts;
    for (const std::string& subnet : options.subnets) {
      const std::optional<Ipv4Bytes> broadcast = SubnetBroadcast(subnet);
      if (!broadcast) {
        return Refuse("--subnet \"" + subnet +
                      "\" is not ADDRESS/BITS with an IPv4 address and 0..30 bits");
      }
      broadcasts.push_back(*broadcast);
    }
    DiscoveredFleet fleet = DiscoverFleet(broadcasts);
    if (!fleet.failure.ok()) return Report(fleet.failure);
    if (fleet.targets.empty()) {
      std::cerr << "No printer answered the discovery\n";
      return kFleetNoneReached;
    }
    targets = std::move(fleet.targets);
    return 0;
  }
  return ReadTargets(options, targets);
}

// The report file's folder must exist before any printer is touched.
int CheckReportTarget(const std::string& report) {
  if (report.empty()) return 0;
  const std::filesystem::path parent = std::filesystem::path(report).parent_path();
  std::error_code error;
  if (parent.empty() || std::filesystem::is_directory(parent, error)) return 0;
  return Report(HostFileResult{HostFileError::kOpen, 0, "no folder " + parent.string()});
}

// The identity's inventory as CSV, when asked for; written whole or not at all.
int WriteInventory(const std::string& csv, const std::vector<FleetResult>& results) {
  if (csv.empty()) return 0;
  const std::string text = FleetCsv(results, IdentityKeys());
  if (csv == "-") {
    std::cout << text << std::flush;
    return 0;
  }
  return Report(ReplaceHostFile(
      csv, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size())));
}

// `canary_passed` is what a canary printer must end as for the others to start.
int RunFleetOperation(const FleetOptions& options, const FleetJob& job,
                      CanaryRule canary_passed = FleetSucceeded) {
  if (const int code = CheckReportTarget(options.report); code != 0) return code;
  std::vector<FleetTarget> targets;
  if (const int code = FindTargets(options, targets); code != 0) return code;
  FleetReportFile report;
  if (!options.report.empty()) {
    if (const int code = Report(report.Open(options.report)); code != 0) return code;
  }
  // A reader of the output that goes away stops the run (RunFleet counts SIGPIPE); the writes
  // after it fail quietly, and the report is still written whole.
  std::signal(SIGPIPE, SIG_IGN);
  FleetRunSettings settings;
  settings.parallel = options.parallel;
  settings.progress = ::isatty(STDERR_FILENO) == 1;
  settings.read_wait = std::chrono::milliseconds(options.wait_ms);
  settings.canary = options.canary;
  settings.canary_passed = canary_passed;
  settings.max_failures = options.max_failures;
  settings.on_result = [&options, &report](const FleetResult& result) {
    const std::string line = FleetResultLine(result);
    report.Append(line);
    if (options.json) std::cout << line << '\n' << std::flush;
  };
  const FleetRunEnd end = RunFleet(targets, job, settings);
  FleetSummary summary = Summarize(end.results, end.not_started, end.interrupted, end.ms);
  summary.stopped = end.stopped;
  report.Append(FleetSummaryLine(summary));
  const HostFileResult written = report.Close();
  if (options.json) {
    std::cout << FleetSummaryLine(summary) << '\n';
  } else if (options.csv != "-") {
    PrintFleetTable(std::cout, end.results, summary);
  }
  if (const int code = Report(written); code != 0) return code;
  if (const int code = WriteInventory(options.csv, end.results); code != 0) return code;
  const bool would_change = std::any_of(end.results.begin(), end.results.end(), [](const auto& r) {
    return r.outcome == FleetOutcome::kChanged;
  });
  const int status = FleetExitStatus(summary);
  // A plan tells, as `config diff` does, whether anything would change.
  return status == 0 && options.plan && would_change ? kExitDiffers : status;
}

// The write of --block and --plan; with a folder for the backups unless it is a plan.
void PrepareWrite(const FleetOptions& options, ConfigWrite& write) {
  write.pages = ConfigPagesNamed(options.block);
  write.plan = options.plan;
  if (options.plan) return;
  write.backups = std::make_shared<FleetFileNames>(
      [given = options.backup_dir, now = std::chrono::system_clock::now()](
          std::filesystem::path& folder) { return MakeBackupFolder(given, now, folder); });
}

// A canary printer that was written but could not be checked proves nothing.
CanaryRule WriteCanaryRule(const FleetOptions& options) {
  return options.plan ? FleetSucceeded : FleetVerified;
}

int ReadIdentities(const FleetOptions& options) {
  if (options.csv == "-" && options.json) {
    std::cerr << "--csv - and --json would both write to standard output\n";
    return kExitUsage;
  }
  if (options.csv != "-") {
    if (const int code = CheckReportTarget(options.csv); code != 0) return code;
  }
  return RunFleetOperation(options, IdentityJob());
}

int ApplyConfig(const FleetOptions& options) {
  ConfigDocument document;
  if (const int code = Report(ReadConfigDocument(options.file, document)); code != 0) return code;
  const ConfigFileContents& contents = document.contents;
  const ConfigPage page = ConfigPageNamed(options.block).value_or(ConfigPage::kCommon);
  if (std::string refusal = PageRefusal(contents.config, page, options.file); !refusal.empty()) {
    return Refuse(refusal);
  }
  ConfigWrite write;
  write.unit = document.unit;
  PrepareWrite(options, write);
  return RunFleetOperation(options, ConfigApplyJob(contents.config, std::move(write)),
                           WriteCanaryRule(options));
}

int RestoreConfigs(const FleetOptions& options) {
  std::error_code error;
  if (!std::filesystem::is_directory(options.file, error)) {
    return Report(HostFileResult{HostFileError::kOpen, 0, "no folder " + options.file});
  }
  ConfigWrite write;
  PrepareWrite(options, write);
  return RunFleetOperation(options, ConfigRestoreJob(options.file, std::move(write)),
                           WriteCanaryRule(options));
}

int ReadConfigs(const FleetOptions& options) {
  std::error_code error;
  std::filesystem::create_directory(options.out_dir, error);
  if (!std::filesystem::is_directory(options.out_dir, error)) {
    return Report(HostFileResult{HostFileError::kOpen, 0, "cannot make folder " + options.out_dir});
  }
  return RunFleetOperation(options,
                           ConfigReadJob(std::make_shared<FleetFileNames>(options.out_dir)));
}

int DownloadFiles(const FleetOptions& options) {
  if (!options.download.name.empty() && options.files.size() > 1) {
    std::cerr << "--name names one file; " << options.files.size() << " were given\n";
    return kExitUsage;
  }
  std::vector<PreparedDownload> downloads(options.files.size());
  for (std::size_t i = 0; i < downloads.size(); ++i) {
    if (const int code = PrepareDownload(options.files[i], options.download, downloads[i]);
        code != 0) {
      return code;
    }
  }
  return RunFleetOperation(options, FilesDownloadJob(std::move(downloads), options.download));
}

void AddTargetOptions(CLI::App& fleet, FleetOptions& options) {
  auto* hosts = fleet
                    .add_option("--hosts", options.hosts,
                                "file of printers: one ADDRESS[:PORT] or name a line, # comments")
                    ->type_name("FILE");
  auto* discover = fleet.add_flag("--discover", options.discover,
                                  "work on the printers that answer a discovery");
  auto* retry = fleet
                    .add_option("--retry", options.retry,
                                "work on the printers an earlier --report (or saved --json "
                                "output) lists as failed or unreachable")
                    ->type_name("REPORT");
  hosts->excludes(discover);
  retry->excludes(hosts)->excludes(discover);
  fleet
      .add_option("--subnet", options.subnets,
                  "with --discover, also a directed broadcast to this ADDRESS/BITS (repeatable)")
      ->type_name("CIDR")
      ->needs(discover);
  fleet.add_option("--parallel", options.parallel, "printers worked on at once")
      ->type_name("N")
      ->transform(DecimalCount())
      ->check(CLI::Range(1, 1024))
      ->capture_default_str();
  for (const auto& [name, count, help] :
       {std::tuple{"--canary", &options.canary,
                   "work on the first N printers first, and on the others only when each of "
                   "them succeeded (config apply and restore: verified or unchanged)"},
        std::tuple{"--max-failures", &options.max_failures,
                   "start no printer once N have failed or were unreachable"}}) {
    fleet.add_option(name, *count, help)
        ->type_name("N")
        ->transform(DecimalCount())
        ->check(CLI::PositiveNumber);
  }
  fleet.add_flag("--json", options.json, "one JSON line per printer, then a summary line");
  fleet.add_option("--report", options.report, "also write the JSON lines to FILE")
      ->type_name("FILE");
  fleet
      .add_option("--wait", options.wait_ms,
                  "milliseconds of silence after which a printer's answer counts as missing "
                  "(default: the network link's)")
      ->type_name("MS")
      ->transform(DecimalInteger())
      ->check(CLI::Range(1, 600000));
  fleet.callback([&options] {
    if (options.hosts.empty() && !options.discover && options.retry.empty()) {
      throw CLI::RequiredError("fleet needs --hosts FILE, --discover or --retry REPORT");
    }
  });
}

void AddWriteOptions(CLI::App& command, FleetOptions& options) {
  command.add_flag("--plan,--dry-run", options.plan,
                   "write nothing; report each item a write would change, old -> new; exit 10 "
                   "when some printer would change, 0 when none would");
  command
      .add_option("--backup-dir", options.backup_dir,
                  "save each printer's configuration as read to DIR/SERIAL.dcf before its first "
                  "write (default: $XDG_STATE_HOME/vantrel/backups/<UTC time>)")
      ->type_name("DIR");
}

void AddConfigOperations(CLI::App& fleet, const std::shared_ptr<FleetOptions>& options,
                         CliContext& context) {
  auto* config = fleet.add_subcommand("config", "Read or apply configurations");
  config->require_subcommand(1);
  auto* read = config->add_subcommand(
      "read",
      "Save each printer's configuration in a folder as SERIAL.dcf (ADDRESS_PORT.dcf for a "
      "printer without a serial number; a second printer of one serial number adds its "
      "address)");
  read->add_option("--out-dir", options->out_dir, "the folder (made when missing)")->required();
  read->callback(
      [&context, options] { context.action = [options] { return ReadConfigs(*options); }; });
  auto* apply = config->add_subcommand(
      "apply", "Write one page of a configuration file where it differs, read back and verify");
  apply->add_option("FILE", options->file, "configuration file")->required();
  apply->add_option("--block", options->block, "the page: common, z or d")
      ->required()
      ->check(CLI::IsMember({"common", "z", "d"}));
  AddWriteOptions(*apply, *options);
  apply->callback(
      [&context, options] { context.action = [options] { return ApplyConfig(*options); }; });
  auto* restore = config->add_subcommand(
      "restore",
      "Write each printer its own backup, the file of DIR named for and holding the serial "
      "number it reports, where it differs; read back and verify. A printer whose serial number "
      "has no backup, or two (two printers reported it), is failed");
  restore->add_option("DIR", options->file, "the folder of the backups")->required();
  restore->add_option("--block", options->block, "the page: common, z, d or all (default)")
      ->check(CLI::IsMember({"common", "z", "d", "all"}));
  AddWriteOptions(*restore, *options);
  restore->callback(
      [&context, options] { context.action = [options] { return RestoreConfigs(*options); }; });
}

void AddOtherOperations(CLI::App& fleet, const std::shared_ptr<FleetOptions>& options,
                        CliContext& context) {
  fleet.add_subcommand("status", "Read each printer's status")->callback([&context, options] {
    context.action = [options] { return RunFleetOperation(*options, StatusJob()); };
  });
  auto* identity = fleet.add_subcommand(
      "identity",
      "Read each printer's version, serial number, checksum, mileage, resolution, network "
      "settings and free memory");
  identity
      ->add_option("--csv", options->csv,
                   "also write the inventory as CSV to FILE (- for standard output, in place of "
                   "the table)")
      ->type_name("FILE");
  identity->callback(
      [&context, options] { context.action = [options] { return ReadIdentities(*options); }; });
  auto* clock = fleet.add_subcommand("clock", "Set each printer's clock");
  clock->require_subcommand(1);
  auto* set = clock->add_subcommand("set", "Set the clock");
  set->add_option("TIME", options->when, "now, or local time as YYYY-MM-DDTHH:MM:SS")->required();
  set->callback([&context, options] {
    context.action = [options] {
      std::string refusal;
      if (!ClockFromText(options->when, refusal)) return Refuse(refusal);
      return RunFleetOperation(*options, ClockSetJob(options->when));
    };
  });
  auto* files = fleet.add_subcommand("files", "Download files to each printer");
  files->require_subcommand(1);
  auto* download = files->add_subcommand(
      "download", "Download files as `files download` does; each must be listed afterwards");
  download->add_option("FILE", options->files, "host files")->required();
  AddDownloadOptions(*download, options->download);
  download->callback(
      [&context, options] { context.action = [options] { return DownloadFiles(*options); }; });
}

}  // namespace

void AddFleetCommand(CLI::App& app, CliContext& context) {
  auto options = std::make_shared<FleetOptions>();
  auto* fleet = app.add_subcommand(
      "fleet",
      "Run one operation on many network printers at once (--hosts FILE, --discover or --retry "
      "REPORT); exit 0 when every printer succeeded, 2 when some failed or the run stopped, 1 "
      "when none could be reached");
  fleet->require_subcommand(1);
  AddTargetOptions(*fleet, *options);
  AddConfigOperations(*fleet, options, context);
  AddOtherOperations(*fleet, options, context);
}

}  // namespace vantrel::cli
