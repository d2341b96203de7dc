#pragma once

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "link/link_settings.h"
#include "link/transport.h"

namespace vantrel {

// The ETHERNET link: one TCP connection to the printer's data port for one operation.
//
// Each question is a short write awaiting an answer, so Nagle's algorithm is off
// (TCP_NODELAY). Bulk writes tell the socket that more data follows (MSG_MORE), so a large
// block still leaves in full segments and only its last piece is pushed at once. The chunks of
// one block are gathered into 64 KiB sends: the bytes and their order are the same, but a large
// download costs a sixty-fourth of the system calls.
class TcpTransport : public Transport {
 public:
  static constexpr int kHandle = 1;
  static constexpr std::size_t kChunkSize = 1024;
  static constexpr std::size_t kRefillSize = 4096;
  static constexpr std::size_t kGatherSize = std::size_t{64} * 1024;

  // Resolves the target's address (a dotted address or a name) and connects within
  // waits.net_connect. Returns null with the reason in `cause`.
  static std::unique_ptr<TcpTransport> Connect(const NetworkTarget& target, const LinkWaits& waits,
                                               std::string& cause);
  ~TcpTransport() override;

  std::size_t ChunkSize() const override { return kChunkSize; }
  std::size_t RefillSize() const override { return kRefillSize; }
  int Handle() const override { return kHandle; }

  // A chunk that takes no byte within waits.net_write is tried again, up to
  // waits.net_write_attempts waits in a row; a short write goes on from the first unsent byte.
  bool WriteChunk(std::span<const std::uint8_t> chunk, bool more_follows) override;
  std::size_t Refill(std::span<std::uint8_t> into) override;
  // Waits up to waits.net_close for the printer to take the last bytes written.
  bool Finish() override;

 private:
  TcpTransport(int fd, const LinkWaits& waits) : fd_(fd), waits_(waits) {}
  bool WaitUntilWritable();
  enum class PeerState { kOpen, kEnded, kBroken };
  PeerState DiscardIncoming();
  void FinishSending();
  bool SendAll(std::span<const std::uint8_t> bytes, bool more_follows);

  int fd_;
  LinkWaits waits_;
  bool write_failed_ = false;
  bool read_failed_ = false;
  // Bytes were written and no answer has come since.
  bool unconfirmed_write_ = false;
  // Chunks taken but not yet sent; always sent by the block's last chunk.
  std::vector<std::uint8_t> gathered_;
};

}  // namespace vantrel
