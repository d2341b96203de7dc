#include "link/transport_opener.h"

#include "link/tcp_transport.h"

namespace vantrel {

std::unique_ptr<Transport> OpenSystemTransport(InterfaceKind interface,
                                               const BoundLinkSettings& settings,
                                               const LinkWaits& waits, std::string& cause) {
  switch (interface) {
    case kInterfaceEthernet: return TcpTransport::Connect(*settings.network, waits, cause);
    case kInterfaceUsb: cause = "this build has no USB link"; return nullptr;
    case kInterfaceCom: cause = "this build has no serial link"; return nullptr;
    case kInterfaceLpt: cause = "this build has no parallel link"; return nullptr;
  }
  cause = "unknown interface";
  return nullptr;
}

}  // namespace vantrel
