#include "net/network_target_entry.h"

#include <charconv>

namespace vantrel {

void ApplyOpeningTarget(NetworkTarget& target, const std::vector<DeviceListRow>& rows) {
  if (!target.address.empty()) return;
  target.address = rows.empty() ? std::string(kFallbackTargetAddress) : rows.front().ip_address;
}

std::string StoreTargetEntry(NetworkTarget& target, std::string_view address,
                             std::string_view port_text) {
  int port = 0;
  const char* end = port_text.data() + port_text.size();
  const auto [stop, error] = std::from_chars(port_text.data(), end, port);
  if (port_text.empty() || error != std::errc() || stop != end) {
    std::string message = "'";
    message.append(port_text).append("' is not a valid integer value");
    return message;
  }
  if (port < 1 || port > 65535) return "Port " + std::to_string(port) + " is not from 1 to 65535";
  if (address.size() > NetworkTarget::kAddressCapacity) {
    return "The address is longer than " + std::to_string(NetworkTarget::kAddressCapacity) +
           " characters";
  }
  target.address.assign(address);
  target.port = port;
  return {};
}

}  // namespace vantrel
