#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vantrel {

// A USB device with a printer-class interface, as sysfs describes it.
struct UsbSysfsPrinter {
  std::string path_text;  // the device path text the USB link matches vendors against
  std::string node;       // its usbfs node, /dev/bus/usb/BBB/DDD
  std::uint16_t vendor = 0;
  std::uint16_t product = 0;
  std::string driver;   // the kernel driver bound to the printer interface; empty when none
  std::string lp_node;  // the node that driver made (/dev/usb/lp0); empty when none
};

// The interface numbers of class 7 (printer) in a device's raw descriptors, as the sysfs file
// "descriptors" holds them. Malformed descriptors end the walk.
std::vector<int> PrinterInterfaceNumbers(std::span<const std::uint8_t> descriptors);

// Every printer-class device under `sys_root`/bus/usb/devices; nodes are named under `dev_root`.
std::vector<UsbSysfsPrinter> ListUsbPrinters(const std::string& sys_root,
                                             const std::string& dev_root);

}  // namespace vantrel
