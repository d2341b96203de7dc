#include "cli/cli_input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <new>

#include "ops/send_raw_block.h"

namespace vantrel::cli {
namespace {

std::string Named(const std::string& path) {
  return path == "-" ? std::string("standard input") : path;
}

std::string TooLarge(const std::string& path) {
  return Named(path) + " is larger than " + std::to_string(kMaxRawBlockBytes) +
         " bytes, the most one send can carry";
}

// Appends everything the descriptor delivers; false with the cause on a read error or when the
// data outgrows one send or the memory.
bool ReadAll(int fd, const std::string& path, std::vector<std::uint8_t>& bytes,
             std::string& cause) {
  std::array<std::uint8_t, 65536> piece;
  for (;;) {
    const ssize_t n = ::read(fd, piece.data(), piece.size());
    if (n == 0) return true;
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      cause = "cannot read " + Named(path) + ": " + std::strerror(errno);
      return false;
    }
    if (bytes.size() + static_cast<std::size_t>(n) > kMaxRawBlockBytes) {
      cause = TooLarge(path);
      return false;
    }
    try {
      bytes.insert(bytes.end(), piece.begin(), piece.begin() + n);
    } catch (const std::bad_alloc&) {
      cause = Named(path) + " does not fit in memory";
      return false;
    }
  }
}

// Room for a regular file's whole size at once, so that a file too large fails before reading.
bool Reserve(int fd, const std::string& path, std::vector<std::uint8_t>& bytes,
             std::string& cause) {
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    cause = "cannot read " + Named(path) + ": " + std::strerror(errno);
    return false;
  }
  if (S_ISDIR(info.st_mode)) {
    cause = Named(path) + " is a directory";
    return false;
  }
  if (!S_ISREG(info.st_mode)) return true;
  if (static_cast<std::uint64_t>(info.st_size) > kMaxRawBlockBytes) {
    cause = TooLarge(path);
    return false;
  }
  try {
    bytes.reserve(static_cast<std::size_t>(info.st_size));
  } catch (const std::bad_alloc&) {
    cause = Named(path) + " (" + std::to_string(info.st_size) + " bytes) does not fit in memory";
    return false;
  }
  return true;
}

}  // namespace

bool ReadInputFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& cause) {
  bytes.clear();
  const bool from_stdin = path == "-";
  const int fd = from_stdin ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    cause = "cannot open " + path + ": " + std::strerror(errno);
    return false;
  }
  const bool read = Reserve(fd, path, bytes, cause) && ReadAll(fd, path, bytes, cause);
  if (!from_stdin) ::close(fd);
  if (!read) {
    bytes.clear();
    bytes.shrink_to_fit();
  }
  return read;
}

}  // namespace vantrel::cli
