// The libusb backend of UsbDeviceList.
#include <libusb.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <optional>

#include "link/libusb_failure.h"
#include "link/link_cancel.h"
#include "link/usb_device_list.h"
#include "link/usb_printer_match.h"

namespace vantrel {
namespace {

constexpr std::uint8_t kPrinterClass = 7;
// Reads ask for at least this much, and for a whole packet of a faster printer: asking a
// high-speed device for less than its packet size overflows and loses the packet.
constexpr std::size_t kMinReadSize = 64;
// A synchronous transfer cannot be cancelled from another thread, so transfers last at most
// this long and an interrupt is seen between them.
constexpr std::chrono::milliseconds kTransferSlice{100};

using Clock = std::chrono::steady_clock;

// libusb reads a timeout of 0 as "no limit"; a shortened wait must still end.
unsigned int TransferTimeout(Clock::time_point deadline) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
  return static_cast<unsigned int>(
      std::clamp<std::int64_t>(left.count(), 1, kTransferSlice.count()));
}

// One libusb session, kept alive by the list and by every device opened through it.
class LibusbSession {
 public:
  explicit LibusbSession(libusb_context* context) : context_(context) {}
  ~LibusbSession() { libusb_exit(context_); }
  LibusbSession(const LibusbSession&) = delete;
  LibusbSession& operator=(const LibusbSession&) = delete;

  libusb_context* get() const { return context_; }

 private:
  libusb_context* context_;
};

// The bus as listed at one moment; holds a reference on each device until it is destroyed.
class BusSnapshot {
 public:
  explicit BusSnapshot(libusb_context* context) {
    const ssize_t count = libusb_get_device_list(context, &devices_);
    count_ = count > 0 ? static_cast<std::size_t>(count) : 0;
  }
  ~BusSnapshot() {
    if (devices_ != nullptr) libusb_free_device_list(devices_, 1);
  }
  BusSnapshot(const BusSnapshot&) = delete;
  BusSnapshot& operator=(const BusSnapshot&) = delete;

  std::span<libusb_device*> devices() const { return {devices_, count_}; }

 private:
  libusb_device** devices_ = nullptr;
  std::size_t count_ = 0;
};

std::string DevicePath(libusb_device* device) {
  libusb_device_descriptor descriptor{};
  if (libusb_get_device_descriptor(device, &descriptor) != LIBUSB_SUCCESS) return {};
  std::array<std::uint8_t, 7> ports{};  // USB allows at most 7 tiers
  const int depth = libusb_get_port_numbers(device, ports.data(), static_cast<int>(ports.size()));
  return FormatUsbDevicePath(descriptor.idVendor, descriptor.idProduct,
                             libusb_get_bus_number(device),
                             std::span(ports.data(), static_cast<std::size_t>(std::max(depth, 0))));
}

// Where the printer function of a device sits: its interface and bulk endpoints.
struct PrinterInterface {
  int number = 0;
  int alternate = 0;
  std::uint8_t out_endpoint = 0;
  std::optional<std::uint8_t> in_endpoint;
  std::size_t in_packet_size = kMinReadSize;
};

// A setting with a bulk OUT endpoint, whatever its class.
std::optional<PrinterInterface> ReadBulkSetting(const libusb_interface_descriptor& setting) {
  PrinterInterface found;
  found.number = setting.bInterfaceNumber;
  found.alternate = setting.bAlternateSetting;
  bool has_out = false;
  for (const libusb_endpoint_descriptor& endpoint :
       std::span(setting.endpoint, setting.bNumEndpoints)) {
    if ((endpoint.bmAttributes & LIBUSB_TRANSFER_TYPE_MASK) != LIBUSB_TRANSFER_TYPE_BULK) continue;
    if ((endpoint.bEndpointAddress & LIBUSB_ENDPOINT_DIR_MASK) == LIBUSB_ENDPOINT_IN) {
      found.in_endpoint = endpoint.bEndpointAddress;
      found.in_packet_size = std::max<std::size_t>(kMinReadSize, endpoint.wMaxPacketSize & 0x7ff);
    } else {
      found.out_endpoint = endpoint.bEndpointAddress;
      has_out = true;
    }
  }
  if (!has_out) return std::nullopt;
  return found;
}

// The setting to use: a printer-class one, preferring one with a reply channel. Printers of
// our vendors are recognised by vendor alone, and some put their bulk endpoints on a
// vendor-specific interface: without a printer-class one, the first setting with a bulk OUT.
std::optional<PrinterInterface> FindPrinterInterface(libusb_device* device) {
  libusb_config_descriptor* config = nullptr;
  if (libusb_get_active_config_descriptor(device, &config) != LIBUSB_SUCCESS) return std::nullopt;
  std::optional<PrinterInterface> best;
  std::optional<PrinterInterface> fallback;
  for (const libusb_interface& interface : std::span(config->interface, config->bNumInterfaces)) {
    for (const libusb_interface_descriptor& setting :
         std::span(interface.altsetting, static_cast<std::size_t>(interface.num_altsetting))) {
      std::optional<PrinterInterface> candidate = ReadBulkSetting(setting);
      if (!candidate) continue;
      if (setting.bInterfaceClass != kPrinterClass) {
        if (!fallback) fallback = candidate;
      } else if (!best || (!best->in_endpoint && candidate->in_endpoint)) {
        best = candidate;
      }
    }
  }
  libusb_free_config_descriptor(config);
  return best ? best : fallback;
}

class LibusbDevice : public UsbDevice {
 public:
  LibusbDevice(std::shared_ptr<LibusbSession> session, libusb_device_handle* handle,
               const PrinterInterface& printer)
      : session_(std::move(session)), handle_(handle), printer_(printer) {
    inbox_.resize(printer.in_packet_size);
  }
  ~LibusbDevice() override {
    if (claimed_) libusb_release_interface(handle_, printer_.number);
    if (driver_detached_) libusb_attach_kernel_driver(handle_, printer_.number);
    libusb_close(handle_);
  }
  LibusbDevice(const LibusbDevice&) = delete;
  LibusbDevice& operator=(const LibusbDevice&) = delete;

  // Takes the printer interface from the kernel's printer driver, if bound, and claims it.
  LinkFailure Claim(const std::string& path);

  LinkFailure Write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds wait) override;
  Received Read(std::span<std::uint8_t> into, std::chrono::milliseconds wait) override;
  void Interrupt() override { interrupted_ = true; }

 private:
  std::size_t HandOut(std::span<std::uint8_t> into);

  std::shared_ptr<LibusbSession> session_;
  libusb_device_handle* handle_;
  PrinterInterface printer_;
  bool driver_detached_ = false;
  bool claimed_ = false;
  std::atomic<bool> interrupted_ = false;
  // A read takes a whole packet; what the reader has no room for waits here.
  std::vector<std::uint8_t> inbox_;
  std::size_t inbox_start_ = 0;
  std::size_t inbox_end_ = 0;
};

LinkFailure LibusbDevice::Claim(const std::string& path) {
  if (libusb_kernel_driver_active(handle_, printer_.number) == 1) {
    const int detached = libusb_detach_kernel_driver(handle_, printer_.number);
    if (detached != LIBUSB_SUCCESS && detached != LIBUSB_ERROR_NOT_FOUND) {
      return LibusbOpenFailure(detached, path);
    }
    driver_detached_ = detached == LIBUSB_SUCCESS;
  }
  int status = libusb_claim_interface(handle_, printer_.number);
  claimed_ = status == LIBUSB_SUCCESS;
  if (claimed_ && printer_.alternate != 0) {
    status = libusb_set_interface_alt_setting(handle_, printer_.number, printer_.alternate);
  }
  if (status != LIBUSB_SUCCESS) return LibusbOpenFailure(status, path);
  return {};
}

LinkFailure LibusbDevice::Write(std::span<const std::uint8_t> bytes,
                                std::chrono::milliseconds wait) {
  std::size_t sent = 0;
  auto deadline = Clock::now() + wait;
  while (sent < bytes.size()) {
    if (interrupted_) return CancelledFailure(kResultTransmissionError);
    int transferred = 0;
    // libusb takes a mutable pointer for both directions; an OUT transfer only reads it.
    const int status = libusb_bulk_transfer(
        handle_, printer_.out_endpoint, const_cast<std::uint8_t*>(bytes.data() + sent),
        static_cast<int>(bytes.size() - sent), &transferred, TransferTimeout(deadline));
    sent += static_cast<std::size_t>(std::max(transferred, 0));
    // A printer still taking bytes is busy, not stalled: its wait starts again.
    if (transferred > 0) deadline = Clock::now() + wait;
    if (status == LIBUSB_ERROR_TIMEOUT && Clock::now() < deadline) continue;
    if (status == LIBUSB_ERROR_TIMEOUT) {
      return {kResultTransmissionError, ETIMEDOUT,
              "the USB printer took no data for " + std::to_string(wait.count()) + " ms"};
    }
    if (status != LIBUSB_SUCCESS) return LibusbTransferFailure(kResultTransmissionError, status);
  }
  return {};
}

std::size_t LibusbDevice::HandOut(std::span<std::uint8_t> into) {
  const std::size_t n = std::min(into.size(), inbox_end_ - inbox_start_);
  std::copy_n(inbox_.begin() + static_cast<std::ptrdiff_t>(inbox_start_), n, into.begin());
  inbox_start_ += n;
  return n;
}

Received LibusbDevice::Read(std::span<std::uint8_t> into, std::chrono::milliseconds wait) {
  if (inbox_start_ < inbox_end_) return {.count = HandOut(into)};
  if (!printer_.in_endpoint) {
    return {.failure = {kResultReceivingError, 0, "this USB printer has no reply channel"}};
  }
  const auto deadline = Clock::now() + wait;
  for (;;) {
    if (interrupted_) return {0, StreamEnd::kLost, CancelledFailure(kResultReceivingError)};
    int transferred = 0;
    const int status = libusb_bulk_transfer(handle_, *printer_.in_endpoint, inbox_.data(),
                                            static_cast<int>(inbox_.size()), &transferred,
                                            TransferTimeout(deadline));
    // A transfer cancelled at the time-out may still have brought bytes: keep them.
    inbox_start_ = 0;
    inbox_end_ = static_cast<std::size_t>(std::max(transferred, 0));
    if (inbox_end_ > 0) return {.count = HandOut(into)};
    if (status == LIBUSB_ERROR_TIMEOUT && Clock::now() < deadline) continue;
    if (status == LIBUSB_ERROR_TIMEOUT || status == LIBUSB_SUCCESS) {
      return {.failure = {
                  kResultReceivingError, ETIMEDOUT,
                  "no answer from the USB printer within " + std::to_string(wait.count()) + " ms"}};
    }
    // USB has no orderly end: a transfer that fails other than by time has lost the printer.
    return {0, StreamEnd::kLost, LibusbTransferFailure(kResultReceivingError, status)};
  }
}

class LibusbDeviceList : public UsbDeviceList {
 public:
  explicit LibusbDeviceList(std::shared_ptr<LibusbSession> session)
      : session_(std::move(session)) {}

  std::vector<std::string> ListDevicePaths() override {
    BusSnapshot bus(session_->get());
    std::vector<std::string> paths;
    for (libusb_device* device : bus.devices()) paths.push_back(DevicePath(device));
    return paths;
  }

  Outcome<std::unique_ptr<UsbDevice>> Open(const std::string& path) override;

 private:
  std::shared_ptr<LibusbSession> session_;
};

Outcome<std::unique_ptr<UsbDevice>> LibusbDeviceList::Open(const std::string& path) {
  BusSnapshot bus(session_->get());
  const auto devices = bus.devices();
  const auto match = std::find_if(devices.begin(), devices.end(), [&](libusb_device* device) {
    return DevicePath(device) == path;
  });
  if (match == devices.end()) return {nullptr, LibusbOpenFailure(LIBUSB_ERROR_NO_DEVICE, path)};
  const std::optional<PrinterInterface> printer = FindPrinterInterface(*match);
  if (!printer) {
    return {nullptr,
            {kResultPortOpenError, 0,
             "the USB device " + path + " has no interface with a bulk OUT endpoint"}};
  }
  libusb_device_handle* handle = nullptr;
  if (const int status = libusb_open(*match, &handle); status != LIBUSB_SUCCESS) {
    return {nullptr, LibusbOpenFailure(status, path)};
  }
  auto device = std::make_unique<LibusbDevice>(session_, handle, *printer);
  LinkFailure claimed = device->Claim(path);
  if (!claimed.ok()) return {nullptr, std::move(claimed)};
  return {std::move(device), {}};
}

}  // namespace

Outcome<std::unique_ptr<UsbDeviceList>> OpenSystemUsbDeviceList() {
  libusb_context* context = nullptr;
  if (const int status = libusb_init(&context); status != LIBUSB_SUCCESS) {
    return {nullptr,
            {kResultPortOpenError, LibusbErrno(status),
             "USB is not available on this system: " + LibusbText(status)}};
  }
  return {std::make_unique<LibusbDeviceList>(std::make_shared<LibusbSession>(context)), {}};
}

}  // namespace vantrel
