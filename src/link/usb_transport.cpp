#include "link/usb_transport.h"

#include <algorithm>
#include <cerrno>

#include "link/usb_printer_match.h"

namespace vantrel {

Outcome<std::unique_ptr<UsbTransport>> UsbTransport::Open(UsbDeviceList& devices,
                                                          const LinkWaits& waits) {
  const std::vector<std::string> paths = devices.ListDevicePaths();
  const std::optional<std::size_t> found = FindUsbPrinter(paths);
  if (!found) {
    return {nullptr,
            {kResultPortOpenError, ENODEV,
             "no USB printer found (vendor " + std::string(kUsbPrinterVendors[0]) + " or " +
                 std::string(kUsbPrinterVendors[1]) + ")"}};
  }
  Outcome<std::unique_ptr<UsbDevice>> device = devices.Open(paths[*found]);
  if (device.value == nullptr) return {nullptr, std::move(device.failure)};
  return {std::unique_ptr<UsbTransport>(new UsbTransport(std::move(device.value), waits)), {}};
}

LinkFailure UsbTransport::WriteChunk(std::span<const std::uint8_t> chunk, bool /*more_follows*/) {
  return device_->Write(chunk, write_wait_);
}

Received UsbTransport::Refill(std::span<std::uint8_t> into) {
  return device_->Read(into.first(std::min(into.size(), kShape.refill_size)),
                       WithinReply(read_wait_));
}

}  // namespace vantrel
