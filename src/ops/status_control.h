#pragma once

#include "common/result_code.h"
#include "common/status_flags.h"
#include "link/link_layer.h"

namespace vantrel {

inline constexpr std::string_view kStatusQuery = "\x1b!?";
inline constexpr std::string_view kDetailQuery = "\x1b!S\r\n";
inline constexpr std::string_view kFactoryDefaultCommand = "INITIALPRINTER\r\n";
inline constexpr std::string_view kConfigurationPageCommand = "SELFTEST\r\n";
inline constexpr std::string_view kResetCommand = "\x1b!R";
inline constexpr std::string_view kIgnoreAutoBasCommand = "\x1b!C";

// Reads the status byte and the ribbon detail. A missing or short detail reply is no error.
ResultCode QueryStatus(LinkLayer& link, InterfaceKind interface, StatusFlags& flags);
ResultCode FactoryDefault(LinkLayer& link, InterfaceKind interface);
ResultCode PrintConfigurationPage(LinkLayer& link, InterfaceKind interface);
ResultCode ResetPrinter(LinkLayer& link, InterfaceKind interface);
ResultCode IgnoreAutoBas(LinkLayer& link, InterfaceKind interface);
// Opens and closes the link only.
ResultCode ProbeLink(LinkLayer& link, InterfaceKind interface);

}  // namespace vantrel
