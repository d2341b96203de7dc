#pragma once

#include <memory>
#include <string>

#include "common/unique_fd.h"
#include "link/descriptor_write.h"
#include "link/link_settings.h"
#include "link/transport.h"

namespace vantrel {

// The LPT link: a one-way port that takes each WriteLink whole. It has no reply channel, so
// readers fail at once.
//
// The device is opened write-only: opened for reading too, a FIFO would be its own reader and
// take bytes that nobody ever gets. A FIFO that has no reader yet is opened at the first write.
class ParallelTransport : public Transport {
 public:
  // Opens the existing device for this connection alone.
  static Outcome<std::unique_ptr<ParallelTransport>> Open(const ParallelPortName& port,
                                                          const LinkWaits& waits = LinkWaits{});
  ~ParallelTransport() override;

  // Each step of kWriteStep bytes must be taken within waits.com_write plus
  // waits.com_write_per_byte per byte, as on the serial link.
  LinkFailure WriteChunk(std::span<const std::uint8_t> chunk, bool more_follows) override;
  Received Refill(std::span<std::uint8_t> into) override;

  static constexpr std::size_t kWriteStep = 64;

 private:
  ParallelTransport(UniqueFd fd, bool writable, std::string device, const LinkWaits& waits)
      : Transport({}),
        fd_(std::move(fd)),
        writable_(writable),
        device_(std::move(device)),
        waits_(waits) {}
  bool OpenForWriting(Deadline deadline);
  LinkFailure WriteStep(std::span<const std::uint8_t> step);

  // The device; until a FIFO's reader appears, a path-only handle that keeps the number.
  UniqueFd fd_;
  bool writable_;
  std::string device_;
  LinkWaits waits_;
};

}  // namespace vantrel
