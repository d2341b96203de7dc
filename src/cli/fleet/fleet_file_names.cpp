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

SerialFileIndex::SerialFileIndex(std::filesystem::path dir) : dir_(std::move(dir)) {
  std::error_code error;
  std::filesystem::directory_iterator entry(dir_, error);
  for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
    const std::filesystem::path& path = entry->path();
    if (path.extension() == ".dcf") names_.insert(path.stem().string());
  }
}

std::vector<std::filesystem::path> SerialFileIndex::Candidates(std::string_view serial) const {
  const std::string name = SafeFileName(serial);
  std::vector<std::filesystem::path> files;
  for (auto it = names_.lower_bound(name); it != names_.end() && it->starts_with(name); ++it) {
    if (it->size() == name.size() || (*it)[name.size()] == '_') {
      files.push_back(dir_ / (*it + ".dcf"));
    }
  }
  return files;
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
