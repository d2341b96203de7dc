#pragma once

#include <sys/types.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "common/failure.h"
#include "link/link_settings.h"

namespace vantrel {

using Deadline = std::chrono::steady_clock::time_point;

// Waits until `fd` is ready for `events`. Past `deadline` the failure carries `code` and
// `timeout_detail`; a failing wait names `device`. Once `*interrupted` is set (from any
// thread) the wait ends within about a tenth of a second with ECANCELED.
LinkFailure AwaitDescriptor(int fd, short events, Deadline deadline, ResultCode code,
                            std::string timeout_detail, std::string_view device,
                            const std::atomic<bool>* interrupted = nullptr);

// One write(2) or send(2) on a non-blocking descriptor: the count taken, or -1 with errno.
using WriteCall = std::function<ssize_t(std::span<const std::uint8_t>)>;
// Returns once the descriptor can take more, or with the failure that ends the write.
using RoomWait = std::function<LinkFailure()>;

// Writes every byte: goes on after a short or interrupted write and waits through
// `await_room` while the device is full. Failures carry code 2 and name `device`.
LinkFailure WriteAll(std::span<const std::uint8_t> bytes, const WriteCall& write,
                     const RoomWait& await_room, std::string_view device);

// One write to a serial or parallel port: it must be taken by `deadline`, waits.com_write plus
// waits.com_write_per_byte per byte from its start; `stalled` says so when it is not.
struct PortWrite {
  PortWrite(const LinkWaits& waits, std::size_t count, std::string_view device);

  Deadline deadline;
  std::string stalled;
};

// Writes every byte to the port's non-blocking descriptor `fd` within the write's bound;
// its waits end as AwaitDescriptor's do once `*interrupted` is set.
LinkFailure WritePort(int fd, std::span<const std::uint8_t> bytes, const PortWrite& bound,
                      std::string_view device, const std::atomic<bool>* interrupted = nullptr);

}  // namespace vantrel
