#include "ops/host_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vantrel {
namespace {

// Closes the descriptor on every path.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

std::string Failure(const std::string& what, const std::string& path) {
  return what + " " + path + ": " + std::strerror(errno);
}

bool ReadFully(int fd, std::vector<std::uint8_t>& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n == 0) errno = 0;  // the file ended early, no system error
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

HostFile ReadHostFile(const std::string& path, std::uint64_t max_bytes) {
  HostFile file;
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) {
    file.error = Failure("cannot open", path);
    return file;
  }
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) {
    file.error = Failure("cannot read", path);
    return file;
  }
  if (!S_ISREG(info.st_mode)) {
    file.error = path + " is not a regular file";
    return file;
  }
  const auto size = static_cast<std::uint64_t>(info.st_size);
  if (size > max_bytes) {
    file.error = path + " holds " + std::to_string(size) + " bytes, more than the " +
                 std::to_string(max_bytes) + " that can be sent";
    return file;
  }
  file.bytes.resize(size);
  if (!ReadFully(fd.get(), file.bytes)) {
    file.error = errno != 0 ? Failure("cannot read", path) : path + " shrank while being read";
    file.bytes.clear();
  }
  return file;
}

}  // namespace vantrel
