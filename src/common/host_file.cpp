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

// Reads until the file ends or more than `max_bytes` have come; `ended` tells which. Never
// reads more than one byte past the limit. `expected` is the size the file had when opened; one
// byte more shows its end at once.
bool ReadUpTo(int fd, std::size_t expected, std::size_t max_bytes, std::vector<std::uint8_t>& bytes,
              bool& ended) {
  SizeBuffer(bytes, std::min(expected, max_bytes) + 1);
  std::size_t got = 0;
  ended = false;
  for (;;) {
    if (got == bytes.size()) {
      if (got > max_bytes) break;
      SizeBuffer(bytes, std::min(max_bytes + 1, std::max<std::size_t>(2 * got, 4096)));
    }
    const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) {
      ended = true;
      break;
    }
    got += static_cast<std::size_t>(n);
  }
  bytes.resize(got);
  return true;
}

HostFileResult TooLarge(const std::string& name, std::uintmax_t size, std::size_t max_bytes) {
  return {HostFileError::kTooLarge, 0,
          name + " has " + std::to_string(size) + " bytes; at most " + std::to_string(max_bytes) +
              " can be taken"};
}

// Opens a regular file for reading. Non-blocking, so that a FIFO chosen by mistake cannot hang
// the open; it is refused with every other kind of file.
UniqueFd OpenForReading(const std::filesystem::path& path) {
  return UniqueFd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
}

HostFileResult CheckRegularFile(const std::filesystem::path& path, const UniqueFd& fd,
                                std::uintmax_t& size) {
  if (fd.get() < 0) return HostFileFailure(HostFileError::kOpen, "cannot open", path, errno);
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) {
    return HostFileFailure(HostFileError::kOpen, "cannot open", path, errno);
  }
  if (!S_ISREG(info.st_mode)) {
    return {HostFileError::kOpen, 0, path.string() + " is not a regular file"};
  }
  size = static_cast<std::uintmax_t>(info.st_size);
  return {};
}

// Reads what `fd` delivers, up to `max_bytes`; `whole` refuses more, otherwise the rest is cut.
HostFileResult ReadOpened(int fd, const std::string& name, std::uintmax_t size,
                          std::size_t max_bytes, bool whole, std::vector<std::uint8_t>& bytes) {
  if (whole && size > max_bytes) return TooLarge(name, size, max_bytes);
  const std::size_t expected = static_cast<std::size_t>(std::min<std::uintmax_t>(size, max_bytes));
  bool ended = false;
  try {
    if (!ReadUpTo(fd, expected, max_bytes, bytes, ended)) {
      const int error = errno;
      bytes.clear();
      return HostFileFailure(HostFileError::kRead, "cannot read", name, error);
    }
  } catch (const std::bad_alloc&) {
    bytes = {};
    return {HostFileError::kTooLarge, 0,
            "not enough memory to hold " + name + " (" + std::to_string(expected) + " bytes)"};
  }
  if (ended) return {};
  if (!whole) {
    bytes.resize(max_bytes);
    return {};
  }
  bytes.clear();
  return {HostFileError::kTooLarge, 0,
          name + " holds more than " + std::to_string(max_bytes) + " bytes"};
}

HostFileResult ReadRegularFile(const std::filesystem::path& path, std::size_t max_bytes, bool whole,
                               std::vector<std::uint8_t>& bytes) {
  bytes.clear();
  const UniqueFd fd = OpenForReading(path);
  std::uintmax_t size = 0;
  if (HostFileResult opened = CheckRegularFile(path, fd, size); !opened.ok()) return opened;
  return ReadOpened(fd.get(), path.string(), size, max_bytes, whole, bytes);
}

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

struct HostFileTemp {
  UniqueFd fd;
  std::filesystem::path path;  // empty while the file has no name
  int error = 0;               // why it could not be created
  std::string_view failed_step = {};
};

namespace {

// A new file in the target's folder. Where the file system allows it the file has no name until
// it is complete, so a save killed half-way leaves nothing behind. Created with 0666 so that the
// user's umask applies as to any new file. A write-protected target is not replaced: the rename
// would get past its protection.
HostFileTemp CreateTempBeside(const std::filesystem::path& target) {
  if (::access(target.c_str(), F_OK) == 0 && ::access(target.c_str(), W_OK) != 0) {
    return {UniqueFd(), {}, errno, "cannot write"};
  }
  const int unnamed = ::open(FolderOf(target).c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
  if (unnamed >= 0) return {UniqueFd(unnamed), {}, 0};
  int error = EEXIST;
  for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
    std::filesystem::path temp = TempNameBeside(target);
    const int fd = ::open(temp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) return {UniqueFd(fd), std::move(temp), 0};
    error = errno;
  }
  return {UniqueFd(), {}, error, "cannot create a file beside"};
}

// Gives a complete unnamed file a name beside the target; returns 0 or the errno.
int NameTemp(int fd, const std::filesystem::path& target, std::filesystem::path& name) {
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::filesystem::path candidate = TempNameBeside(target);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, candidate.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      name = std::move(candidate);
      return 0;
    }
    if (errno != EEXIST) return errno;
  }
  return EEXIST;
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
  return ReadRegularFile(path, max_bytes, true, bytes);
}

HostFileResult CheckHostFile(const std::filesystem::path& path, std::size_t max_bytes) {
  const UniqueFd fd = OpenForReading(path);
  std::uintmax_t size = 0;
  if (HostFileResult opened = CheckRegularFile(path, fd, size); !opened.ok()) return opened;
  return size > max_bytes ? TooLarge(path.string(), size, max_bytes) : HostFileResult{};
}

HostFileResult ReadHostFileHead(const std::filesystem::path& path, std::size_t max_bytes,
                                std::vector<std::uint8_t>& bytes) {
  return ReadRegularFile(path, max_bytes, false, bytes);
}

HostFileResult ReadStandardInput(std::size_t max_bytes, std::vector<std::uint8_t>& bytes) {
  bytes.clear();
  // A redirected regular file tells its size: one too large is refused before reading.
  struct stat info {};
  const bool regular = ::fstat(STDIN_FILENO, &info) == 0 && S_ISREG(info.st_mode);
  const auto size = regular ? static_cast<std::uintmax_t>(info.st_size) : 0;
  return ReadOpened(STDIN_FILENO, "standard input", size, max_bytes, true, bytes);
}

std::optional<std::string> ReadShortTextFile(const std::filesystem::path& path) {
  // A /sys attribute claims a page whatever it holds; /proc files claim nothing.
  constexpr std::size_t kMaxShortText = 4096;
  std::vector<std::uint8_t> bytes;
  if (!ReadHostFile(path, kMaxShortText, bytes).ok()) return std::nullopt;
  return std::string(bytes.begin(), bytes.end());
}

HostFileWriter::HostFileWriter(const std::filesystem::path& path)
    : HostFileWriter(FileToReplace(path), CreateTempBeside(FileToReplace(path))) {}

HostFileWriter::HostFileWriter(std::filesystem::path target, HostFileTemp&& temp)
    : target_(std::move(target)), fd_(std::move(temp.fd)), temp_path_(std::move(temp.path)) {
  if (fd_.get() < 0) {
    Failed(HostFileError::kOpen, temp.failed_step, temp.error);
    return;
  }
  KeepModeOf(target_, fd_.get());
}

HostFileWriter::~HostFileWriter() {
  if (!temp_path_.empty()) ::unlink(temp_path_.c_str());
}

bool HostFileWriter::Failed(HostFileError code, std::string_view what, int error_number) {
  if (failure_.ok()) failure_ = HostFileFailure(code, what, target_, error_number);
  return false;
}

bool HostFileWriter::Write(std::span<const std::uint8_t> bytes) {
  if (!ok()) return false;
  return WriteAll(fd_.get(), bytes) || Failed(HostFileError::kWrite, "cannot write", errno);
}

bool HostFileWriter::WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
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
  if (::fsync(fd_.get()) != 0) Failed(HostFileError::kWrite, "cannot write", errno);
  if (ok() && temp_path_.empty()) {
    if (const int error = NameTemp(fd_.get(), target_, temp_path_); error != 0) {
      Failed(HostFileError::kWrite, "cannot write", error);
    }
  }
  if (ok() && !fd_.Close()) Failed(HostFileError::kWrite, "cannot write", errno);
  if (ok() && ::rename(temp_path_.c_str(), target_.c_str()) != 0) {
    Failed(HostFileError::kWrite, "cannot write", errno);
  }
  if (!ok()) return failure_;
  temp_path_.clear();
  SyncFolderOf(target_);
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
  HostFileWriter writer(path);
  writer.Write(bytes);
  return writer.Commit();
}

}  // namespace vantrel
