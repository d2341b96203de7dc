#pragma once

#include <chrono>

namespace vantrel {

enum class WaitResult { kReady, kTimedOut, kFailed };

// Waits for the events on a descriptor until a deadline on the steady clock; survives EINTR.
// kReady also covers hang-up and error conditions: the following call reports them.
WaitResult WaitForDescriptor(int fd, short events, std::chrono::milliseconds wait);

}  // namespace vantrel
