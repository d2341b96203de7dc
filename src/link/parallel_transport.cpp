#include "link/parallel_transport.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "link/device_open_error.h"
#include "link/port_name_number.h"

namespace vantrel {
namespace {

constexpr int kMaxLptPort = 4;
constexpr std::string_view kAccessHint =
    "add the user to the group that owns the device (usually lp) and log in again";

}  // namespace

std::optional<std::string> ParallelPortDevice(std::string_view name) {
  if (name.starts_with('/')) return std::string(name);
  const std::optional<int> number = PortNameNumber(name, "LPT", kMaxLptPort);
  if (!number) return std::nullopt;
  return "/dev/lp" + std::to_string(*number - 1);
}

std::unique_ptr<ParallelTransport> ParallelTransport::Open(const ParallelPortName& port,
                                                           std::string& cause) {
  const std::optional<std::string> device = ParallelPortDevice(port.name);
  if (!device) {
    cause = "\"" + port.name + "\" is not a parallel port name (LPT1 to LPT4 or an absolute path)";
    return nullptr;
  }
  // No O_CREAT: only an existing device or file is written.
  const int fd = ::open(device->c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    cause = DeviceOpenFailure(*device, errno, kAccessHint);
    return nullptr;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    cause = DeviceOpenFailure(*device, errno == EWOULDBLOCK ? EBUSY : errno, kAccessHint);
    ::close(fd);
    return nullptr;
  }
  return std::unique_ptr<ParallelTransport>(new ParallelTransport(fd, *device));
}

ParallelTransport::~ParallelTransport() {
  ::close(fd_);
}

bool ParallelTransport::WriteChunk(std::span<const std::uint8_t> chunk, bool /*more_follows*/) {
  // A device may take a blocking write in parts; only an error ends it early.
  std::size_t sent = 0;
  while (sent < chunk.size()) {
    const ssize_t n = ::write(fd_, chunk.data() + sent, chunk.size() - sent);
    if (n > 0) {
      sent += static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      SetCause(n == 0 ? device_ + " took no more data"
                      : "writing to " + device_ + " failed: " + std::strerror(errno));
      return false;
    }
  }
  return true;
}

std::size_t ParallelTransport::Refill(std::span<std::uint8_t> /*into*/) {
  SetCause("the parallel port cannot receive");
  return 0;
}

}  // namespace vantrel
