#include "doctor/local_subnets.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <bit>

#include "net/ipv4_text.h"

namespace vantrel {
namespace {

std::uint32_t HostOrder(const sockaddr* address) {
  return ntohl(reinterpret_cast<const sockaddr_in*>(address)->sin_addr.s_addr);
}

std::string DottedText(std::uint32_t address) {
  return FormatIPv4({static_cast<std::uint8_t>(address >> 24),
                     static_cast<std::uint8_t>(address >> 16),
                     static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address)});
}

}  // namespace

std::vector<LocalSubnet> ListLocalSubnets() {
  std::vector<LocalSubnet> subnets;
  ifaddrs* list = nullptr;
  if (::getifaddrs(&list) != 0) return subnets;
  for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
    if (entry->ifa_addr == nullptr || entry->ifa_netmask == nullptr ||
        entry->ifa_addr->sa_family != AF_INET || (entry->ifa_flags & IFF_UP) == 0) {
      continue;
    }
    subnets.push_back({entry->ifa_name, HostOrder(entry->ifa_addr), HostOrder(entry->ifa_netmask)});
  }
  ::freeifaddrs(list);
  return subnets;
}

std::optional<LocalSubnet> FindLocalSubnet(std::uint32_t address,
                                           const std::vector<LocalSubnet>& subnets) {
  for (const LocalSubnet& subnet : subnets) {
    if ((address & subnet.mask) == (subnet.address & subnet.mask)) return subnet;
  }
  return std::nullopt;
}

std::string NeighbourhoodBroadcast(std::uint32_t address) {
  return DottedText(address | 0xffU);
}

std::string DescribeSubnet(const LocalSubnet& subnet) {
  return DottedText(subnet.address) + "/" + std::to_string(std::popcount(subnet.mask)) + " on " +
         subnet.interface;
}

}  // namespace vantrel
