#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "link/link_settings.h"
#include "link/transport.h"

namespace vantrel {

// "LPT1".."LPT4" (any case) -> /dev/lp0../dev/lp3; an absolute path as it is; otherwise nullopt.
std::optional<std::string> ParallelPortDevice(std::string_view name);

// The LPT link: a one-way port written with one blocking write per WriteLink. It has no reply
// channel, so readers fail at once.
class ParallelTransport : public Transport {
 public:
  // Opens the existing device for this connection alone. Returns null with the reason in `cause`.
  static std::unique_ptr<ParallelTransport> Open(const ParallelPortName& port, std::string& cause);
  ~ParallelTransport() override;
  ParallelTransport(const ParallelTransport&) = delete;
  ParallelTransport& operator=(const ParallelTransport&) = delete;

  std::size_t ChunkSize() const override { return kWholeBuffer; }
  std::size_t RefillSize() const override { return 0; }
  bool CanReceive() const override { return false; }
  int Handle() const override { return fd_; }

  // Blocks until every byte is taken; the device's own time-outs are the only bound.
  bool WriteChunk(std::span<const std::uint8_t> chunk, bool more_follows) override;
  std::size_t Refill(std::span<std::uint8_t> into) override;

 private:
  ParallelTransport(int fd, std::string device) : fd_(fd), device_(std::move(device)) {}

  int fd_;
  std::string device_;
};

}  // namespace vantrel
