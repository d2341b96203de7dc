#include "cli/status/input_file.h"

#include "cli/common/report.h"
#include "ops/dispatcher.h"
#include "ops/send_raw_block.h"

namespace vantrel::cli {

HostFileResult ReadInputFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
  if (path == "-") return ReadStandardInput(kMaxRawBlockBytes, bytes);
  return ReadHostFile(path, kMaxRawBlockBytes, bytes);
}

int SendInputFile(CliContext& context, const std::string& path) {
  std::vector<std::uint8_t> bytes;
  if (const int code = Report(ReadInputFile(path, bytes)); code != 0) return code;
  return context.Run(kOpSendRawBlock, RawBlock{bytes});
}

}  // namespace vantrel::cli
