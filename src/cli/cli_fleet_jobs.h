#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "cli/cli_fleet_run.h"
#include "config/config_items.h"
#include "ops/download_file.h"

namespace vantrel::cli {

// The operations a fleet run can do on each printer. A failure before the printer answered
// anything is "unreachable", any later one "failed".

// The status byte: "unchanged", the lit labels as values.
FleetJob StatusJob();
// Version, serial number, checksum and mileage from a configuration read: "unchanged".
FleetJob IdentityJob();
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
// Downloads each file in turn: "changed", the printer names as changed items.
FleetJob FilesDownloadJob(std::vector<DownloadRequest> requests);

}  // namespace vantrel::cli
