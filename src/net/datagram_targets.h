#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

#include "net/ipv4_text.h"

namespace vantrel {

// Where the discovery and setup datagrams go and how long their answers are awaited. The
// addresses are values so that a network that filters the limited broadcast can be given a
// directed one, and tests can use loopback.
struct DatagramTargets {
  static constexpr std::uint16_t kDefaultPort = 22368;

  Ipv4Bytes broadcast = {255, 255, 255, 255};
  std::optional<Ipv4Bytes> multicast = Ipv4Bytes{224, 0, 0, 251};  // none: skip that request
  std::uint16_t port = kDefaultPort;
  // Each discovery reply restarts this wait.
  std::chrono::milliseconds discovery_wait{1000};
  // A whole discovery run ends after this, however many replies keep coming.
  std::chrono::milliseconds discovery_bound{30000};
  // The wait for the answer to each get and set request.
  std::chrono::milliseconds setup_wait{3000};
};

}  // namespace vantrel
