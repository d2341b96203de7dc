#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "common/failure.h"

namespace vantrel {

using Deadline = std::chrono::steady_clock::time_point;

// Waits until `fd` is ready for `events`. Past `deadline` the failure carries `code` and
// `timeout_detail`; a failing wait names `device`.
LinkFailure AwaitDescriptor(int fd, short events, Deadline deadline, ResultCode code,
                            std::string timeout_detail, std::string_view device);

// One write(2) or send(2) on a non-blocking descriptor: the count taken, or -1 with errno.
using WriteCall = std::function<ssize_t(std::span<const std::uint8_t>)>;
// Returns once the descriptor can take more, or with the failure that ends the write.
using RoomWait = std::function<LinkFailure()>;

// Writes every byte: goes on after a short or interrupted write and waits through
// `await_room` while the device is full. Failures carry code 2 and name `device`.
LinkFailure WriteAll(std::span<const std::uint8_t> bytes, const WriteCall& write,
                     const RoomWait& await_room, std::string_view device);

}  // namespace vantrel
