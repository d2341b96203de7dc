#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "link/transport.h"

namespace vantrel {

// The udev rule that lets a user without root open our printers; named in the cause line when
// the system refuses access.
inline constexpr std::string_view kUsbUdevRuleFile = "60-vantrel-printers.rules";

// One opened USB printer: its printer-class interface claimed, bulk OUT and bulk IN ready.
// The destructor gives the interface back and re-attaches any kernel driver that opening detached.
class UsbDevice {
 public:
  virtual ~UsbDevice() = default;

  // Sends every byte. The write fails (code 2) once the device took nothing for `wait`, or when
  // it goes away.
  virtual LinkFailure Write(std::span<const std::uint8_t> bytes,
                            std::chrono::milliseconds wait) = 0;

  // One bulk IN read of at most into.size() bytes, waiting up to `wait`; a transfer still
  // pending then is cancelled. A count of 0 comes with the failure (code 3).
  virtual Received Read(std::span<std::uint8_t> into, std::chrono::milliseconds wait) = 0;

  // Any thread: the pending Write or Read, and every later one, ends within about a tenth of a
  // second with ECANCELED; a read's connection counts as lost.
  virtual void Interrupt() = 0;
};

// The USB devices present now. The libusb backend lists the bus afresh on every call; tests
// supply a fake.
class UsbDeviceList {
 public:
  virtual ~UsbDeviceList() = default;

  // Device path texts (see FormatUsbDevicePath) in the system's enumeration order.
  virtual std::vector<std::string> ListDevicePaths() = 0;

  // Opens the device listed under `path`.
  virtual Outcome<std::unique_ptr<UsbDevice>> Open(const std::string& path) = 0;
};

// The libusb backend, or why libusb cannot start.
Outcome<std::unique_ptr<UsbDeviceList>> OpenSystemUsbDeviceList();

}  // namespace vantrel
