#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <string>

namespace vantrel {

// One open connection of one interface kind. The link layer above it does the chunking,
// the receive rings and the reply parsing; a transport only moves bytes.
// Closing happens in the destructor, which restores whatever opening changed.
class Transport {
 public:
  static constexpr std::size_t kWholeBuffer = std::numeric_limits<std::size_t>::max();

  virtual ~Transport() = default;

  // The largest piece WriteLink hands to WriteChunk at once; kWholeBuffer for one write.
  virtual std::size_t ChunkSize() const = 0;
  // The most bytes one Refill may deliver.
  virtual std::size_t RefillSize() const = 0;
  // False for a link without a reply channel: readers then fail at once.
  virtual bool CanReceive() const { return true; }
  // The handle OpenLink reports for this connection.
  virtual int Handle() const = 0;

  // Sends the whole chunk or fails. `more_follows` tells that the same write continues at
  // once with another chunk, so the transport may hold the bytes back briefly.
  virtual bool WriteChunk(std::span<const std::uint8_t> chunk, bool more_follows) = 0;

  // One refill: waits up to the transport's read wait and places what arrived at the start of
  // `into` (never more than into.size()). Returns the count; 0 when nothing came in time or the
  // printer closed the connection.
  virtual std::size_t Refill(std::span<std::uint8_t> into) = 0;

  // Why the last failing call failed, for the user ("connection reset by the printer").
  const std::string& cause() const { return cause_; }

 protected:
  void SetCause(std::string cause) { cause_ = std::move(cause); }

 private:
  std::string cause_;
};

}  // namespace vantrel
