#include "cli/cli_input_file.h"

#include "cli/cli_report.h"
#include "ops/dispatcher.h"
#include "ops/send_raw_block.h"

namespace vantrel::cli {
namespace {

int SendWhatWasRead(CliContext& context, const HostFileResult& read,
                    const std::vector<std::uint8_t>& bytes) {
  if (!read.ok()) return Report(read);
  return context.Run(kOpSendRawBlock, RawBlock{bytes});
}

}  // namespace

HostFileResult ReadInputFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
  if (path == "-") return ReadStandardInput(kMaxRawBlockBytes, bytes);
  return ReadHostFile(path, kMaxRawBlockBytes, bytes);
}

int SendInputFile(CliContext& context, const std::string& path) {
  std::vector<std::uint8_t> bytes;
  const HostFileResult read = ReadInputFile(path, bytes);
  return SendWhatWasRead(context, read, bytes);
}

int SendHostFile(CliContext& context, const std::string& path) {
  std::vector<std::uint8_t> bytes;
  const HostFileResult read = ReadHostFile(path, kMaxRawBlockBytes, bytes);
  return SendWhatWasRead(context, read, bytes);
}

}  // namespace vantrel::cli
