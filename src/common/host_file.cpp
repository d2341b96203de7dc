#include "common/host_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <new>
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

// Sizes `bytes` to `size`. A large buffer asks for huge pages before it is first touched: a
// 64 MiB download file otherwise costs 16,384 page faults, more than reading it.
void SizeBuffer(std::vector<std::uint8_t>& bytes, std::size_t size) {
  constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
  if (size >= 4 * kHugePage && bytes.capacity() < size) {
    bytes.reserve(size);
    std::uint8_t* const base = bytes.data();
    const auto start = reinterpret_cast<std::uintptr_t>(base);
    const std::uintptr_t first =
        ((start + bytes.size() + kHugePage - 1) & ~(kHugePage - 1)) - start;
    const std::uintptr_t end = ((start + size) & ~(kHugePage - 1)) - start;
    // Only advice: without huge pages the buffer works the same.
    if (end > first) ::madvise(base + first, end - first, MADV_HUGEPAGE);
  }
  bytes.resize(size);
}

// Reads to the end of the file, failing with EFBIG once more than `max_bytes` have come.
// `expected` is the size the file had when opened; one byte more shows its end at once.
bool ReadToEnd(int fd, std::size_t expected, std::size_t max_bytes,
               std::vector<std::uint8_t>& bytes) {
  SizeBuffer(bytes, std::min(expected, max_bytes) + 1);
  std::size_t got = 0;
  for (;;) {
    if (got == bytes.size()) {
      if (got > max_bytes) {
        errno = EFBIG;
        return false;
      }
      SizeBuffer(bytes, std::min(max_bytes + 1, 2 * got));
    }
    const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  bytes.resize(got);
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

// Writes, flushes and names the new file; returns 0, or the errno of the first failing step.
int WriteAndSync(TempFile& temp, const std::filesystem::path& target,
                 std::span<const std::uint8_t> bytes) {
  if (!WriteAll(temp.fd.get(), bytes) || ::fsync(temp.fd.get()) != 0) return errno;
  if (temp.path.empty()) {
    if (const int error = NameTemp(temp, target); error != 0) return error;
  }
  return temp.fd.Close() ? 0 : errno;
}

// A device node or a FIFO chosen as the target is written, never replaced by a file.
HostFileResult WriteInPlace(const std::filesystem::path& path,
                            std::span<const std::uint8_t> bytes) {
  // Non-blocking, so that a FIFO without a reader fails instead of hanging the open.
  UniqueFd fd(::open(path.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (fd.get() < 0) return HostFileFailure(HostFileError::kOpen, "cannot open", path, errno);
  const int flags = ::fcntl(fd.get(), F_GETFL);
  if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0 ||
      !WriteAll(fd.get(), bytes) || !fd.Close()) {
    return HostFileFailure(HostFileError::kWrite, "cannot write", path, errno);
  }
  return {};
}

// Makes the rename itself durable. Best effort: the new file is already in place and complete.
void SyncFolderOf(const std::filesystem::path& target) {
  const UniqueFd fd(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.get() >= 0) ::fsync(fd.get());
}

}  // namespace

HostFileResult HostFileFailure(HostFileError code, std::string_view what,
                               const std::filesystem::path& path, int error_number) {
  return {code, error_number,
          std::string(what) + " " + path.string() + ": " +
              std::generic_category().message(error_number)};
}

HostFileResult ReadHostFile(const std::filesystem::path& path, std::size_t max_bytes,
                            std::vector<std::uint8_t>& bytes) {
  bytes.clear();
  // Non-blocking, so that a FIFO chosen by mistake cannot hang the open; it is refused below.
  const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (fd.get() < 0) return HostFileFailure(HostFileError::kOpen, "cannot open", path, errno);
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) {
    return HostFileFailure(HostFileError::kOpen, "cannot open", path, errno);
  }
  if (!S_ISREG(info.st_mode)) {
    return {HostFileError::kOpen, 0, path.string() + " is not a regular file"};
  }
  const auto size = static_cast<std::uintmax_t>(info.st_size);
  if (size > max_bytes) {
    return {HostFileError::kTooLarge, 0,
            path.string() + " has " + std::to_string(size) + " bytes; at most " +
                std::to_string(max_bytes) + " can be taken"};
  }
  try {
    if (!ReadToEnd(fd.get(), static_cast<std::size_t>(size), max_bytes, bytes)) {
      const int error = errno;
      bytes.clear();
      if (error == EFBIG) {
        return {HostFileError::kTooLarge, 0,
                path.string() + " grew beyond " + std::to_string(max_bytes) + " bytes while read"};
      }
      return HostFileFailure(HostFileError::kRead, "cannot read", path, error);
    }
  } catch (const std::bad_alloc&) {
    bytes = {};
    return {HostFileError::kTooLarge, 0,
            "not enough memory to hold " + path.string() + " (" + std::to_string(size) + " bytes)"};
  }
  return {};
}

HostFileResult ReplaceHostFile(const std::filesystem::path& link_or_path,
                               std::span<const std::uint8_t> bytes) {
  const std::filesystem::path path = FileToReplace(link_or_path);
  struct stat existing {};
  if (::stat(path.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode) &&
      !S_ISDIR(existing.st_mode)) {
    return WriteInPlace(path, bytes);
  }
  // Replacing by rename would get past a file's own write protection.
  if (::access(path.c_str(), F_OK) == 0 && ::access(path.c_str(), W_OK) != 0) {
    return HostFileFailure(HostFileError::kOpen, "cannot write", path, errno);
  }
  TempFile temp = CreateTempBeside(path);
  if (temp.fd.get() < 0) {
    return HostFileFailure(HostFileError::kOpen, "cannot create a file beside", path, temp.error);
  }
  KeepModeOf(path, temp.fd.get());
  int error = WriteAndSync(temp, path, bytes);
  if (error == 0 && ::rename(temp.path.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0) {
    if (!temp.path.empty()) ::unlink(temp.path.c_str());
    return HostFileFailure(HostFileError::kWrite, "cannot write", path, error);
  }
  SyncFolderOf(path);
  return {};
}

}  // namespace vantrel
