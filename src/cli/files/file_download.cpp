#include "cli/files/file_download.h"

#include <algorithm>
#include <iostream>

#include "cli/common/report.h"
#include "cli/files/memory_words.h"
#include "common/host_file.h"
#include "ops/dispatcher.h"
#include "ops/download_file_type.h"
#include "ops/send_raw_block.h"

namespace vantrel::cli {
namespace {

std::vector<std::string> TypeWords() {
  std::vector<std::string> words;
  for (const DownloadTypeInfo& type : DownloadTypes()) words.emplace_back(type.word);
  return words;
}

int TypeIndex(const std::string& word) {
  const auto& types = DownloadTypes();
  const auto found = std::find_if(types.begin(), types.end(),
                                  [&](const DownloadTypeInfo& type) { return type.word == word; });
  return found == types.end() ? kDownloadTypeNone : static_cast<int>(found - types.begin());
}

std::uint64_t KilobytesFor(std::uint64_t bytes) {
  return (bytes + 1023) / 1024;
}

std::string NameList(const std::vector<const PreparedDownload*>& downloads) {
  std::string names;
  for (const PreparedDownload* download : downloads) {
    names += (names.empty() ? "" : ", ") + download->request.printer_name;
  }
  return names;
}

// Why the files cannot fit the memory's free space, or empty; the card cannot tell it.
DownloadEnd CheckSpace(const std::vector<const PreparedDownload*>& downloads, MemoryDevice device,
                       const OperationRunner& run) {
  MemoryInfo info;
  DownloadEnd end;
  end.failure = run(kOpReadFileList, &info);
  if (!end.failure.ok()) return end;
  const DeviceMemoryBlock& block = info[device];
  if (!block.free_known) {
    end.note = MemoryWord(device) + " cannot tell its free space; sending unchecked";
    return end;
  }
  std::uint64_t needed_kb = 0;
  for (const PreparedDownload* download : downloads) needed_kb += KilobytesFor(download->size);
  if (block.free_space < 0 || needed_kb <= static_cast<std::uint64_t>(block.free_space)) {
    return end;
  }
  end.refusal = NameList(downloads) + (downloads.size() == 1 ? " needs " : " need ") +
                std::to_string(needed_kb) + " KB; " + MemoryWord(device) + " has " +
                std::to_string(block.free_space) + " KB free";
  return end;
}

// Fails (3) unless the memory's list names every file.
LinkFailure Verify(const std::vector<const PreparedDownload*>& downloads, MemoryDevice device,
                   const OperationRunner& run) {
  MemoryInfo info;
  if (LinkFailure listed = run(kOpReadFileList, &info); !listed.ok()) return listed;
  const std::vector<std::string> names = FileListLines(info[device]);
  for (const PreparedDownload* download : downloads) {
    const std::string& name = download->request.printer_name;
    if (std::find(names.begin(), names.end(), name) == names.end()) {
      return {kResultReceivingError, 0,
              name + " is not listed in " + MemoryWord(device) + " after the download"};
    }
  }
  return {};
}

}  // namespace

void AddDownloadOptions(CLI::App& command, DownloadOptions& options) {
  command.add_option("--type", options.type, "the file's type; raw types go without DOWNLOAD")
      ->check(CLI::IsMember(TypeWords()));
  command.add_option("--name", options.name, "the printer file name (default: proposed)");
  command.add_option("--memory", options.memory, "the target memory")
      ->check(MemoryWordCheck())
      ->capture_default_str();
  command.add_flag("--check-space", options.check_space,
                   "refuse a file larger than the memory's free space");
  command.add_flag("--verify", options.verify, "fail unless the file is listed afterwards");
}

int PrepareDownload(const std::string& file, const DownloadOptions& options,
                    PreparedDownload& prepared) {
  const int type = TypeIndex(options.type);
  prepared.request.source_path = file;
  prepared.raw = IsRawDownloadType(type);
  if (prepared.raw) return Report(ReadHostFile(file, kMaxRawBlockBytes, prepared.bytes));
  // Unreadable files end here, before the printer is asked anything.
  if (const HostFileResult readable = CheckHostFile(file, DownloadRequest::kMaxFileBytes);
      !readable.ok()) {
    return Report(readable);
  }
  std::error_code error;
  prepared.size = std::filesystem::file_size(file, error);
  prepared.request.printer_name =
      options.name.empty() ? ProposedPrinterName(file, type) : options.name;
  prepared.request.device = MemoryFromWord(options.memory);
  if (const std::string refusal = DownloadRefusal(prepared.request); !refusal.empty()) {
    return Refuse(refusal);
  }
  return 0;
}

DownloadEnd SendDownloads(const std::vector<PreparedDownload>& downloads,
                          const DownloadOptions& options, bool verify, const OperationRunner& run) {
  const MemoryDevice device = MemoryFromWord(options.memory);
  std::vector<const PreparedDownload*> stored;
  for (const PreparedDownload& download : downloads) {
    if (!download.raw) stored.push_back(&download);
  }
  DownloadEnd end;
  if (options.check_space && !stored.empty()) {
    end = CheckSpace(stored, device, run);
    if (!end.failure.ok() || !end.refusal.empty()) return end;
  }
  for (const PreparedDownload& download : downloads) {
    DownloadRequest request = download.request;
    end.failure = download.raw ? run(kOpSendRawBlock, RawBlock{download.bytes})
                               : run(kOpDownloadFile, &request);
    if (!end.failure.ok()) return end;
  }
  if (verify && !stored.empty()) end.failure = Verify(stored, device, run);
  return end;
}

int DownloadHostFile(CliContext& context, const std::string& file, const DownloadOptions& options) {
  std::vector<PreparedDownload> downloads(1);
  if (const int code = PrepareDownload(file, options, downloads[0]); code != 0) return code;
  const DownloadEnd end =
      SendDownloads(downloads, options, options.verify, [&context](int op, OperationRecord record) {
        return RunPrinterOperation(context.link(), op, context.interface(), record);
      });
  if (!end.note.empty()) std::cerr << end.note << '\n';
  if (!end.refusal.empty()) return Refuse(end.refusal);
  return Report(end.failure);
}

}  // namespace vantrel::cli
