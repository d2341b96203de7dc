#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "net/mac_text.h"
#include "servers/sim_udp_responder.h"

namespace vantrel::testing {

// A request as the simulated printers received it, reduced to what the tests compare.
struct SeenRequest {
  std::uint16_t opcode = 0;
  std::uint8_t item = 0;  // of a get (byte 32) or a set (byte 34)
  std::uint16_t sequence = 0;
  std::size_t size = 0;
  std::string target;  // MAC text

  bool operator==(const SeenRequest&) const = default;
};

inline std::vector<SeenRequest> SeenRequests(const sim::SimUdpResponder& responder) {
  std::vector<SeenRequest> seen;
  for (const std::vector<std::uint8_t>& datagram : responder.Received()) {
    if (datagram.size() < 32) continue;
    SeenRequest request;
    request.opcode = static_cast<std::uint16_t>(datagram[8] << 8 | datagram[9]);
    const std::size_t item_offset = request.opcode == 3 ? 32 : 34;
    request.item = item_offset < datagram.size() ? datagram[item_offset] : 0;
    request.sequence = static_cast<std::uint16_t>(datagram[12] << 8 | datagram[13]);
    request.size = datagram.size();
    MacAddress mac{};
    std::copy(datagram.begin() + 22, datagram.begin() + 28, mac.begin());
    request.target = FormatMacText(mac);
    seen.push_back(request);
  }
  return seen;
}

}  // namespace vantrel::testing
