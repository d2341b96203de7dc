#include "link/usb_transport.h"

#include <algorithm>

#include "link/usb_printer_match.h"

namespace vantrel {

std::unique_ptr<UsbTransport> UsbTransport::Open(UsbDeviceList& devices, const LinkWaits& waits,
                                                 std::string& cause) {
  const std::vector<std::string> paths = devices.ListDevicePaths();
  const std::optional<std::size_t> found = FindUsbPrinter(paths);
  if (!found) {
    cause = "no USB printer found (vendor " + std::string(kUsbPrinterVendors[0]) + " or " +
            std::string(kUsbPrinterVendors[1]) + ")";
    return nullptr;
  }
  std::unique_ptr<UsbDevice> device = devices.Open(paths[*found], cause);
  if (device == nullptr) return nullptr;
  return std::unique_ptr<UsbTransport>(new UsbTransport(std::move(device), waits.usb_read));
}

bool UsbTransport::WriteChunk(std::span<const std::uint8_t> chunk, bool /*more_follows*/) {
  std::string cause;
  if (device_->Write(chunk, cause)) return true;
  SetCause(std::move(cause));
  return false;
}

std::size_t UsbTransport::Refill(std::span<std::uint8_t> into) {
  std::string cause;
  const std::size_t got =
      device_->Read(into.first(std::min(into.size(), kRefillSize)), WithinReply(read_wait_), cause);
  if (got == 0) SetCause(std::move(cause));
  return got;
}

}  // namespace vantrel
