#pragma once

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "link/transport_opener.h"
#include "link/usb_device_list.h"
#include "link/usb_transport.h"

namespace vantrel::testing {

// A USB bus for tests: what it lists, how its printer answers, and what it saw. Shared between
// the test and the devices, which the link layer destroys at every close.
struct FakeUsbBus {
  std::vector<std::string> paths;
  // Answers the bytes of each bulk OUT write; the answer is read back in reads of the size asked.
  std::function<std::string(std::string_view written)> printer;
  int unplug_at_write = -1;  // the index of the first write that finds the device gone

  std::string opened_path;
  std::string written;
  std::vector<std::size_t> write_sizes;
  std::string unread;  // answered, not yet read
  int writes = 0;
  int reads = 0;
  int closes = 0;
  std::chrono::milliseconds last_read_wait{0};
};

class FakeUsbDevice : public UsbDevice {
 public:
  explicit FakeUsbDevice(std::shared_ptr<FakeUsbBus> bus) : bus_(std::move(bus)) {}
  ~FakeUsbDevice() override { ++bus_->closes; }

  LinkFailure Write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds) override {
    if (bus_->writes++ == bus_->unplug_at_write) bus_->paths.clear();
    if (bus_->paths.empty()) return {kResultTransmissionError, ENODEV, "unplugged"};
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    bus_->written += text;
    bus_->write_sizes.push_back(text.size());
    if (bus_->printer) bus_->unread += bus_->printer(text);
    return {};
  }

  // Like a device that has nothing to send: the read takes the whole wait.
  Received Read(std::span<std::uint8_t> into, std::chrono::milliseconds wait) override {
    ++bus_->reads;
    bus_->last_read_wait = wait;
    if (bus_->unread.empty()) {
      std::this_thread::sleep_for(wait);
      return {.failure = {kResultReceivingError, ETIMEDOUT, "no answer"}};
    }
    const std::size_t n = std::min(into.size(), bus_->unread.size());
    std::copy_n(bus_->unread.begin(), n, into.begin());
    bus_->unread.erase(0, n);
    return {.count = n};
  }

  // Its waits are the tests' own short ones.
  void Interrupt() override {}

 private:
  std::shared_ptr<FakeUsbBus> bus_;
};

class FakeUsbDeviceList : public UsbDeviceList {
 public:
  explicit FakeUsbDeviceList(std::shared_ptr<FakeUsbBus> bus) : bus_(std::move(bus)) {}

  std::vector<std::string> ListDevicePaths() override { return bus_->paths; }

  Outcome<std::unique_ptr<UsbDevice>> Open(const std::string& path) override {
    bus_->opened_path = path;
    return {std::make_unique<FakeUsbDevice>(bus_), {}};
  }

 private:
  std::shared_ptr<FakeUsbBus> bus_;
};

// Opens the USB transport over `bus`, whatever interface the link was asked for.
inline TransportOpener FakeBusOpener(std::shared_ptr<FakeUsbBus> bus) {
  return [bus](InterfaceKind, const BoundLinkSettings&, const LinkWaits& waits) {
    FakeUsbDeviceList devices(bus);
    return AsTransport(UsbTransport::Open(devices, waits));
  };
}

}  // namespace vantrel::testing
