#include "net/network_target_entry.h"

#include "net/address_port.h"

namespace vantrel {

void ApplyOpeningTarget(NetworkTarget& target, const std::vector<DeviceListRow>& rows) {
  if (!target.address.empty()) return;
  target.address = rows.empty() ? std::string(kFallbackTargetAddress) : rows.front().ip_address;
}

std::string StoreTargetEntry(NetworkTarget& target, std::string_view address,
                             std::string_view port_text) {
  const PortNumber port = ParsePort(port_text);
  if (!port.error.empty()) return port.error;
  AddressPort entry = ParseAddress(address);
  if (!entry.ok()) return entry.error;
  target.address = std::move(entry.address);
  target.port = port.port;
  return {};
}

}  // namespace vantrel
