// Feeds an arbitrary byte stream, cut into arbitrary refills, to the line and frame readers.
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>

#include "link/link_layer.h"

namespace {

using vantrel::Transport;

// The first byte of the input picks the refill size; the rest is what the printer sends.
class StreamTransport : public Transport {
 public:
  StreamTransport(std::span<const std::uint8_t> stream, std::size_t refill)
      : Transport({.chunk_size = 1024, .refill_size = refill}), stream_(stream) {}
  vantrel::LinkFailure WriteChunk(std::span<const std::uint8_t>, bool) override { return {}; }
  vantrel::Received Refill(std::span<std::uint8_t> into) override {
    if (stream_.empty())
      return {0, vantrel::StreamEnd::kEnded, {vantrel::kResultReceivingError, 0, "end of stream"}};
    const std::size_t n = std::min(into.size(), stream_.size());
    std::memcpy(into.data(), stream_.data(), n);
    stream_ = stream_.subspan(n);
    return {n, vantrel::StreamEnd::kOpen, {}};
  }

 private:
  std::span<const std::uint8_t> stream_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::size_t refill = 1 + data[0] % 64;
  const bool lines_first = (data[1] & 1) != 0;
  const std::span<const std::uint8_t> stream(data + 2, size - 2);
  vantrel::LinkLayer link([&](vantrel::InterfaceKind, const vantrel::BoundLinkSettings&,
                              const vantrel::LinkWaits&) -> vantrel::OpenedTransport {
    return {std::make_unique<StreamTransport>(stream, refill), {}};
  });
  vantrel::LinkWaits waits;
  waits.list_frame_pause = std::chrono::milliseconds(0);
  link.SetWaits(waits);
  if (!link.OpenLink(vantrel::kInterfaceEthernet)) return 0;
  vantrel::ReplyBuffer reply;
  std::array<char, 2048> list;
  std::uint32_t total = 0;
  // Each reader either consumes bytes or fails on an empty stream, so this ends.
  for (int round = 0; round < 4096; ++round) {
    std::uint8_t probe = 0;
    const bool ok =
        (round % 3 == 0) == lines_first ? link.ReadReplyLine(reply) : link.ReadFramedReply(reply);
    if (ok && reply.length > vantrel::ReplyBuffer::kCapacity) __builtin_trap();
    if (round % 7 == 6 && link.QueryFramedList("L\r\n", list, total) == vantrel::kResultOk &&
        total >= list.size()) {
      __builtin_trap();
    }
    if (!link.ReadReplyByte(probe)) break;
  }
  return 0;
}
