#include "link/descriptor_write.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

#include "common/socket_wait.h"
#include "link/link_cancel.h"

namespace vantrel {
namespace {

// A printer device without poll support reports room at once yet takes nothing: after a wait
// that brought no progress, pause instead of spinning.
constexpr std::chrono::milliseconds kRetryPause{10};
// An interruptible wait polls in slices of this length and looks for the interrupt between them.
constexpr std::chrono::milliseconds kInterruptSlice{100};

LinkFailure SystemFailure(ResultCode code, int error, const std::string& what) {
  return {code, error, what + ": " + std::strerror(error)};
}

}  // namespace

LinkFailure AwaitDescriptor(int fd, short events, Deadline deadline, ResultCode code,
                            std::string timeout_detail, std::string_view device,
                            const std::atomic<bool>* interrupted) {
  for (;;) {
    if (interrupted != nullptr && *interrupted) return CancelledFailure(code);
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return {code, ETIMEDOUT, std::move(timeout_detail)};
    const auto slice = interrupted != nullptr ? std::min(left, kInterruptSlice) : left;
    switch (WaitForDescriptor(fd, events, slice)) {
      case WaitResult::kReady:
        return {};
      case WaitResult::kTimedOut:
        continue;
      case WaitResult::kFailed:
        break;
    }
    const int error = errno;
    return SystemFailure(code, error, "waiting on " + std::string(device) + " failed");
  }
}

LinkFailure WriteAll(std::span<const std::uint8_t> bytes, const WriteCall& write,
                     const RoomWait& await_room, std::string_view device) {
  bool waited = false;
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = write(bytes.subspan(sent));
    if (n > 0) {
      sent += static_cast<std::size_t>(n);
      waited = false;
      continue;
    }
    const int error = errno;
    if (n < 0 && error == EINTR) continue;
    if (n < 0 && (error == EAGAIN || error == EWOULDBLOCK)) {
      if (waited) std::this_thread::sleep_for(kRetryPause);
      waited = true;
      if (LinkFailure failure = await_room(); !failure.ok()) return failure;
      continue;
    }
    if (n == 0) return {kResultTransmissionError, 0, std::string(device) + " took no more data"};
    return SystemFailure(kResultTransmissionError, error,
                         "writing to " + std::string(device) + " failed");
  }
  return {};
}

PortWrite::PortWrite(const LinkWaits& waits, std::size_t count, std::string_view device) {
  const auto bound = waits.com_write + waits.com_write_per_byte * static_cast<int>(count);
  deadline = std::chrono::steady_clock::now() + bound;
  stalled = std::string(device) + " took no data for " + std::to_string(bound.count()) + " ms";
}

LinkFailure WritePort(int fd, std::span<const std::uint8_t> bytes, const PortWrite& bound,
                      std::string_view device, const std::atomic<bool>* interrupted) {
  const auto write = [fd](std::span<const std::uint8_t> rest) {
    return ::write(fd, rest.data(), rest.size());
  };
  const auto await_room = [&] {
    return AwaitDescriptor(fd, POLLOUT, bound.deadline, kResultTransmissionError, bound.stalled,
                           device, interrupted);
  };
  return WriteAll(bytes, write, await_room, device);
}

}  // namespace vantrel
