// files list / format / download / load: the printer's memories and the files in them.
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "cli/common/commands.h"
#include "cli/common/decimal_integer.h"
#include "cli/common/json.h"
#include "cli/common/report.h"
#include "cli/common/terminal_text.h"
#include "cli/files/file_download.h"
#include "cli/files/memory_words.h"
#include "common/host_file.h"
#include "ops/dispatcher.h"
#include "ops/printer_file_name.h"

namespace vantrel::cli {
namespace {

struct LoadOptions {
  std::string name;
  std::string out;
  std::size_t max = LoadRequest::kDefaultCapacity;
  int wait_ms = 0;  // 0: the interface's own read wait
};

nlohmann::json KnownNumber(bool known, std::int32_t value) {
  return known ? nlohmann::json(value) : nlohmann::json(nullptr);
}

void PrintMemoryText(const MemoryInfo& info) {
  for (int device = 0; device < kMemoryDeviceCount; ++device) {
    const DeviceMemoryBlock& block = info.blocks[static_cast<std::size_t>(device)];
    const auto number = [](bool known, std::int32_t value) {
      return known ? std::to_string(value) + " KB" : std::string("unknown");
    };
    std::cout << MemoryWord(static_cast<MemoryDevice>(device)) << ": physical "
              << number(block.physical_known, block.physical_space) << ", free "
              << number(block.free_known, block.free_space) << '\n';
    for (const std::string& name : FileListLines(block)) {
      std::cout << "  " << PrintableText(name) << '\n';
    }
  }
}

void PrintMemoryJson(const MemoryInfo& info) {
  nlohmann::json document = nlohmann::json::object();
  for (int device = 0; device < kMemoryDeviceCount; ++device) {
    const DeviceMemoryBlock& block = info.blocks[static_cast<std::size_t>(device)];
    nlohmann::json files = nlohmann::json::array();
    for (const std::string& name : FileListLines(block)) files.push_back(PrinterText(name));
    document[MemoryWord(static_cast<MemoryDevice>(device))] = {
        {"physical", KnownNumber(block.physical_known, block.physical_space)},
        {"free", KnownNumber(block.free_known, block.free_space)},
        {"files", files}};
  }
  PrintJson(document);
}

int ListFiles(CliContext& context, bool json) {
  MemoryInfo info;
  if (const int code = context.Run(kOpReadFileList, &info); code != 0) return code;
  json ? PrintMemoryJson(info) : PrintMemoryText(info);
  return 0;
}

// The folder must take a new file; checked first, so a printer file is not read for nothing.
bool FolderTakesFiles(const std::string& out) {
  const std::filesystem::path folder = std::filesystem::path(out).parent_path();
  return ::access(folder.empty() ? "." : folder.c_str(), W_OK | X_OK) == 0;
}

int LoadPrinterFile(CliContext& context, const LoadOptions& options) {
  if (const std::string refusal = PrinterFileNameRefusal(options.name, LoadRequest::kNameCapacity);
      !refusal.empty()) {
    return Refuse(refusal);
  }
  if (!FolderTakesFiles(options.out)) {
    return Report(HostFileResult{HostFileError::kOpen, 0,
                                 "cannot write a file into the folder of " + options.out});
  }
  context.SetReadWait(options.wait_ms);
  LoadRequest request;
  request.printer_name = options.name;
  request.capacity = options.max;
  if (const int code = context.Run(kOpLoadFile, &request); code != 0) return code;
  // Written beside and renamed, so the file is either whole or untouched.
  if (const HostFileResult saved = ReplaceHostFile(options.out, request.received); !saved.ok()) {
    return Report(saved);
  }
  if (request.received.size() >= options.max) {
    std::cerr << "The load stopped at --max " << options.max << " bytes: " << options.out
              << " may be cut\n";
  }
  std::cout << request.received.size() << " bytes received into " << options.out << '\n';
  return 0;
}

}  // namespace

void AddLoadWaitOption(CLI::App& command, int& wait_ms) {
  command
      .add_option("--wait", wait_ms,
                  "milliseconds without a byte that end the file (default: the interface's)")
      ->transform(DecimalInteger())
      ->check(CLI::Range(1, 600000));
}

namespace {

void AddDownloadCommand(CLI::App& files, CliContext& context) {
  auto options = std::make_shared<DownloadOptions>();
  auto file = std::make_shared<std::string>();
  auto* download = files.add_subcommand("download", "Send a file into a printer memory");
  download->add_option("FILE", *file, "the host file")->required();
  AddDownloadOptions(*download, *options);
  download->callback([&context, options, file] {
    context.action = [&context, options, file] {
      return DownloadHostFile(context, *file, *options);
    };
  });
}

void AddLoadCommand(CLI::App& files, CliContext& context) {
  auto options = std::make_shared<LoadOptions>();
  auto* load = files.add_subcommand("load", "Save a file of the printer on this computer");
  load->add_option("NAME", options->name, "the printer file name")->required();
  load->add_option("--out", options->out, "where to save it")->required();
  load->add_option("--max", options->max, "stop after this many bytes")
      ->transform(DecimalCount())
      ->check(CLI::Range(std::size_t{0}, std::size_t{0x7FFFFFFF}))
      ->capture_default_str();
  AddLoadWaitOption(*load, options->wait_ms);
  load->callback([&context, options] {
    context.action = [&context, options] { return LoadPrinterFile(context, *options); };
  });
}

}  // namespace

void AddFilesCommands(CLI::App& app, CliContext& context) {
  auto* files = app.add_subcommand("files", "The printer's memories and their files");
  files->require_subcommand(1);

  auto* list = files->add_subcommand("list", "Show each memory's size, free space and files");
  auto json = std::make_shared<bool>(false);
  list->add_flag("--json", *json, "print one JSON document");
  list->callback([&context, json] {
    context.action = [&context, json] { return ListFiles(context, *json); };
  });

  auto* format = files->add_subcommand("format", "Erase every file of one memory");
  auto memory = std::make_shared<std::string>();
  format->add_option("MEMORY", *memory, "dram, flash or card")
      ->required()
      ->check(MemoryWordCheck());
  format->callback([&context, memory] {
    context.action = [&context, memory] {
      return context.Run(kOpFormatMemory, MemoryFromWord(*memory));
    };
  });

  AddDownloadCommand(*files, context);
  AddLoadCommand(*files, context);
}

}  // namespace vantrel::cli
