#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vantrel {

// The vendor texts of the printers we drive, most preferred first.
inline constexpr std::array<std::string_view, 2> kUsbPrinterVendors = {"369e", "6d9d"};

// The device path text of one USB device, e.g. "usb#vid_369e&pid_0230#1-4.2": vendor and product
// in lower-case hex, then the bus number and the port chain, which tell two equal printers apart.
std::string FormatUsbDevicePath(std::uint16_t vendor, std::uint16_t product, int bus,
                                std::span<const std::uint8_t> ports);

// True when the four characters that follow the separator after the first "vid" of the path
// equal the vendor text exactly, case included. A path without "vid" matches nothing.
bool UsbPathMatchesVendor(std::string_view path, std::string_view vendor);

// The index of the printer to open: the first path matching the most preferred vendor, whatever
// the order in which the vendors' devices were listed; nullopt when none matches.
std::optional<std::size_t> FindUsbPrinter(std::span<const std::string> paths);

}  // namespace vantrel
