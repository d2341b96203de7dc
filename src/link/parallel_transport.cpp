#include "link/parallel_transport.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <thread>

#include "link/device_open_error.h"
#include "link/parallel_port_device.h"

namespace vantrel {
namespace {

constexpr std::string_view kAccessHint =
    "add the user to the group that owns the device (usually lp) and log in again";
// How often the open of a FIFO without reader is tried again.
constexpr std::chrono::milliseconds kRetryPause{10};

// A FIFO whose reader has gone answers a write with SIGPIPE, which would end the program. While
// an object lives the signal is held back on this thread; one raised meanwhile is taken away.
class HeldBrokenPipe {
 public:
  HeldBrokenPipe() {
    sigemptyset(&pipe_);
    sigaddset(&pipe_, SIGPIPE);
    sigset_t pending;
    sigpending(&pending);
    was_pending_ = sigismember(&pending, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &pipe_, &previous_);
  }
  ~HeldBrokenPipe() {
    sigset_t pending;
    sigpending(&pending);
    if (!was_pending_ && sigismember(&pending, SIGPIPE) == 1) {
      const timespec now{0, 0};
      sigtimedwait(&pipe_, nullptr, &now);
    }
    pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
  }
  HeldBrokenPipe(const HeldBrokenPipe&) = delete;
  HeldBrokenPipe& operator=(const HeldBrokenPipe&) = delete;

 private:
  sigset_t pipe_;
  sigset_t previous_;
  bool was_pending_ = false;
};

}  // namespace

Outcome<std::unique_ptr<ParallelTransport>> ParallelTransport::Open(const ParallelPortName& port,
                                                                    const LinkWaits& waits) {
  const std::optional<std::string> device = ParallelPortDevice(port.name);
  if (!device) {
    return {
        nullptr,
        {kResultPortOpenError, 0,
         "\"" + port.name + "\" is not a parallel port name (LPT1 to LPT4 or an absolute path)"}};
  }
  // No O_CREAT: only an existing device or file is written.
  int opened = ::open(device->c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  const bool writable = opened >= 0;
  if (!writable && errno == ENXIO) opened = ::open(device->c_str(), O_PATH | O_CLOEXEC);
  UniqueFd fd(opened);
  if (fd.get() < 0) return {nullptr, DeviceOpenFailure(*device, errno, kAccessHint)};
  if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0 && errno != EBADF) {
    const int error = errno == EWOULDBLOCK ? EBUSY : errno;
    return {nullptr, DeviceOpenFailure(*device, error, kAccessHint)};
  }
  return {std::unique_ptr<ParallelTransport>(
              new ParallelTransport(std::move(fd), writable, *device, waits)),
          {}};
}

ParallelTransport::~ParallelTransport() = default;

// Waits for a FIFO's reader by trying the write-only open again; the descriptor replaces the
// path-only one under the same number.
bool ParallelTransport::OpenForWriting(Deadline deadline) {
  for (;;) {
    const UniqueFd fd(::open(device_.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() >= 0) {
      const bool moved = ::dup3(fd.get(), fd_.get(), O_CLOEXEC) >= 0;
      writable_ = moved;
      if (moved) ::flock(fd_.get(), LOCK_EX | LOCK_NB);
      return moved;
    }
    if (errno != ENXIO || std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(kRetryPause);
  }
}

LinkFailure ParallelTransport::WriteChunk(std::span<const std::uint8_t> chunk,
                                          bool /*more_follows*/) {
  const HeldBrokenPipe held;
  for (std::size_t sent = 0; sent < chunk.size(); sent += kWriteStep) {
    LinkFailure failure = WriteStep(chunk.subspan(sent, std::min(kWriteStep, chunk.size() - sent)));
    if (!failure.ok()) return failure;
  }
  return {};
}

LinkFailure ParallelTransport::WriteStep(std::span<const std::uint8_t> step) {
  const PortWrite bound(waits_, step.size(), device_);
  if (!writable_ && !OpenForWriting(bound.deadline)) {
    const int error = errno;
    return {kResultTransmissionError, error,
            error == ENXIO ? "nobody reads " + device_ : bound.stalled};
  }
  return WritePort(fd_.get(), step, bound, device_);
}

Received ParallelTransport::Refill(std::span<std::uint8_t> /*into*/) {
  return {.failure = {kResultReceivingError, 0, "the parallel port cannot receive"}};
}

}  // namespace vantrel
