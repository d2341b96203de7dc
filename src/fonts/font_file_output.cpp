#include "fonts/font_file_output.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

namespace vantrel {
namespace {

// Writing through a symbolic link replaces the file it points at, not the link.
std::string ResolveTarget(const std::string& path) {
  std::error_code error;
  if (std::filesystem::is_symlink(path, error)) {
    const auto resolved = std::filesystem::weakly_canonical(path, error);
    if (!error) return resolved.string();
  }
  return path;
}

// An existing file keeps its permissions; a new one gets the usual ones.
mode_t TargetMode(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0) return info.st_mode & 07777;
  return 0644;
}

}  // namespace

FontFileOutput::FontFileOutput(const std::string& path) : target_(ResolveTarget(path)) {
  std::vector<char> name(target_.begin(), target_.end());
  for (const char c : std::string_view(".partXXXXXX")) name.push_back(c);
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  if (fd < 0) return;
  temporary_ = name.data();
  ::fchmod(fd, TargetMode(target_));
  file_ = ::fdopen(fd, "w+b");
  if (file_ == nullptr) {
    ::close(fd);
    ::unlink(temporary_.c_str());
  }
}

FontFileOutput::~FontFileOutput() {
  Discard();
}

bool FontFileOutput::Write(std::span<const std::uint8_t> bytes) {
  if (file_ == nullptr) return false;
  // An empty span may have no data pointer, which fwrite must not be given.
  return bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size();
}

bool FontFileOutput::WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
  if (file_ == nullptr || std::fflush(file_) != 0) return false;
  const ssize_t written =
      ::pwrite(::fileno(file_), bytes.data(), bytes.size(), static_cast<off_t>(offset));
  return written == static_cast<ssize_t>(bytes.size());
}

bool FontFileOutput::Commit() {
  if (file_ == nullptr) return false;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (!closed || std::rename(temporary_.c_str(), target_.c_str()) != 0) {
    ::unlink(temporary_.c_str());
    return false;
  }
  temporary_.clear();
  return true;
}

void FontFileOutput::Discard() {
  if (file_ != nullptr) {
    std::fclose(file_);
    file_ = nullptr;
  }
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
}

}  // namespace vantrel
