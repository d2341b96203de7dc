#include "link/emulated_usb_printer.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace vantrel::testing {
namespace {

constexpr std::uint8_t kBulk = 2;
constexpr std::uint8_t kDirectionIn = 0x80;

void Put16(std::vector<std::uint8_t>& bytes, std::uint16_t value) {
  bytes.push_back(static_cast<std::uint8_t>(value & 0xff));
  bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

// Device descriptor, then one configuration with one interface and a bulk OUT and IN pair.
std::vector<std::uint8_t> Descriptors(const EmulatedUsbOptions& options) {
  std::vector<std::uint8_t> bytes = {18, 1, 0x00, 0x02, 0, 0, 0, 64};
  Put16(bytes, options.vendor);
  Put16(bytes, options.product);
  bytes.insert(bytes.end(), {0x00, 0x01, 1, 2, 3, 1});
  bytes.insert(bytes.end(), {9, 2, 32, 0, 1, 1, 0, 0x80, 50});
  const std::uint8_t interface_class = options.printer_class ? 7 : 0xff;
  bytes.insert(bytes.end(), {9, 4, 0, 0, 2, interface_class, 1, 2, 0});
  bytes.insert(bytes.end(), {7, 5, 0x01, kBulk});
  Put16(bytes, 64);
  bytes.push_back(0);
  bytes.insert(bytes.end(), {7, 5, 0x82, kBulk});
  Put16(bytes, options.in_packet_size);
  bytes.push_back(0);
  return bytes;
}

std::string ThreeDigits(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "%03d", value);
  return text;
}

// The device in umockdev's record format; "H:" carries a binary attribute in hex.
std::string DeviceRecord(const EmulatedUsbOptions& options, const std::string& node) {
  std::string hex;
  for (std::uint8_t byte : Descriptors(options)) {
    char pair[3];
    std::snprintf(pair, sizeof pair, "%02X", byte);
    hex += pair;
  }
  const std::string bus = std::to_string(options.bus);
  return "P: /devices/usb" + bus + "/" + options.sysfs_name + "\n" + "N: " + node.substr(5) + "\n" +
         "E: DEVNAME=" + node + "\nE: DEVTYPE=usb_device\nE: SUBSYSTEM=usb\n" +
         "E: BUSNUM=" + ThreeDigits(options.bus) + "\nE: DEVNUM=" + ThreeDigits(options.address) +
         "\nA: busnum=" + bus + "\\n\nA: devnum=" + std::to_string(options.address) +
         "\\n\nA: speed=480\\n\nA: bConfigurationValue=1\\n\nH: descriptors=" + hex + "\n";
}

usbdevfs_urb& Urb(UMockdevIoctlData* urb_data) {
  return *reinterpret_cast<usbdevfs_urb*>(urb_data->data);
}

UMockdevIoctlData* ResolveBuffer(UMockdevIoctlData* urb_data) {
  return umockdev_ioctl_data_resolve(urb_data, offsetof(usbdevfs_urb, buffer),
                                     static_cast<gsize>(Urb(urb_data).buffer_length), nullptr);
}

}  // namespace

EmulatedUsbPrinter::EmulatedUsbPrinter(UMockdevTestbed* testbed, EmulatedUsbOptions options)
    : testbed_(testbed),
      node_("/dev/bus/usb/" + ThreeDigits(options.bus) + "/" + ThreeDigits(options.address)),
      claim_error_(options.claim_error) {
  GError* error = nullptr;
  if (!umockdev_testbed_add_from_string(testbed_, DeviceRecord(options, node_).c_str(), &error)) {
    throw std::runtime_error(error->message);
  }
  handler_ = umockdev_ioctl_base_new();
  g_signal_connect(handler_, "handle-ioctl", G_CALLBACK(HandleIoctl), this);
  if (!umockdev_testbed_attach_ioctl(testbed_, node_.c_str(), handler_, &error)) {
    throw std::runtime_error(error->message);
  }
}

EmulatedUsbPrinter::~EmulatedUsbPrinter() {
  umockdev_testbed_detach_ioctl(testbed_, node_.c_str(), nullptr);
  g_object_unref(handler_);
  for (UMockdevIoctlData* urb : reapable_) g_object_unref(urb);
  if (waiting_in_ != nullptr) g_object_unref(waiting_in_);
}

void EmulatedUsbPrinter::SetAnswer(std::function<std::string(std::string_view)> answer) {
  std::lock_guard lock(mutex_);
  answer_ = std::move(answer);
}

void EmulatedUsbPrinter::Unplug() {
  std::lock_guard lock(mutex_);
  unplugged_ = true;
}

void EmulatedUsbPrinter::StallWrites() {
  std::lock_guard lock(mutex_);
  stalled_ = true;
}

EmulatedUsbLog EmulatedUsbPrinter::log() {
  std::lock_guard lock(mutex_);
  return log_;
}

gboolean EmulatedUsbPrinter::HandleIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client,
                                         gpointer self) {
  auto& printer = *static_cast<EmulatedUsbPrinter*>(self);
  int error = 0;
  int result = 0;
  {
    std::lock_guard lock(printer.mutex_);
    result = printer.Dispatch(umockdev_ioctl_client_get_request(client),
                              umockdev_ioctl_client_get_arg(client), error);
  }
  umockdev_ioctl_client_complete(client, result, error);
  return TRUE;
}

int EmulatedUsbPrinter::Dispatch(gulong request, UMockdevIoctlData* arg, int& error) {
  if (unplugged_) {
    error = ENODEV;
    return -1;
  }
  switch (request) {
    case USBDEVFS_GET_CAPABILITIES: {
      UMockdevIoctlData* capabilities = umockdev_ioctl_data_resolve(arg, 0, sizeof(__u32), nullptr);
      std::memset(capabilities->data, 0, sizeof(__u32));
      g_object_unref(capabilities);
      return 0;
    }
    case USBDEVFS_CLAIMINTERFACE:
      error = claim_error_;
      if (error != 0) return -1;
      ++log_.claims;
      return 0;
    case USBDEVFS_RELEASEINTERFACE:
      ++log_.releases;
      return 0;
    case USBDEVFS_GETDRIVER:
    case USBDEVFS_IOCTL:
      return KernelDriver(request, arg, error);
    case USBDEVFS_SUBMITURB:
      return Submit(arg);
    case USBDEVFS_REAPURB:
    case USBDEVFS_REAPURBNDELAY:
      return Reap(arg, error);
    case USBDEVFS_DISCARDURB:
      return Discard(error);
    default:
      error = ENOTTY;
      return -1;
  }
}

// The kernel's printer driver: bound at first, given up and taken back on the host's request.
int EmulatedUsbPrinter::KernelDriver(gulong request, UMockdevIoctlData* arg, int& error) {
  if (request == USBDEVFS_GETDRIVER) {
    if (!log_.driver_bound) {
      error = ENODATA;
      return -1;
    }
    UMockdevIoctlData* query =
        umockdev_ioctl_data_resolve(arg, 0, sizeof(usbdevfs_getdriver), nullptr);
    std::strcpy(reinterpret_cast<usbdevfs_getdriver*>(query->data)->driver, "usblp");
    g_object_unref(query);
    return 0;
  }
  UMockdevIoctlData* command = umockdev_ioctl_data_resolve(arg, 0, sizeof(usbdevfs_ioctl), nullptr);
  const auto code =
      static_cast<unsigned long>(reinterpret_cast<usbdevfs_ioctl*>(command->data)->ioctl_code);
  g_object_unref(command);
  if (code == USBDEVFS_DISCONNECT) {
    ++log_.detaches;
    log_.driver_bound = false;
  } else if (code == USBDEVFS_CONNECT) {
    ++log_.attaches;
    log_.driver_bound = true;
  }
  return 0;
}

int EmulatedUsbPrinter::Submit(UMockdevIoctlData* arg) {
  UMockdevIoctlData* urb_data = umockdev_ioctl_data_resolve(arg, 0, sizeof(usbdevfs_urb), nullptr);
  usbdevfs_urb& urb = Urb(urb_data);
  if ((urb.endpoint & kDirectionIn) != 0) {
    log_.in_request_sizes.push_back(urb.buffer_length);
    if (unsent_.empty()) {
      waiting_in_ = urb_data;  // a printer with nothing to say leaves the transfer pending
    } else {
      CompleteIn(urb_data);
    }
    return 0;
  }
  if (stalled_) {
    waiting_out_ = urb_data;
    return 0;
  }
  UMockdevIoctlData* buffer = ResolveBuffer(urb_data);
  const std::string_view bytes(reinterpret_cast<const char*>(buffer->data),
                               static_cast<std::size_t>(urb.buffer_length));
  log_.received += bytes;
  if (answer_) unsent_ += answer_(bytes);
  g_object_unref(buffer);
  urb.actual_length = urb.buffer_length;
  urb.status = 0;
  reapable_.push_back(urb_data);
  return 0;
}

void EmulatedUsbPrinter::CompleteIn(UMockdevIoctlData* urb_data) {
  usbdevfs_urb& urb = Urb(urb_data);
  UMockdevIoctlData* buffer = ResolveBuffer(urb_data);
  const std::size_t n = std::min(unsent_.size(), static_cast<std::size_t>(urb.buffer_length));
  std::memcpy(buffer->data, unsent_.data(), n);
  unsent_.erase(0, n);
  g_object_unref(buffer);
  urb.actual_length = static_cast<int>(n);
  urb.status = 0;
  reapable_.push_back(urb_data);
}

// Cancels the pending transfer (only one is ever pending here).
int EmulatedUsbPrinter::Discard(int& error) {
  UMockdevIoctlData*& waiting = waiting_in_ != nullptr ? waiting_in_ : waiting_out_;
  if (waiting == nullptr) {
    error = EINVAL;
    return -1;
  }
  ++log_.discards;
  Urb(waiting).status = -ENOENT;
  Urb(waiting).actual_length = 0;
  reapable_.push_back(waiting);
  waiting = nullptr;
  return 0;
}

int EmulatedUsbPrinter::Reap(UMockdevIoctlData* arg, int& error) {
  if (reapable_.empty()) {
    error = EAGAIN;
    return -1;
  }
  UMockdevIoctlData* slot = umockdev_ioctl_data_resolve(arg, 0, sizeof(void*), nullptr);
  umockdev_ioctl_data_set_ptr(slot, 0, reapable_.front());
  g_object_unref(slot);
  g_object_unref(reapable_.front());
  reapable_.pop_front();
  return 0;
}

}  // namespace vantrel::testing
