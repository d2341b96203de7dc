#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "cli/files/file_download.h"
#include "cli/fleet/fleet_file_names.h"
#include "cli/fleet/fleet_run.h"
#include "config/config_items.h"
#include "config/printer_config.h"
#include "config/unit_conversions.h"

namespace vantrel::cli {

// The operations a fleet run can do on each printer. A failure before the printer answered
// anything is "unreachable", any later one "failed".

// The reading operations carry "values": what they read, or null when the read failed.

// The status, as `status --json` gives it: "unchanged".
FleetJob StatusJob();
// A configuration read saved in the folder of `files`, named by serial number: "unchanged",
// the file as values.
FleetJob ConfigReadJob(std::shared_ptr<FleetFileNames> files);

// How a configuration document is written to each printer.
struct ConfigWrite {
  std::vector<ConfigPage> pages;
  // Write nothing: report the items a write would change with their values ("plan").
  bool plan = false;
  LengthUnit unit = kUnitInch;  // of the plan's values
  // Where each printer's configuration as read is saved before its first write; none: nowhere.
  std::shared_ptr<FleetFileNames> backups;
};

// Reads the configuration; a printer whose pages already hold what `wanted`, with the
// printer's overrides, would write is "unchanged"; otherwise the backup is saved (a backup that
// cannot be saved fails the printer, 4, and nothing is written), each differing page is written
// at the printer's resolution, read back and compared: "verified", "changed" when the printer
// does not report some written items, or "failed" (3) naming what did not take. A plan writes
// nothing and reports "changed" with the items a write would change.
FleetJob ConfigApplyJob(const PrinterConfig& wanted, ConfigWrite write);
// As ConfigApplyJob, with each printer's own document: the file of `dir` named for the serial
// number it reports and holding that serial number. A printer that reports none, whose serial
// number has no such file, or more than one, or a file named for it that cannot be read, is
// "failed", 6.
FleetJob ConfigRestoreJob(std::filesystem::path dir, ConfigWrite write);
// Sets the clock to `when` ("now" is each printer's own moment): "changed".
FleetJob ClockSetJob(std::string when);
// Downloads each file in turn with the options of `files download`, then lists the memory:
// "verified" when it names every file, the printer names as changed items ("changed" when
// every file is of a raw type, which no list shows). Files that do not fit (--check-space)
// are refused: "failed", code 6.
FleetJob FilesDownloadJob(std::vector<PreparedDownload> downloads, DownloadOptions options);

}  // namespace vantrel::cli
