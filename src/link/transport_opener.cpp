#include "link/transport_opener.h"

#include "link/parallel_transport.h"
#include "link/serial_transport.h"
#include "link/tcp_transport.h"
#include "link/usb_transport.h"

namespace vantrel {
namespace {

std::unique_ptr<Transport> OpenSystemUsb(const LinkWaits& waits, std::string& cause) {
  std::unique_ptr<UsbDeviceList> devices = OpenSystemUsbDeviceList(cause);
  if (devices == nullptr) return nullptr;
  return UsbTransport::Open(*devices, waits, cause);
}

}  // namespace

std::unique_ptr<Transport> OpenSystemTransport(InterfaceKind interface,
                                               const BoundLinkSettings& settings,
                                               const LinkWaits& waits, std::string& cause) {
  switch (interface) {
    case kInterfaceEthernet:
      return TcpTransport::Connect(*settings.network, waits, cause);
    case kInterfaceUsb:
      return OpenSystemUsb(waits, cause);
    case kInterfaceCom:
      return SerialTransport::Open(*settings.serial, waits, cause);
    case kInterfaceLpt:
      return ParallelTransport::Open(*settings.parallel, cause, waits);
  }
  cause = "unknown interface";
  return nullptr;
}

}  // namespace vantrel
