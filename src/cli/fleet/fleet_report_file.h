#pragma once

#include <chrono>
#include <filesystem>
#include <string_view>

#include "common/host_file.h"
#include "common/unique_fd.h"

namespace vantrel::cli {

// The --report file, written as the run goes: each printer's line as it finishes, the summary
// last. A line goes in with one write, whole or not at all, so a run that is killed leaves the
// lines of the printers it finished and no broken one.
class FleetReportFile {
 public:
  // Creates or empties the file; a file that is not regular is refused. Until then Append and
  // Close do nothing.
  HostFileResult Open(const std::filesystem::path& path);
  // Appends `line` and its line end. After a failure later lines are dropped.
  void Append(std::string_view line);
  // Flushes to the disk and closes; returns the first failure of the whole file.
  HostFileResult Close();

 private:
  void Fail(std::string_view what, int error_number);

  std::filesystem::path path_;
  UniqueFd fd_;
  HostFileResult failure_;
  std::chrono::steady_clock::time_point synced_;
};

}  // namespace vantrel::cli
