// The one safe writer of host files: a new file is written beside its target and renamed over it
// only when complete; what is no file to replace (a device, a FIFO) takes the finished bytes.
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <optional>

#include "common/host_file.h"
#include "common/parse_digits.h"

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

// What every temporary of `target` is named with, in the target's folder.
std::string TempPrefix(const std::filesystem::path& target) {
  // A cut name keeps the temporary name within the file system's limit.
  return "." + target.filename().string().substr(0, 64) + ".vantrel-tmp-";
}

// A fresh name beside the target, so that the final rename stays within one file system. It
// names the saving process, so that a later save can tell a stale temporary from a live one.
std::filesystem::path TempNameBeside(const std::filesystem::path& target) {
  static std::atomic<unsigned> serial{0};
  return target.parent_path() /
         (TempPrefix(target) + std::to_string(::getpid()) + "-" + std::to_string(serial++));
}

// The process that named a temporary, from what follows the prefix: "PID-SERIAL".
std::optional<pid_t> TempOwner(std::string_view rest) {
  const std::size_t dash = rest.find('-');
  if (dash == std::string_view::npos || !ParseDigits(rest.substr(dash + 1))) return std::nullopt;
  const std::optional<int> pid = ParseDigits(rest.substr(0, dash));
  if (!pid || *pid <= 0) return std::nullopt;
  return static_cast<pid_t>(*pid);
}

std::filesystem::path FolderOf(const std::filesystem::path& target) {
  return target.has_parent_path() ? target.parent_path() : ".";
}

// A save killed between naming its temporary and the rename leaves the temporary behind. The
// next save of the same target removes those whose process is gone; a live one may be saving.
void RemoveStaleTemps(const std::filesystem::path& target) {
  const std::string prefix = TempPrefix(target);
  std::error_code error;
  std::filesystem::directory_iterator entry(FolderOf(target), error);
  for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
    const std::string name = entry->path().filename().string();
    if (!name.starts_with(prefix)) continue;
    const std::optional<pid_t> owner = TempOwner(std::string_view(name).substr(prefix.size()));
    std::error_code kind_error;
    if (owner && ::kill(*owner, 0) != 0 && errno == ESRCH &&
        entry->symlink_status(kind_error).type() == std::filesystem::file_type::regular) {
      ::unlink(entry->path().c_str());
    }
  }
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

// Returns 0 or the errno.
int WriteInPlace(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  // Non-blocking, so that a FIFO without a reader fails instead of hanging the open.
  UniqueFd fd(::open(path.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (fd.get() < 0) return errno;
  const int flags = ::fcntl(fd.get(), F_GETFL);
  if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0 ||
      !WriteAll(fd.get(), bytes) || !fd.Close()) {
    return errno;
  }
  return 0;
}

// Makes the rename itself durable. Best effort: the new file is already in place and complete.
void SyncFolderOf(const std::filesystem::path& target, const FileSystemCalls& calls) {
  const UniqueFd fd(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.get() >= 0) calls.fsync(fd.get());
}

// Gives an unnamed file the name `name`; returns 0 or the errno (EEXIST when it is taken).
int LinkUnnamed(int fd, const std::filesystem::path& name) {
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0 ? 0
                                                                                          : errno;
}

// Gives a complete unnamed file a name beside the target; returns 0 or the errno.
int NameTemp(int fd, const std::filesystem::path& target, std::filesystem::path& name) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::filesystem::path candidate = TempNameBeside(target);
    const int error = LinkUnnamed(fd, candidate);
    if (error == 0) name = std::move(candidate);
    if (error != EEXIST) return error;
  }
  return EEXIST;
}

}  // namespace

HostFileWriter::HostFileWriter(const std::filesystem::path& path, FileSystemCalls calls)
    : calls_(calls), target_(FileToReplace(path)) {
  struct stat existing {};
  if (::stat(target_.c_str(), &existing) != 0 || S_ISREG(existing.st_mode)) {
    CreateTempBeside();
  } else if (S_ISDIR(existing.st_mode)) {
    Failed(HostFileError::kOpen, "cannot write", EISDIR);
  } else if (::access(target_.c_str(), W_OK) != 0) {
    Failed(HostFileError::kOpen, "cannot write", errno);
  } else {
    // A device node or a FIFO is written, never replaced by a file; it gets the bytes only
    // once they are complete.
    in_place_.emplace();
  }
}

HostFileWriter::~HostFileWriter() {
  if (!temp_path_.empty()) ::unlink(temp_path_.c_str());
}

// A new file in the target's folder. Where the file system allows it the file has no name until
// it is complete, so a save killed half-way leaves nothing behind. Created with 0666 so that the
// user's umask applies as to any new file. A write-protected target is not replaced: the rename
// would get past its protection.
void HostFileWriter::CreateTempBeside() {
  const bool replacing = ::access(target_.c_str(), F_OK) == 0;
  if (replacing && ::access(target_.c_str(), W_OK) != 0) {
    Failed(HostFileError::kOpen, "cannot write", errno);
    return;
  }
  // Only a file saved before can have a stale temporary beside it. A first save does not look,
  // so that writing many new files into one folder does not read the folder once a file.
  if (replacing) RemoveStaleTemps(target_);
  fd_ = UniqueFd(::open(FolderOf(target_).c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666));
  int error = EEXIST;
  for (int attempt = 0; fd_.get() < 0 && attempt < 100 && error == EEXIST; ++attempt) {
    std::filesystem::path temp = TempNameBeside(target_);
    fd_ = UniqueFd(::open(temp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    error = errno;
    if (fd_.get() >= 0) temp_path_ = std::move(temp);
  }
  if (fd_.get() < 0) {
    Failed(HostFileError::kOpen, "cannot create a file beside", error);
    return;
  }
  KeepModeOf(target_, fd_.get());
}

bool HostFileWriter::Failed(HostFileError code, std::string_view what, int error_number) {
  if (failure_.ok()) failure_ = HostFileFailure(code, what, target_, error_number);
  return false;
}

bool HostFileWriter::Write(std::span<const std::uint8_t> bytes) {
  if (!ok()) return false;
  if (in_place_) {
    in_place_->insert(in_place_->end(), bytes.begin(), bytes.end());
    return true;
  }
  return WriteAll(fd_.get(), bytes) || Failed(HostFileError::kWrite, "cannot write", errno);
}

bool HostFileWriter::WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
  if (ok() && in_place_) {
    if (offset + bytes.size() > in_place_->size()) in_place_->resize(offset + bytes.size());
    std::copy(bytes.begin(), bytes.end(), in_place_->begin() + static_cast<std::ptrdiff_t>(offset));
    return true;
  }
  while (ok() && !bytes.empty()) {
    const ssize_t n = ::pwrite(fd_.get(), bytes.data(), bytes.size(), static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return Failed(HostFileError::kWrite, "cannot write", n == 0 ? EIO : errno);
    bytes = bytes.subspan(static_cast<std::size_t>(n));
    offset += static_cast<std::uint64_t>(n);
  }
  return ok();
}

HostFileResult HostFileWriter::Commit() {
  if (!ok()) return failure_;
  if (in_place_) {
    const int error = WriteInPlace(target_, *in_place_);
    if (error != 0) Failed(HostFileError::kWrite, "cannot write", error);
    return failure_;
  }
  if (calls_.fsync(fd_.get()) != 0) Failed(HostFileError::kWrite, "cannot write", errno);
  if (ok() && temp_path_.empty()) {
    // A new file takes its name at once: there is nothing to replace.
    const int error = LinkUnnamed(fd_.get(), target_);
    if (error == 0) return PlacedUnnamed();
    if (error != EEXIST) Failed(HostFileError::kWrite, "cannot write", error);
  }
  if (ok() && temp_path_.empty()) {
    if (const int error = NameTemp(fd_.get(), target_, temp_path_); error != 0) {
      Failed(HostFileError::kWrite, "cannot write", error);
    }
  }
  if (ok() && !fd_.Close()) Failed(HostFileError::kWrite, "cannot write", errno);
  if (ok() && calls_.rename(temp_path_.c_str(), target_.c_str()) != 0) {
    Failed(HostFileError::kWrite, "cannot write", errno);
  }
  if (!ok()) return failure_;
  temp_path_.clear();
  SyncFolderOf(target_, calls_);
  return {};
}

// The name is this save's own, as the link would not take one that existed: a failure takes
// it away again.
HostFileResult HostFileWriter::PlacedUnnamed() {
  if (!fd_.Close()) {
    Failed(HostFileError::kWrite, "cannot write", errno);
    ::unlink(target_.c_str());
    return failure_;
  }
  SyncFolderOf(target_, calls_);
  return {};
}

HostFileResult ReplaceHostFile(const std::filesystem::path& path,
                               std::span<const std::uint8_t> bytes) {
  HostFileWriter writer(path);
  writer.Write(bytes);
  return writer.Commit();
}

}  // namespace vantrel
