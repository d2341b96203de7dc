#include "net/discovery.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <utility>

#include "net/setup_datagrams.h"
#include "net/udp_socket.h"

namespace vantrel {
namespace {

constexpr std::size_t kReplyBufferSize = 2048;

using Clock = std::chrono::steady_clock;

// Each reply restarts the wait, up to the run's deadline; a short datagram or a failed receive
// is skipped.
void CollectReplies(UdpSocket& socket, std::chrono::milliseconds wait, Clock::time_point deadline,
                    std::vector<DeviceListRow>& rows) {
  std::array<std::uint8_t, kReplyBufferSize> buffer;
  for (;;) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return;
    const UdpSocket::Received received = socket.Receive(buffer, std::min(wait, left));
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
  auto [socket, failure] = UdpSocket::Open();
  outcome.failure = std::move(failure);
  if (!socket) return outcome;
  const DiscoveryRequest request = BuildDiscoveryRequest(sequence);
  const Clock::time_point deadline = Clock::now() + targets.discovery_bound;
  outcome.requests.Count(socket->SendTo(request, targets.broadcast, targets.port));
  CollectReplies(*socket, targets.discovery_wait, deadline, outcome.rows);
  if (targets.multicast && Clock::now() < deadline) {
    outcome.requests.Count(socket->SendTo(request, *targets.multicast, targets.port));
    CollectReplies(*socket, targets.discovery_wait, deadline, outcome.rows);
  }
  return outcome;
}

}  // namespace vantrel
