#include "cli/cli_input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <new>

#include "ops/send_raw_block.h"

namespace vantrel::cli {
namespace {

std::string Named(const std::string& path) {
  return path == "-" ? std::string("standard input") : path;
}

HostFileResult TooLarge(const std::string& path) {
  return {HostFileError::kTooLarge, 0,
          Named(path) + " is larger than " + std::to_string(kMaxRawBlockBytes) +
              " bytes, the most one send can carry"};
}

HostFileResult OutOfMemory(const std::string& what) {
  return {HostFileError::kTooLarge, 0, what + " does not fit in memory"};
}

// Takes errno before building the name, whose allocation may change it.
HostFileResult LastSystemFailure(HostFileError code, std::string_view what,
                                 const std::string& path) {
  const int error = errno;
  return HostFileFailure(code, what, Named(path), error);
}

// Appends everything the descriptor delivers; fails on a read error or when the data outgrows
// one send or the memory.
HostFileResult ReadAll(int fd, const std::string& path, std::vector<std::uint8_t>& bytes) {
  std::array<std::uint8_t, 65536> piece;
  for (;;) {
    const ssize_t n = ::read(fd, piece.data(), piece.size());
    if (n == 0) return {};
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return LastSystemFailure(HostFileError::kRead, "cannot read", path);
    if (bytes.size() + static_cast<std::size_t>(n) > kMaxRawBlockBytes) return TooLarge(path);
    try {
      bytes.insert(bytes.end(), piece.begin(), piece.begin() + n);
    } catch (const std::bad_alloc&) {
      return OutOfMemory(Named(path));
    }
  }
}

// Room for a regular file's whole size at once, so that a file too large fails before reading.
HostFileResult Reserve(int fd, const std::string& path, std::vector<std::uint8_t>& bytes) {
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    return LastSystemFailure(HostFileError::kRead, "cannot read", path);
  }
  if (S_ISDIR(info.st_mode)) return {HostFileError::kOpen, 0, Named(path) + " is a directory"};
  if (!S_ISREG(info.st_mode)) return {};
  if (static_cast<std::uint64_t>(info.st_size) > kMaxRawBlockBytes) return TooLarge(path);
  try {
    bytes.reserve(static_cast<std::size_t>(info.st_size));
  } catch (const std::bad_alloc&) {
    return OutOfMemory(Named(path) + " (" + std::to_string(info.st_size) + " bytes)");
  }
  return {};
}

}  // namespace

HostFileResult ReadInputFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
  bytes.clear();
  const bool from_stdin = path == "-";
  const int fd = from_stdin ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return LastSystemFailure(HostFileError::kOpen, "cannot open", path);
  HostFileResult read = Reserve(fd, path, bytes);
  if (read.ok()) read = ReadAll(fd, path, bytes);
  if (!from_stdin) ::close(fd);
  if (!read.ok()) {
    bytes.clear();
    bytes.shrink_to_fit();
  }
  return read;
}

}  // namespace vantrel::cli
