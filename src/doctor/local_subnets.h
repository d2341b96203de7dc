#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantrel {

// One IPv4 address of this machine and its network mask, in host byte order.
struct LocalSubnet {
  std::string interface;
  std::uint32_t address = 0;
  std::uint32_t mask = 0;
};

// The IPv4 addresses of the interfaces that are up, read from the system: nothing is sent.
std::vector<LocalSubnet> ListLocalSubnets();

// The first local subnet that holds `address` (host byte order).
std::optional<LocalSubnet> FindLocalSubnet(std::uint32_t address,
                                           const std::vector<LocalSubnet>& subnets);

// The directed broadcast address of the /24 around `address`, for the discovery hint:
// the printer's own mask is not known here.
std::string NeighbourhoodBroadcast(std::uint32_t address);

// "10.0.0.5/24".
std::string DescribeSubnet(const LocalSubnet& subnet);

}  // namespace vantrel
