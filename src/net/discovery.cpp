#include "net/discovery.h"

#include <array>

#include "net/setup_datagrams.h"
#include "net/udp_socket.h"

namespace vantrel {
namespace {

constexpr std::size_t kReplyBufferSize = 2048;

// Each reply restarts the wait; a short datagram or a failed receive is skipped.
void CollectReplies(UdpSocket& socket, std::chrono::milliseconds wait,
                    std::vector<DeviceListRow>& rows) {
  std::array<std::uint8_t, kReplyBufferSize> buffer;
  for (;;) {
    const UdpSocket::Received received = socket.Receive(buffer, wait);
    if (received.arrival == UdpSocket::Arrival::kNothing) return;
    if (received.arrival != UdpSocket::Arrival::kDatagram) continue;
    if (auto row = DecodeDiscoveryReply(std::span(buffer).first(received.length))) {
      rows.push_back(std::move(*row));
    }
  }
}

}  // namespace

DiscoveryOutcome RunDiscovery(const DatagramTargets& targets, std::uint16_t sequence) {
  DiscoveryOutcome outcome;
  std::optional<UdpSocket> socket = UdpSocket::Open(outcome.cause);
  if (!socket) return outcome;
  outcome.socket_opened = true;
  const DiscoveryRequest request = BuildDiscoveryRequest(sequence);
  socket->SendTo(request, targets.broadcast, targets.port);
  CollectReplies(*socket, targets.discovery_wait, outcome.rows);
  if (targets.multicast) {
    socket->SendTo(request, *targets.multicast, targets.port);
    CollectReplies(*socket, targets.discovery_wait, outcome.rows);
  }
  return outcome;
}

}  // namespace vantrel
