#pragma once

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>

#include "common/failure.h"

namespace vantrel {

// What the link layer needs to know of a connection; fixed for the connection's life.
struct TransportShape {
  static constexpr std::size_t kWholeBuffer = std::numeric_limits<std::size_t>::max();

  // The largest piece WriteLink hands to WriteChunk at once; kWholeBuffer for one write.
  std::size_t chunk_size = kWholeBuffer;
  // The most bytes one Refill may deliver; 0 for a link without a reply channel.
  std::size_t refill_size = 0;
};

// How a connection stands after a refill that brought nothing.
enum class StreamEnd {
  kOpen,   // nothing came in time; more may come later
  kEnded,  // the printer closed its side in an orderly way: it has said all it will say
  kLost,   // a reset, a hang-up or an error: what came may be cut short
};

// What one refill brought.
struct Received {
  std::size_t count = 0;
  StreamEnd end = StreamEnd::kOpen;
  // Why nothing came, when `count` is 0.
  LinkFailure failure = {};
};

// One open connection of one interface kind. The link layer above it does the chunking,
// the receive rings and the reply parsing; a transport only moves bytes.
// Closing happens in the destructor, which restores whatever opening changed.
class Transport {
 public:
  explicit Transport(const TransportShape& shape) : shape_(shape) {}
  virtual ~Transport() = default;
  Transport(const Transport&) = delete;
  Transport& operator=(const Transport&) = delete;

  const TransportShape& shape() const { return shape_; }

  // Sends the whole chunk or says why not (code 2). `more_follows` tells that the same write
  // continues at once with another chunk, so the transport may hold the bytes back briefly.
  virtual LinkFailure WriteChunk(std::span<const std::uint8_t> chunk, bool more_follows) = 0;

  // One refill: waits up to the transport's read wait, cut to the reply deadline, and places
  // what arrived at the start of `into` (never more than into.size()). A count of 0 comes with
  // the failure (code 3) and how the connection stands.
  virtual Received Refill(std::span<std::uint8_t> into) = 0;

  // Ends the connection before the destructor runs. Fails (code 2) when the printer cannot be
  // known to have taken every byte written.
  virtual LinkFailure Finish() { return {}; }

  // While `hold` is on, the transport may keep written bytes back and send them with later
  // ones, for a run of commands that waits for no answer; turning it off sends what it kept,
  // and so does Finish.
  virtual void HoldWrites(bool /*hold*/) {}

  // Called from another thread while Refill or WriteChunk may be waiting: ends that wait at
  // once, and the connection with it. Transports whose waits last a few seconds at most need
  // not; the link stops at its next chunk or refill anyway.
  virtual void Interrupt() {}

  // The whole reply being read must be in by then; every refill wait stops there too.
  void SetReplyDeadline(std::chrono::steady_clock::time_point deadline) {
    reply_deadline_ = deadline;
  }

 protected:
  // `wait`, or less when the reply deadline comes first. Never below 1 ms: a wait of 0 means
  // "do not wait" to poll() but "wait for ever" to a USB transfer. The link layer does not
  // refill once the deadline has passed.
  std::chrono::milliseconds WithinReply(std::chrono::milliseconds wait) const {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(
        reply_deadline_ - std::chrono::steady_clock::now());
    return std::max(std::chrono::milliseconds(1), std::min(wait, left));
  }

 private:
  TransportShape shape_;
  std::chrono::steady_clock::time_point reply_deadline_ =
      std::chrono::steady_clock::time_point::max();
};

}  // namespace vantrel
