#include "common/replace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <system_error>

#include "common/unique_fd.h"

namespace vantrel {
namespace {

ReplaceFileResult Failure(ReplaceFileStatus status, std::string_view what,
                          const std::filesystem::path& path, int error) {
  return {status,
          std::string(what) + " " + path.string() + ": " + std::generic_category().message(error)};
}

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
  std::filesystem::path path;  // empty while the file has no name
  int error = 0;               // why it could not be created
};

// A fresh name beside the target, so that the final rename stays within one file system.
std::filesystem::path TempNameBeside(const std::filesystem::path& target) {
  static std::atomic<unsigned> serial{0};
  // A cut name keeps the temporary name within the file system's limit.
  const std::string stem = target.filename().string().substr(0, 64);
  return target.parent_path() /
         ("." + stem + "." + std::to_string(::getpid()) + "." + std::to_string(serial++) + ".tmp");
}

std::filesystem::path FolderOf(const std::filesystem::path& target) {
  return target.has_parent_path() ? target.parent_path() : ".";
}

// A new file in the target's folder. Where the file system allows it the file has no name until
// it is complete, so a save killed half-way leaves nothing behind. Created with 0666 so that the
// user's umask applies as to any new file.
TempFile CreateTempBeside(const std::filesystem::path& target) {
  const int unnamed = ::open(FolderOf(target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (unnamed >= 0) return {UniqueFd(unnamed), {}, 0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::filesystem::path temp = TempNameBeside(target);
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    const int error = fd >= 0 ? 0 : errno;
    if (error != EEXIST) return {UniqueFd(fd), std::move(temp), error};
  }
  return {UniqueFd(), {}, EEXIST};
}

// Gives a complete unnamed file a name beside the target; returns 0 or the errno.
int NameTemp(TempFile& temp, const std::filesystem::path& target) {
  const std::string self = "/proc/self/fd/" + std::to_string(temp.fd.get());
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::filesystem::path name = TempNameBeside(target);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      temp.path = std::move(name);
      return 0;
    }
    if (errno != EEXIST) return errno;
  }
  return EEXIST;
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

// Makes the rename itself durable. Best effort: the new file is already in place and complete.
void SyncFolderOf(const std::filesystem::path& target) {
  const UniqueFd fd(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.get() >= 0) ::fsync(fd.get());
}

// A device node or a FIFO chosen as the target is written, never replaced by a file.
ReplaceFileResult WriteInPlace(const std::filesystem::path& path,
                               std::span<const std::uint8_t> bytes) {
  // Non-blocking, so that a FIFO without a reader fails instead of hanging the open.
  UniqueFd fd(::open(path.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (fd.get() < 0) return Failure(ReplaceFileStatus::kCannotCreate, "cannot open", path, errno);
  const int flags = ::fcntl(fd.get(), F_GETFL);
  if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0 ||
      !WriteAll(fd.get(), bytes) || !fd.Close()) {
    return Failure(ReplaceFileStatus::kWriteFailed, "cannot write", path, errno);
  }
  return {};
}

// Writes a complete new file beside the target and renames it over the target.
ReplaceFileResult ReplaceByRename(const std::filesystem::path& path,
                                  std::span<const std::uint8_t> bytes) {
  // Replacing by rename would get past a file's own write protection.
  if (::access(path.c_str(), F_OK) == 0 && ::access(path.c_str(), W_OK) != 0) {
    return Failure(ReplaceFileStatus::kCannotCreate, "cannot write", path, errno);
  }
  TempFile temp = CreateTempBeside(path);
  if (temp.fd.get() < 0) {
    return Failure(ReplaceFileStatus::kCannotCreate, "cannot create a file beside", path,
                   temp.error);
  }
  KeepModeOf(path, temp.fd.get());
  int error = WriteAll(temp.fd.get(), bytes) && ::fsync(temp.fd.get()) == 0 ? 0 : errno;
  if (error == 0 && temp.path.empty()) error = NameTemp(temp, path);
  if (error == 0 && !temp.fd.Close()) error = errno;
  if (error == 0 && ::rename(temp.path.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0) {
    if (!temp.path.empty()) ::unlink(temp.path.c_str());
    return Failure(ReplaceFileStatus::kWriteFailed, "cannot write", path, error);
  }
  SyncFolderOf(path);
  return {};
}

}  // namespace

ReplaceFileResult ReplaceFileContents(const std::filesystem::path& link_or_path,
                                      std::span<const std::uint8_t> bytes) {
  const std::filesystem::path path = FileToReplace(link_or_path);
  struct stat existing {};
  if (::stat(path.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode) &&
      !S_ISDIR(existing.st_mode)) {
    return WriteInPlace(path, bytes);
  }
  return ReplaceByRename(path, bytes);
}

}  // namespace vantrel
