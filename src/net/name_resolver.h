#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/failure.h"

namespace vantrel {

// The address a connection to a name goes to, as numeric text, and its IPv4 value (host order)
// when it is one.
struct ResolvedName {
  std::string text;
  std::optional<std::uint32_t> ipv4;
};

// Asks the system's resolver once, as NameLookup does. Printers are IPv4 devices first: a name
// with addresses of both kinds gives its first IPv4 one.
Outcome<std::optional<ResolvedName>> ResolveName(const std::string& name);

}  // namespace vantrel
