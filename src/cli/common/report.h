#pragma once

#include <iostream>
#include <string_view>

#include "common/failure.h"
#include "common/host_file.h"
#include "config/config_file.h"

namespace vantrel::cli {

// The headline and the exit status of each kind of failure.
std::string_view FailureHeadline(ResultCode code);
int ExitStatus(ResultCode code);
// A host file that cannot be read or written is "File Open Error", 4.
std::string_view FailureHeadline(HostFileError code);
int ExitStatus(HostFileError code);
// A file that is no configuration file is refused (6); one that cannot be read is 4.
std::string_view FailureHeadline(ConfigFileStatus code);
int ExitStatus(ConfigFileStatus code);

// Prints a failure's headline and, on the line beneath, its detail on stderr, and returns the
// exit status; prints nothing and returns 0 for success.
template <typename Code>
int Report(const Failure<Code>& failure) {
  if (failure.ok()) return 0;
  std::cerr << FailureHeadline(failure.code) << '\n';
  if (!failure.detail.empty()) std::cerr << failure.detail << '\n';
  return ExitStatus(failure.code);
}

}  // namespace vantrel::cli
