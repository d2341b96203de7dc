#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// The udev rule that lets a user without root open our printers; named in the cause line when
// the system refuses access.
inline constexpr std::string_view kUsbUdevRuleFile = "60-vantrel-printers.rules";

// One opened USB printer: its printer-class interface claimed, bulk OUT and bulk IN ready.
// The destructor gives the interface back and re-attaches any kernel driver that opening detached.
class UsbDevice {
 public:
  virtual ~UsbDevice() = default;

  // Sends every byte. No time limit, but a device that goes away ends the write. On failure
  // says why in `cause`.
  virtual bool Write(std::span<const std::uint8_t> bytes, std::string& cause) = 0;

  // One bulk IN read of at most into.size() bytes, waiting up to `wait`; a transfer still
  // pending then is cancelled. Returns the count, 0 with the reason in `cause` when none came.
  virtual std::size_t Read(std::span<std::uint8_t> into, std::chrono::milliseconds wait,
                           std::string& cause) = 0;
};

// The USB devices present now. The libusb backend lists the bus afresh on every call; tests
// supply a fake.
class UsbDeviceList {
 public:
  virtual ~UsbDeviceList() = default;

  // Device path texts (see FormatUsbDevicePath) in the system's enumeration order.
  virtual std::vector<std::string> ListDevicePaths() = 0;

  // Opens the device listed under `path`; null with the reason in `cause`.
  virtual std::unique_ptr<UsbDevice> Open(const std::string& path, std::string& cause) = 0;
};

// The libusb backend; null with the reason in `cause` when libusb cannot start.
std::unique_ptr<UsbDeviceList> OpenSystemUsbDeviceList(std::string& cause);

}  // namespace vantrel
