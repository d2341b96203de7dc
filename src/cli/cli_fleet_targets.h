#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/failure.h"
#include "common/network_target.h"
#include "common/result_code.h"
#include "net/ipv4_text.h"

namespace vantrel::cli {

// One printer of a fleet: where it is, as the hosts file or the discovery gave it.
struct FleetTarget {
  NetworkTarget network;
  std::string text;  // "ADDRESS:PORT" as reported
  std::string name;  // the name the discovery lists; empty for a hosts file
};

// A hosts file: one ADDRESS, NAME, ADDRESS:PORT or [IPv6]:PORT a line, '#' starts a comment,
// blank lines are skipped, a target given twice counts once. Returns the refusal naming the
// line, or empty.
std::string ParseHostsText(std::string_view text, std::vector<FleetTarget>& targets);

// The directed broadcast address of "ADDRESS/BITS" (an IPv4 address, 0..30 bits); none when the
// text is not of that form.
std::optional<Ipv4Bytes> SubnetBroadcast(std::string_view cidr);

// The printers that answer the discovery (the limited broadcast and the multicast group) and a
// directed broadcast to each subnet, each printer once, on the printers' TCP port 9100.
struct DiscoveredFleet {
  LinkFailure failure;
  std::vector<FleetTarget> targets;
};
DiscoveredFleet DiscoverFleet(const std::vector<Ipv4Bytes>& broadcasts);

}  // namespace vantrel::cli
