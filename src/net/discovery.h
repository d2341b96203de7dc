#pragma once

#include <cstdint>
#include <vector>

#include "common/failure.h"
#include "net/datagram_targets.h"
#include "net/discovery_reply.h"
#include "net/udp_socket.h"

namespace vantrel {

struct DiscoveryOutcome {
  LinkFailure failure;              // why no socket could be made; ok once one was
  DatagramTally requests;           // the requests the system took: none, and nobody was asked
  std::vector<DeviceListRow> rows;  // one per accepted reply, in arrival order, not de-duplicated
};

// One discovery run on a socket of its own: the request to the broadcast address, replies
// collected until a wait passes without one, then the same request to the multicast group and
// collected again. Blocks for at least two waits and at most targets.discovery_bound.
DiscoveryOutcome RunDiscovery(const DatagramTargets& targets, std::uint16_t sequence);

}  // namespace vantrel
