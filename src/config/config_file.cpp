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

ConfigFileResult ConfigFileFailure(const HostFileResult& saved) {
  switch (saved.code) {
    case HostFileError::kNone:
      return {};
    case HostFileError::kOpen:
      return {ConfigFileStatus::kOpenError, saved.os_error, saved.detail};
    default:
      return {ConfigFileStatus::kWriteError, saved.os_error, saved.detail};
  }
}

ConfigFileResult SaveConfigFile(const std::filesystem::path& path,
                                const ConfigFileContents& contents) {
  return ConfigFileFailure(ReplaceHostFile(path, BuildConfigFileImage(contents)));
}

ConfigFileResult LoadConfigFile(const std::filesystem::path& path, ConfigFileContents& contents) {
  // Only the image is read: what a longer file holds beyond it is not looked at.
  std::vector<std::uint8_t> bytes;
  if (const HostFileResult read = ReadHostFileHead(path, kConfigFileSize, bytes); !read.ok()) {
    return {ConfigFileStatus::kOpenError, read.os_error, read.detail};
  }
  return ParseConfigFile(bytes, path.string(), contents);
}

ConfigFileResult ParseConfigFile(std::span<const std::uint8_t> bytes, std::string_view name,
                                 ConfigFileContents& contents) {
  std::optional<ConfigFileContents> parsed = ParseConfigFileImage(bytes);
  if (!parsed) {
    return {ConfigFileStatus::kDataError, 0, std::string(name) + " is not a configuration file"};
  }
  if (std::string refusal = ConfigValueRefusal(parsed->config); !refusal.empty()) {
    return {ConfigFileStatus::kDataError, 0, std::string(name) + ": " + refusal};
  }
  contents = *parsed;
  return {};
}

}  // namespace vantrel
