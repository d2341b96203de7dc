#include "link/usb_printer_match.h"

#include <cstdio>

namespace vantrel {

std::string FormatUsbDevicePath(std::uint16_t vendor, std::uint16_t product, int bus,
                                std::span<const std::uint8_t> ports) {
  std::array<char, 40> head{};
  std::snprintf(head.data(), head.size(), "usb#vid_%04x&pid_%04x#%d-", vendor, product, bus);
  std::string path = head.data();
  for (std::size_t i = 0; i < ports.size(); ++i) {
    if (i > 0) path += '.';
    path += std::to_string(ports[i]);
  }
  return path;
}

bool UsbPathMatchesVendor(std::string_view path, std::string_view vendor) {
  constexpr std::string_view kMarker = "vid";
  const std::size_t at = path.find(kMarker);
  if (at == std::string_view::npos) return false;
  const std::size_t start = at + kMarker.size() + 1;  // skip the separator after "vid"
  return start <= path.size() && path.substr(start, vendor.size()) == vendor;
}

std::optional<std::size_t> FindUsbPrinter(std::span<const std::string> paths) {
  for (std::string_view vendor : kUsbPrinterVendors) {
    for (std::size_t i = 0; i < paths.size(); ++i) {
      if (UsbPathMatchesVendor(paths[i], vendor)) return i;
    }
  }
  return std::nullopt;
}

}  // namespace vantrel
