#pragma once

#include <algorithm>
#include <chrono>
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

  // One refill: waits up to the transport's read wait, cut to the reply deadline, and places
  // what arrived at the start of `into` (never more than into.size()). Returns the count; 0 when
  // nothing came in time or the printer closed the connection.
  virtual std::size_t Refill(std::span<std::uint8_t> into) = 0;

  // Ends the connection before the destructor runs. False when the printer cannot be known to
  // have taken every byte written; cause() then says why.
  virtual bool Finish() { return true; }

  // The whole reply being read must be in by then; every refill wait stops there too.
  void SetReplyDeadline(std::chrono::steady_clock::time_point deadline) {
    reply_deadline_ = deadline;
  }

  // Why the last failing call failed, for the user ("connection reset by the printer").
  const std::string& cause() const { return cause_; }
  // True once the printer closed, reset or hung up the connection: no more bytes will come.
  bool lost() const { return lost_; }

 protected:
  void SetCause(std::string cause) { cause_ = std::move(cause); }
  void SetLost(std::string cause) {
    lost_ = true;
    SetCause(std::move(cause));
  }
  // `wait`, or less when the reply deadline comes first. Never below 1 ms: a wait of 0 means
  // "do not wait" to poll() but "wait for ever" to a USB transfer. The link layer does not
  // refill once the deadline has passed.
  std::chrono::milliseconds WithinReply(std::chrono::milliseconds wait) const {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(
        reply_deadline_ - std::chrono::steady_clock::now());
    return std::max(std::chrono::milliseconds(1), std::min(wait, left));
  }

 private:
  std::string cause_;
  bool lost_ = false;
  std::chrono::steady_clock::time_point reply_deadline_ =
      std::chrono::steady_clock::time_point::max();
};

}  // namespace vantrel
