#include "config/config_file.h"

#include <vector>

#include "common/host_file.h"
#include "config/config_value_checks.h"

namespace vantrel {

std::string_view ConfigFileMessage(ConfigFileStatus status) {
  switch (status) {
    case ConfigFileStatus::kOk:
      return "";
    case ConfigFileStatus::kOpenError:
      return "File Open Error";
    case ConfigFileStatus::kDataError:
      return "File Data Error";
    case ConfigFileStatus::kWriteError:
      return "File Write Error";
  }
  return "";
}

ConfigFileResult SaveConfigFile(const std::filesystem::path& path,
                                const ConfigFileContents& contents) {
  const HostFileResult saved = ReplaceHostFile(path, BuildConfigFileImage(contents));
  switch (saved.code) {
    case HostFileError::kNone:
      return {};
    case HostFileError::kOpen:
      return {ConfigFileStatus::kOpenError, saved.os_error, saved.detail};
    default:
      return {ConfigFileStatus::kWriteError, saved.os_error, saved.detail};
  }
}

ConfigFileResult LoadConfigFile(const std::filesystem::path& path, ConfigFileContents& contents) {
  // Only the image is read: what a longer file holds beyond it is not looked at.
  std::vector<std::uint8_t> bytes;
  if (const HostFileResult read = ReadHostFileHead(path, kConfigFileSize, bytes); !read.ok()) {
    return {ConfigFileStatus::kOpenError, read.os_error, read.detail};
  }
  std::optional<ConfigFileContents> parsed = ParseConfigFileImage(bytes);
  if (!parsed) {
    return {ConfigFileStatus::kDataError, 0, path.string() + " is not a configuration file"};
  }
  if (std::string refusal = ConfigValueRefusal(parsed->config); !refusal.empty()) {
    return {ConfigFileStatus::kDataError, 0, path.string() + ": " + refusal};
  }
  contents = *parsed;
  return {};
}

}  // namespace vantrel
