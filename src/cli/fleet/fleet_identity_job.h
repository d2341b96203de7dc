#pragma once

#include <span>
#include <string_view>

#include "cli/fleet/fleet_run.h"

namespace vantrel::cli {

// What a printer is and holds: version, serial number, checksum and mileage from a
// configuration read, its resolution, its network settings and the free space of each memory:
// "unchanged". A question the printer does not know (an older printer) leaves its values null;
// a lost link fails the printer.
FleetJob IdentityJob();

// The keys of the identity's values, in the order of the inventory's columns.
std::span<const std::string_view> IdentityKeys();

}  // namespace vantrel::cli
