#include "cli/common/report.h"

#include "cli/common/exit_codes.h"

namespace vantrel::cli {

std::string_view FailureHeadline(ResultCode code) {
  return ResultMessage(code);
}

int ExitStatus(ResultCode code) {
  return code;
}

std::string_view FailureHeadline(HostFileError) {
  return ResultMessage(kResultFileOpenError);
}

int ExitStatus(HostFileError) {
  return kResultFileOpenError;
}

std::string_view FailureHeadline(ConfigFileStatus code) {
  return ConfigFileMessage(code);
}

int ExitStatus(ConfigFileStatus code) {
  return code == ConfigFileStatus::kDataError ? kExitRefused : kResultFileOpenError;
}

}  // namespace vantrel::cli
