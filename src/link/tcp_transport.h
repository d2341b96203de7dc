#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>

#include "common/unique_fd.h"
#include "link/link_cancel.h"
#include "link/link_settings.h"
#include "link/tcp_acknowledged.h"
#include "link/transport.h"

namespace vantrel {

// The ETHERNET link: one TCP connection to the printer's data port for one operation.
//
// Each question is a short write awaiting an answer, so Nagle's algorithm is off
// (TCP_NODELAY). Bulk writes tell the socket that more data follows (MSG_MORE), so a large
// block still leaves in full segments and only its last piece is pushed at once. The chunks of
// one block are gathered into sends of up to kGatherSize: the bytes and their order are the
// same, but a large download costs a fraction of the system calls. The chunks are pieces of the
// caller's one buffer, which lives until the block's last chunk, so gathering copies nothing.
class TcpTransport : public Transport {
 public:
  // The connection is held here, so the handle is the constant 1.
  static constexpr TransportShape kShape{.chunk_size = 1024, .refill_size = 4096};
  static constexpr std::size_t kGatherSize = std::size_t{64} * 1024;

  // Resolves the target's address (a dotted address or a name) and connects within
  // waits.net_connect; a cancel ends the attempt at once.
  static Outcome<std::unique_ptr<TcpTransport>> Connect(const NetworkTarget& target,
                                                        const LinkWaits& waits,
                                                        LinkCancel* cancel = nullptr);
  ~TcpTransport() override;

  // A chunk that takes no byte within waits.net_write times waits.net_write_attempts fails; a
  // short write goes on from the first unsent byte.
  LinkFailure WriteChunk(std::span<const std::uint8_t> chunk, bool more_follows) override;
  Received Refill(std::span<std::uint8_t> into) override;
  // Waits for the printer to acknowledge the last bytes written, as long as it acknowledges
  // more within each StallLimit(), then up to waits.net_close for it to end its side.
  LinkFailure Finish() override;
  void Interrupt() override;
  void HoldWrites(bool hold) override;

 private:
  TcpTransport(UniqueFd fd, const LinkWaits& waits, std::string peer)
      : Transport(kShape),
        fd_(std::move(fd)),
        waits_(waits),
        peer_(std::move(peer)),
        acknowledged_at_connect_(AcknowledgedBytes(fd_.get()).value_or(0)) {}
  enum class PeerState { kOpen, kEnded, kBroken };
  // How long the printer may take no byte, while writing and while acknowledging at close.
  std::chrono::milliseconds StallLimit() const {
    return waits_.net_write * waits_.net_write_attempts;
  }
  PeerState DiscardIncoming();
  // The error the connection met, taking it; 0 when none.
  int PendingError() const;
  // Of the bytes sent, how many the printer has not acknowledged; nothing where the system does
  // not say.
  std::optional<std::uint64_t> Unacknowledged() const;
  LinkFailure SendAll(std::span<const std::uint8_t> bytes, bool more_follows);

  UniqueFd fd_;
  LinkWaits waits_;
  // "host:port", naming the printer in failures.
  std::string peer_;
  std::uint64_t acknowledged_at_connect_;
  std::uint64_t bytes_sent_ = 0;
  bool write_failed_ = false;
  bool read_failed_ = false;
  // Bytes were written and no answer has come since.
  bool unconfirmed_write_ = false;
  // Chunks taken but not yet sent, adjoining in the caller's buffer; always sent by the block's
  // last chunk.
  std::span<const std::uint8_t> gathered_;
};

}  // namespace vantrel
