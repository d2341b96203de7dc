#include "cli/fleet/backup_folder.h"

#include <cstdlib>
#include <ctime>
#include <optional>
#include <system_error>

namespace vantrel::cli {
namespace {

constexpr int kMaxStampedRuns = 100;

std::optional<std::filesystem::path> StateHome() {
  const char* state = std::getenv("XDG_STATE_HOME");
  if (state != nullptr && std::filesystem::path(state).is_absolute()) return state;
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0') return std::nullopt;
  return std::filesystem::path(home) / ".local" / "state";
}

std::string UtcStamp(std::chrono::system_clock::time_point now) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H%M%SZ", &utc);
  return text;
}

HostFileResult Unmade(const std::filesystem::path& path, const std::error_code& error) {
  return HostFileFailure(HostFileError::kOpen, "cannot make folder", path, error.value());
}

}  // namespace

HostFileResult MakeBackupFolder(const std::string& given, std::chrono::system_clock::time_point now,
                                std::filesystem::path& folder) {
  std::error_code error;
  if (!given.empty()) {
    folder = given;
    std::filesystem::create_directories(folder, error);
    std::error_code unused;
    if (std::filesystem::is_directory(folder, unused)) return {};
    return Unmade(folder, error ? error : std::make_error_code(std::errc::not_a_directory));
  }
  const std::optional<std::filesystem::path> state = StateHome();
  if (!state) {
    return {HostFileError::kOpen, 0,
            "no folder for backups: neither XDG_STATE_HOME nor HOME is set"};
  }
  const std::filesystem::path parent = *state / "vantrel" / "backups";
  std::filesystem::create_directories(parent, error);
  const std::string stamp = UtcStamp(now);
  for (int run = 1; run <= kMaxStampedRuns; ++run) {
    folder = parent / (run == 1 ? stamp : stamp + "-" + std::to_string(run));
    if (std::filesystem::create_directory(folder, error)) return {};
    if (error) return Unmade(folder, error);
  }
  return Unmade(folder, std::make_error_code(std::errc::file_exists));
}

}  // namespace vantrel::cli
