#pragma once

#include <functional>
#include <memory>

#include "common/interface_kind.h"
#include "link/link_cancel.h"
#include "link/link_settings.h"
#include "link/transport.h"

namespace vantrel {

// The settings records the main window owns, as bound to the link layer; read afresh at every open.
struct BoundLinkSettings {
  const SerialSettings* serial = nullptr;
  const ParallelPortName* parallel = nullptr;
  const NetworkTarget* network = nullptr;
  // The link's cancel, which a connection attempt listens to; none for a bare opener call.
  LinkCancel* cancel = nullptr;
};

// An open connection, or why none could be opened.
using OpenedTransport = Outcome<std::unique_ptr<Transport>>;

// Opens one connection of the given kind.
using TransportOpener = std::function<OpenedTransport(
    InterfaceKind interface, const BoundLinkSettings& settings, const LinkWaits& waits)>;

// The operating system's transports: the one used unless a test supplies its own.
OpenedTransport OpenSystemTransport(InterfaceKind interface, const BoundLinkSettings& settings,
                                    const LinkWaits& waits);

// The opened connection of a concrete kind, as any transport.
template <typename Concrete>
OpenedTransport AsTransport(Outcome<std::unique_ptr<Concrete>> opened) {
  return {std::move(opened.value), std::move(opened.failure)};
}

}  // namespace vantrel
