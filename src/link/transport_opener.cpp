#include "link/transport_opener.h"

#include "link/parallel_transport.h"
#include "link/serial_transport.h"
#include "link/tcp_transport.h"
#include "link/usb_transport.h"

namespace vantrel {
namespace {

OpenedTransport OpenSystemUsb(const LinkWaits& waits) {
  Outcome<std::unique_ptr<UsbDeviceList>> devices = OpenSystemUsbDeviceList();
  if (devices.value == nullptr) return {nullptr, std::move(devices.failure)};
  return AsTransport(UsbTransport::Open(*devices.value, waits));
}

}  // namespace

OpenedTransport OpenSystemTransport(InterfaceKind interface, const BoundLinkSettings& settings,
                                    const LinkWaits& waits) {
  switch (interface) {
    case kInterfaceEthernet:
      return AsTransport(TcpTransport::Connect(*settings.network, waits, settings.cancel));
    case kInterfaceUsb:
      return OpenSystemUsb(waits);
    case kInterfaceCom:
      return AsTransport(SerialTransport::Open(*settings.serial, waits));
    case kInterfaceLpt:
      return AsTransport(ParallelTransport::Open(*settings.parallel, waits));
  }
  return {nullptr, {kResultPortOpenError, 0, "unknown interface"}};
}

}  // namespace vantrel
