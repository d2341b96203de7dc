#include "common/socket_wait.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>

namespace vantrel {

WaitResult WaitForDescriptor(int fd, short events, std::chrono::milliseconds wait) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + wait;
  for (;;) {
    // Rounded up: a wait cut down to 0 ms would make every caller spin until the deadline.
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    pollfd entry{fd, events, 0};
    const int timeout = static_cast<int>(std::clamp<long long>(left.count(), 0, 1'000'000'000));
    const int ready = ::poll(&entry, 1, timeout);
    if (ready > 0) return WaitResult::kReady;
    if (ready == 0) {
      if (Clock::now() >= deadline) return WaitResult::kTimedOut;
      continue;
    }
    if (errno != EINTR) return WaitResult::kFailed;
  }
}

}  // namespace vantrel
