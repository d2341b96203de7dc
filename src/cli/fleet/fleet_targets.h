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
  std::string text;  // "ADDRESS:PORT" as reported, spelled as given
  std::string name;  // the name the discovery lists; empty for a hosts file
  // Why its name could not be resolved; the printer is then unreachable without a try.
  LinkFailure unresolved;
  // Item edits for this printer alone, in full key form ("Common.Speed=3"), which `config
  // apply` makes to the document before it is planned and written.
  std::vector<std::string> overrides;
};

// A hosts file: one address with or without its port a line, as ParseAddressPort reads it,
// optionally followed by overrides, KEY=VALUE separated by blanks ("Speed=3 Z.PrintMode=TEAR
// OFF": words without '=' continue the value before them). A key is an item's full key or,
// when only one page has that item, the key without its page ("Speed"). '#' starts a comment,
// blank lines and a leading UTF-8 byte order mark are skipped. Returns the refusal naming the
// first line that is none of these, or whose overrides no document could take; empty when
// every line is right.
std::string ParseHostsText(std::string_view text, std::vector<FleetTarget>& targets);

// The printers an earlier report (the JSON lines of --report or --json) lists as failed or
// unreachable, in its order, with the names and overrides it gives them; the summary and the
// other printers are skipped. Returns the refusal naming the first line that is not a line of a
// report (or whose overrides no document could take), or empty.
std::string ParseRetryText(std::string_view text, std::vector<FleetTarget>& targets);

// Resolves each target's name once, before any printer is worked on, so that its connection
// goes to the address found here; keeps the first of the targets that reach the same address
// and port, whatever their spelling.
void ResolveTargets(std::vector<FleetTarget>& targets);

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
