#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/network_target.h"
#include "net/discovery_reply.h"

namespace vantrel {

// The address a network setup dialog proposes when it opens on an empty target.
inline constexpr std::string_view kFallbackTargetAddress = "192.168.1.100";

// On opening, after the first discovery: an empty target address takes the first row's
// address, or the fallback when nothing answered. A non-empty one is kept.
void ApplyOpeningTarget(NetworkTarget& target, const std::vector<DeviceListRow>& rows);

// Stores the dialog's two fields into the target, both or neither: a port or an address that
// ParsePort or ParseAddress refuses leaves it unchanged. Returns the message to show, or empty
// once stored.
std::string StoreTargetEntry(NetworkTarget& target, std::string_view address,
                             std::string_view port_text);

}  // namespace vantrel
