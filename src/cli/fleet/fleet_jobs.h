#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "cli/files/file_download.h"
#include "cli/fleet/fleet_run.h"
#include "config/config_items.h"
#include "config/printer_config.h"

namespace vantrel::cli {

// The operations a fleet run can do on each printer. A failure before the printer answered
// anything is "unreachable", any later one "failed".

// The reading operations carry "values": what they read, or null when the read failed.

// The status, as `status --json` gives it: "unchanged".
FleetJob StatusJob();
// A configuration read saved as DIR/ADDRESS_PORT.dcf: "unchanged", the file as values.
FleetJob ConfigReadJob(std::filesystem::path dir);
// Reads the configuration; a printer whose page already holds what `wanted` would write is
// "unchanged"; otherwise the page is written at the printer's resolution, read back and
// compared: "verified", "changed" when the printer does not report some written items, or
// "failed" (3) naming what did not take. A dry run writes nothing and reports "changed" with
// the items a write would change.
FleetJob ConfigApplyJob(const PrinterConfig& wanted, ConfigPage page, bool dry_run);
// Sets the clock to `when` ("now" is each printer's own moment): "changed".
FleetJob ClockSetJob(std::string when);
// Downloads each file in turn with the options of `files download`, then lists the memory:
// "verified" when it names every file, the printer names as changed items ("changed" when
// every file is of a raw type, which no list shows). Files that do not fit (--check-space)
// are refused: "failed", code 6.
FleetJob FilesDownloadJob(std::vector<PreparedDownload> downloads, DownloadOptions options);

}  // namespace vantrel::cli
