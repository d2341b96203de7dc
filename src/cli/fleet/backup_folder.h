#pragma once

#include <chrono>
#include <filesystem>
#include <string>

#include "common/host_file.h"

namespace vantrel::cli {

// The folder of a run's backups, made with its parents: `given`, or when empty
// $XDG_STATE_HOME/vantrel/backups/<UTC time as 2026-12-08T061500Z> (XDG_STATE_HOME, when unset
// or not absolute, is ~/.local/state). A stamped folder that is already there is another run's:
// this one gets "-2", "-3", ... so that no earlier backup is written over.
HostFileResult MakeBackupFolder(const std::string& given, std::chrono::system_clock::time_point now,
                                std::filesystem::path& folder);

}  // namespace vantrel::cli
