#pragma once

#include <CLI/CLI.hpp>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "cli/common/context.h"
#include "ops/download_file.h"
#include "ops/operation_record.h"

namespace vantrel::cli {

// The options of `files download`, which `fleet files download` takes too.
struct DownloadOptions {
  std::string type;  // empty: no type chosen
  std::string name;  // empty: the proposed name
  std::string memory = "flash";
  bool check_space = false;
  bool verify = false;
};

// Adds --type, --name, --memory, --check-space and --verify.
void AddDownloadOptions(CLI::App& command, DownloadOptions& options);

// One host file made ready before any printer is asked: a DOWNLOAD under its printer name, or,
// for the raw types, the file's bytes to send unchanged.
struct PreparedDownload {
  DownloadRequest request;
  std::uint64_t size = 0;
  bool raw = false;
  std::vector<std::uint8_t> bytes;  // the raw types only
};

// Reads or checks the file and forms its printer name by the File Manager's rules (--name wins).
// A file that cannot be read is reported (4), a printer name that cannot travel is refused (6);
// returns that exit status, or 0.
int PrepareDownload(const std::string& file, const DownloadOptions& options,
                    PreparedDownload& prepared);

// Runs one operation on the caller's printer.
using OperationRunner = std::function<LinkFailure(int op, OperationRecord record)>;

// How the downloads to one printer ended.
struct DownloadEnd {
  LinkFailure failure;  // the printer's, or 3 for a file missing from the list afterwards
  std::string refusal;  // --check-space: the files do not fit, and nothing was sent
  std::string note;     // what the user should know although it worked
};

// Sends the files in turn into the memory of the options; with `verify`, lists the memory once
// afterwards and fails unless it names every file that went with DOWNLOAD.
DownloadEnd SendDownloads(const std::vector<PreparedDownload>& downloads,
                          const DownloadOptions& options, bool verify, const OperationRunner& run);

// files download: DOWNLOAD (operation 11) or, for the raw types, the bytes unchanged (12).
int DownloadHostFile(CliContext& context, const std::string& file, const DownloadOptions& options);

}  // namespace vantrel::cli
