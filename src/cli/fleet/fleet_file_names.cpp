#include "cli/fleet/fleet_file_names.h"

namespace vantrel::cli {

std::string SafeFileName(std::string_view text) {
  std::string name(text);
  for (char& c : name) {
    const bool plain = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                       c == '.' || c == '-';
    if (!plain) c = '_';
  }
  return name;
}

std::filesystem::path SerialFile(const std::filesystem::path& dir, std::string_view serial) {
  return dir / (SafeFileName(serial) + ".dcf");
}

HostFileResult FleetFileNames::Claim(std::string_view serial, std::string_view target,
                                     std::filesystem::path& file) {
  const std::string by_target = SafeFileName(target);
  std::string name = serial.empty() ? by_target : SafeFileName(serial);
  const std::lock_guard lock(mutex_);
  if (make_folder_) {
    folder_failure_ = make_folder_(dir_);
    make_folder_ = nullptr;
  }
  if (!folder_failure_.ok()) return folder_failure_;
  if (!taken_.insert(name).second) {
    name += '_' + by_target;
    taken_.insert(name);
  }
  file = dir_ / (name + ".dcf");
  return {};
}

}  // namespace vantrel::cli
