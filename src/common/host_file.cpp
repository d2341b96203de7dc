#include "common/host_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <new>
#include <system_error>

#include "common/unique_fd.h"

namespace vantrel {
namespace {

HostFileResult Failure(HostFileError error, std::string_view what,
                       const std::filesystem::path& path, int error_number) {
  return {error, std::string(what) + " " + path.string() + ": " +
                     std::generic_category().message(error_number)};
}

// Reads to the end of the file, failing with EFBIG once more than `max_bytes` have come.
// `expected` is the size the file had when opened; one byte more shows its end at once.
bool ReadToEnd(int fd, std::size_t expected, std::size_t max_bytes,
               std::vector<std::uint8_t>& bytes) {
  bytes.resize(std::min(expected, max_bytes) + 1);
  std::size_t got = 0;
  for (;;) {
    if (got == bytes.size()) {
      if (got > max_bytes) {
        errno = EFBIG;
        return false;
      }
      bytes.resize(std::min(max_bytes + 1, 2 * got));
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

}  // namespace

HostFileResult ReadHostFile(const std::filesystem::path& path, std::size_t max_bytes,
                            std::vector<std::uint8_t>& bytes) {
  bytes.clear();
  // Non-blocking, so that a FIFO chosen by mistake cannot hang the open; it is refused below.
  const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (fd.get() < 0) return Failure(HostFileError::kOpen, "cannot open", path, errno);
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) {
    return Failure(HostFileError::kOpen, "cannot open", path, errno);
  }
  if (!S_ISREG(info.st_mode)) {
    return {HostFileError::kOpen, path.string() + " is not a regular file"};
  }
  const auto size = static_cast<std::uintmax_t>(info.st_size);
  if (size > max_bytes) {
    return {HostFileError::kTooLarge, path.string() + " has " + std::to_string(size) +
                                          " bytes; at most " + std::to_string(max_bytes) +
                                          " can be taken"};
  }
  try {
    if (!ReadToEnd(fd.get(), static_cast<std::size_t>(size), max_bytes, bytes)) {
      const int error = errno;
      bytes.clear();
      if (error == EFBIG) {
        return {HostFileError::kTooLarge,
                path.string() + " grew beyond " + std::to_string(max_bytes) + " bytes while read"};
      }
      return Failure(HostFileError::kRead, "cannot read", path, error);
    }
  } catch (const std::bad_alloc&) {
    bytes = {};
    return {HostFileError::kTooLarge,
            "not enough memory to hold " + path.string() + " (" + std::to_string(size) + " bytes)"};
  }
  return {};
}

}  // namespace vantrel
