#pragma once

#include <string>
#include <string_view>

#include "common/result_code.h"
#include "link/link_layer.h"
#include "net/net_settings.h"

namespace vantrel {

inline constexpr std::string_view kNetDhcpCommand = "NET DHCP\r\n";

// Why operation 16 or 17 would refuse these settings, or empty when they can be sent. Front
// ends ask first to show the reason; the operations check again so nothing unsafe goes out.
std::string AddressCommandRefusal(const NetSettings& settings);
std::string NameCommandRefusal(const NetSettings& settings);

// Operation 16: "NET DHCP" for AddressMode 1, otherwise "NET IP" with the three addresses.
// One write, no reply. Refused settings give 5 without opening the link.
ResultCode SetNetworkAddress(LinkLayer& link, InterfaceKind interface, const NetSettings& settings);

// Operation 17: "NET NAME" with PrinterName. One write, no reply; refused as operation 16.
ResultCode SetNetworkName(LinkLayer& link, InterfaceKind interface, const NetSettings& settings);

// Operation 18: the interface announcement, then the address, gateway, mask, last used address,
// name and MAC questions. A failure up to the last used address ends it with that code; a
// printer that does not answer the name or MAC question leaves those texts empty and succeeds.
// SetKind and Confirmed are not touched.
ResultCode ReadNetworkSettings(LinkLayer& link, InterfaceKind interface, NetSettings& settings);

}  // namespace vantrel
