#include "common/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <atomic>
#include <cerrno>
#include <system_error>

#include "common/unique_fd.h"

namespace vantrel {
namespace {

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    bytes = bytes.subspan(static_cast<std::size_t>(n));
  }
  return true;
}

struct TempFile {
  UniqueFd fd;
  std::filesystem::path path;
  int error = 0;  // why it could not be created
};

// A new, unique file in the target's folder, so that the final rename stays within one file
// system. Created with 0666 so that the user's umask applies as to any new file.
TempFile CreateTempBeside(const std::filesystem::path& target) {
  static std::atomic<unsigned> serial{0};
  // A cut name keeps the temporary name within the file system's limit.
  const std::string stem = target.filename().string().substr(0, 64);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::filesystem::path temp =
        target.parent_path() /
        ("." + stem + "." + std::to_string(::getpid()) + "." + std::to_string(serial++) + ".tmp");
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    const int error = fd >= 0 ? 0 : errno;
    if (error != EEXIST) return {UniqueFd(fd), std::move(temp), error};
  }
  return {UniqueFd(), {}, EEXIST};
}

// Saving through a symbolic link writes the file it points to, as writing in place would.
std::filesystem::path FileToReplace(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_symlink(path, error)) return path;
  const std::filesystem::path target = std::filesystem::weakly_canonical(path, error);
  return error ? path : target;
}

// A replaced file keeps its permissions.
void KeepModeOf(const std::filesystem::path& target, int fd) {
  struct stat existing {};
  if (::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
    ::fchmod(fd, existing.st_mode & 07777);
  }
}

// Returns 0, or the errno of the first failing step.
int WriteAndSync(UniqueFd& fd, std::span<const std::uint8_t> bytes) {
  if (!WriteAll(fd.get(), bytes) || ::fsync(fd.get()) != 0) return errno;
  return fd.Close() ? 0 : errno;
}

// Makes the rename itself durable. Best effort: the new file is already in place and complete.
void SyncFolderOf(const std::filesystem::path& target) {
  const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
  const UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.get() >= 0) ::fsync(fd.get());
}

}  // namespace

std::string FileReplaceFailure::Text() const {
  return what + " " + path.string() + ": " + std::generic_category().message(error);
}

std::optional<FileReplaceFailure> ReplaceFileContents(const std::filesystem::path& link_or_path,
                                                      std::span<const std::uint8_t> bytes) {
  const std::filesystem::path path = FileToReplace(link_or_path);
  // Replacing by rename would get past a file's own write protection.
  if (::access(path.c_str(), F_OK) == 0 && ::access(path.c_str(), W_OK) != 0) {
    return FileReplaceFailure{true, "cannot write", path, errno};
  }
  TempFile temp = CreateTempBeside(path);
  if (temp.fd.get() < 0) {
    return FileReplaceFailure{true, "cannot create a file beside", path, temp.error};
  }
  KeepModeOf(path, temp.fd.get());
  int error = WriteAndSync(temp.fd, bytes);
  if (error == 0 && ::rename(temp.path.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temp.path.c_str());
    return FileReplaceFailure{false, "cannot write", path, error};
  }
  SyncFolderOf(path);
  return std::nullopt;
}

}  // namespace vantrel
