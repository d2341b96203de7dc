#include "cli/cli_file_download.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <limits>

#include "cli/cli_input_file.h"
#include "cli/cli_memory_words.h"
#include "cli/cli_report.h"
#include "common/host_file.h"
#include "ops/dispatcher.h"
#include "ops/download_file_type.h"
#include "ops/send_raw_block.h"

namespace vantrel::cli {
namespace {

int TypeIndex(const std::string& word) {
  const auto& types = DownloadTypes();
  const auto found = std::find_if(types.begin(), types.end(),
                                  [&](const DownloadTypeInfo& type) { return type.word == word; });
  return found == types.end() ? kDownloadTypeNone : static_cast<int>(found - types.begin());
}

// Refuses (6) a file that cannot fit the memory's free space; the card cannot tell it.
int CheckSpace(CliContext& context, const DownloadRequest& request) {
  MemoryInfo info;
  if (const int code = context.Run(kOpReadFileList, &info); code != 0) return code;
  const DeviceMemoryBlock& block = info[request.device];
  if (!block.free_known) {
    std::cerr << MemoryWord(request.device) << " cannot tell its free space; sending unchecked\n";
    return 0;
  }
  std::error_code error;
  const std::uintmax_t bytes = std::filesystem::file_size(request.source_path, error);
  const std::uintmax_t needed_kb = (bytes + 1023) / 1024;
  if (error || block.free_space < 0 || needed_kb <= static_cast<std::uintmax_t>(block.free_space)) {
    return 0;
  }
  return Refuse(request.printer_name + " needs " + std::to_string(needed_kb) + " KB; " +
                MemoryWord(request.device) + " has " + std::to_string(block.free_space) +
                " KB free");
}

// Fails (3) when the memory's list does not name the file after the download.
int Verify(CliContext& context, const DownloadRequest& request) {
  MemoryInfo info;
  if (const int code = context.Run(kOpReadFileList, &info); code != 0) return code;
  const std::vector<std::string> names = FileListLines(info[request.device]);
  if (std::find(names.begin(), names.end(), request.printer_name) != names.end()) return 0;
  return Report(LinkFailure{kResultReceivingError, 0,
                            request.printer_name + " is not listed in " +
                                MemoryWord(request.device) + " after the download"});
}

}  // namespace

int DownloadHostFile(CliContext& context, const DownloadOptions& options) {
  const int type = TypeIndex(options.type);
  if (IsRawDownloadType(type)) return SendHostFile(context, options.file);
  // Unreadable files end here, before the printer is asked anything.
  if (const HostFileResult readable = CheckHostFile(options.file, DownloadRequest::kMaxFileBytes);
      !readable.ok()) {
    return Report(readable);
  }

  DownloadRequest request{
      options.file, options.name.empty() ? ProposedPrinterName(options.file, type) : options.name,
      MemoryFromWord(options.memory)};
  if (const std::string refusal = DownloadRefusal(request); !refusal.empty()) {
    return Refuse(refusal);
  }
  if (options.check_space) {
    if (const int code = CheckSpace(context, request); code != 0) return code;
  }
  if (const int code = context.Run(kOpDownloadFile, &request); code != 0) return code;
  return options.verify ? Verify(context, request) : 0;
}

}  // namespace vantrel::cli
