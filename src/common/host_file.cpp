#include "common/host_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <new>
#include <system_error>

#include "common/unique_fd.h"

namespace vantrel {
namespace {

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
  const std::size_t got = bytes.size();
  bytes.clear();
  return {HostFileError::kTooLarge, 0,
          name + " holds more than " + std::to_string(max_bytes) +
              " bytes: reading stopped after " + std::to_string(got) + " bytes"};
}

HostFileResult ReadRegularFile(const std::filesystem::path& path, std::size_t max_bytes, bool whole,
                               std::vector<std::uint8_t>& bytes) {
  bytes.clear();
  const UniqueFd fd = OpenForReading(path);
  std::uintmax_t size = 0;
  if (HostFileResult opened = CheckRegularFile(path, fd, size); !opened.ok()) return opened;
  return ReadOpened(fd.get(), path.string(), size, max_bytes, whole, bytes);
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
  struct stat info {};
  const bool known = ::fstat(STDIN_FILENO, &info) == 0;
  if (known && (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode)) && !::isatty(STDIN_FILENO)) {
    return {HostFileError::kOpen, 0, "standard input is a device, not a file, pipe or terminal"};
  }
  // A redirected regular file tells its size: one too large is refused before reading.
  const bool regular = known && S_ISREG(info.st_mode);
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

}  // namespace vantrel
