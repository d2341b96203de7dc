#pragma once

#include <functional>
#include <memory>
#include <string>

#include "common/interface_kind.h"
#include "link/link_settings.h"
#include "link/transport.h"

namespace vantrel {

// The settings records the main window owns, as bound to the link layer; read afresh at every open.
struct BoundLinkSettings {
  const SerialSettings* serial = nullptr;
  const ParallelPortName* parallel = nullptr;
  const NetworkTarget* network = nullptr;
};

// Opens one connection of the given kind, or returns null and says why in `cause`.
using TransportOpener = std::function<std::unique_ptr<Transport>(
    InterfaceKind interface, const BoundLinkSettings& settings, const LinkWaits& waits,
    std::string& cause)>;

// The operating system's transports: the one used unless a test supplies its own.
std::unique_ptr<Transport> OpenSystemTransport(InterfaceKind interface,
                                               const BoundLinkSettings& settings,
                                               const LinkWaits& waits, std::string& cause);

}  // namespace vantrel
