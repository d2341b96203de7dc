#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "common/failure.h"
#include "common/host_file.h"
#include "config/config_file_image.h"

namespace vantrel {

enum class ConfigFileStatus {
  kOk,
  kOpenError,   // the file cannot be opened, created or read
  kDataError,   // not a configuration file (wrong magic, too short) or values that cannot be sent
  kWriteError,  // the new file could not be written or put in place
};

// `detail` names the file and the reason, for a detail line.
using ConfigFileResult = Failure<ConfigFileStatus>;

// The fixed English message of a status: "File Open Error", "File Data Error", ...
std::string_view ConfigFileMessage(ConfigFileStatus status);

// A host file's failure to be put in place, as a configuration file's.
ConfigFileResult ConfigFileFailure(const HostFileResult& saved);

// Writes the image to a temporary file beside `path`, flushes it to the disk and renames it over
// `path`. On any failure the temporary file is removed and an existing file stays as it was.
// An existing device node or FIFO is written in place instead.
ConfigFileResult SaveConfigFile(const std::filesystem::path& path,
                                const ConfigFileContents& contents);

// A configuration file's bytes, read from the file `name`: refused as LoadConfigFile refuses
// them. `contents` changes only when the result is ok.
ConfigFileResult ParseConfigFile(std::span<const std::uint8_t> bytes, std::string_view name,
                                 ConfigFileContents& contents);

// Reads a configuration file. `contents` changes only when the result is ok.
ConfigFileResult LoadConfigFile(const std::filesystem::path& path, ConfigFileContents& contents);

}  // namespace vantrel
