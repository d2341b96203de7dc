#include "config/config_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "common/host_file.h"
#include "common/unique_fd.h"
#include "config/config_value_checks.h"

namespace vantrel {
namespace {

ConfigFileResult OpenFailure(std::string_view what, const std::filesystem::path& path, int error) {
  return {ConfigFileStatus::kOpenError, error,
          std::string(what) + " " + path.string() + ": " + std::generic_category().message(error)};
}

// Reads until `into` is full or the file ends; `got` is the count read.
bool ReadUpTo(int fd, std::span<std::uint8_t> into, std::size_t& got) {
  got = 0;
  while (got < into.size()) {
    const ssize_t n = ::read(fd, into.data() + got, into.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

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
  // Non-blocking, so that a FIFO chosen by mistake cannot hang the open; it is refused below.
  const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (fd.get() < 0) return OpenFailure("cannot open", path, errno);
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) {
    return OpenFailure("cannot open", path, errno);
  }
  if (!S_ISREG(info.st_mode)) {
    return {ConfigFileStatus::kOpenError, 0, path.string() + " is not a regular file"};
  }
  ConfigFileImage bytes{};
  std::size_t got = 0;
  if (!ReadUpTo(fd.get(), bytes, got)) {
    return OpenFailure("cannot read", path, errno);
  }
  std::optional<ConfigFileContents> parsed = ParseConfigFileImage(std::span(bytes.data(), got));
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
