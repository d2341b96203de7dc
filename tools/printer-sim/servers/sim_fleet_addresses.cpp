#include "servers/sim_fleet_addresses.h"

#include "state/sim_net_state.h"

namespace vantrel::sim {
namespace {

// 127.255.255.255, the range's broadcast address, is left out.
constexpr std::uint32_t kLoopbackFirst = 0x7F000000;
constexpr std::uint32_t kLoopbackLast = 0x7FFFFFFE;

std::uint32_t NumberOf(const SimIpv4& address) {
  return std::uint32_t{address[0]} << 24 | std::uint32_t{address[1]} << 16 |
         std::uint32_t{address[2]} << 8 | address[3];
}

SimFleetPoints ConsecutiveHosts(const SimFleetLayout& layout) {
  const auto first = ParseSimIpv4(layout.host);
  if (!first || NumberOf(*first) < kLoopbackFirst || NumberOf(*first) > kLoopbackLast) {
    return {{}, {"consecutive hosts need an IPv4 host in 127.0.0.0/8, not " + layout.host}};
  }
  if (std::uint64_t{NumberOf(*first)} + layout.count - 1 > kLoopbackLast) {
    return {{},
            {std::to_string(layout.count) + " consecutive hosts from " + layout.host +
             " run past 127.255.255.254, the end of the loopback range"}};
  }
  SimFleetPoints result;
  for (std::size_t i = 0; i < layout.count; ++i) {
    result.points.push_back({SimIpv4Text(SimIpv4Plus(*first, i)), layout.port});
  }
  return result;
}

SimFleetPoints ConsecutivePorts(const SimFleetLayout& layout) {
  if (layout.port != 0 && layout.port + (layout.count - 1) > 65535) {
    return {{},
            {std::to_string(layout.count) + " printers from port " + std::to_string(layout.port) +
             " run past port 65535"}};
  }
  SimFleetPoints result;
  for (std::size_t i = 0; i < layout.count; ++i) {
    const std::size_t port = layout.port == 0 ? 0 : layout.port + i;
    result.points.push_back({layout.host, static_cast<std::uint16_t>(port)});
  }
  return result;
}

}  // namespace

SimFleetPoints SimFleetListenPoints(const SimFleetLayout& layout) {
  if (layout.count == 0) return {{}, {"a fleet needs at least one printer"}};
  return layout.consecutive_hosts ? ConsecutiveHosts(layout) : ConsecutivePorts(layout);
}

}  // namespace vantrel::sim
