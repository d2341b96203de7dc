#pragma once

// A USB printer emulated under umockdev: its sysfs entry and device node live in a testbed and
// its usbfs ioctls are answered here, so libusb drives it exactly as it would a real printer.
// Needs the umockdev preload library (the test runs under umockdev-wrapper).

#include <linux/usbdevice_fs.h>
#include <sys/ioctl.h>
#include <umockdev.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::testing {

struct EmulatedUsbOptions {
  std::string sysfs_name = "1-2";  // bus 1, port 2
  int bus = 1;
  int address = 2;
  std::uint16_t vendor = 0x369e;
  std::uint16_t product = 0x0230;
  std::uint16_t in_packet_size = 64;  // 512 for a high-speed printer
  bool printer_class = true;
  int claim_error = 0;  // errno with which claiming the interface fails, 0 to succeed
};

// What the emulated printer saw; read it only while libusb is not working on the device.
struct EmulatedUsbLog {
  std::string received;
  std::vector<int> in_request_sizes;  // buffer length of every bulk IN transfer
  int discards = 0;                   // transfers cancelled by the host
  int detaches = 0;
  int attaches = 0;
  int claims = 0;
  int releases = 0;
  bool driver_bound = true;  // the kernel's printer driver holds the interface
};

class EmulatedUsbPrinter {
 public:
  // Adds the device to `testbed`, which must outlive this object.
  EmulatedUsbPrinter(UMockdevTestbed* testbed, EmulatedUsbOptions options);
  ~EmulatedUsbPrinter();
  EmulatedUsbPrinter(const EmulatedUsbPrinter&) = delete;
  EmulatedUsbPrinter& operator=(const EmulatedUsbPrinter&) = delete;

  // Called with the bytes of every bulk OUT transfer; returns what the printer sends back.
  void SetAnswer(std::function<std::string(std::string_view)> answer);
  // From now on every transfer fails as on a device that was pulled out.
  void Unplug();
  // From now on bulk OUT transfers stay pending, as on a printer that takes no more data.
  void StallWrites();
  EmulatedUsbLog log();

 private:
  static gboolean HandleIoctl(UMockdevIoctlBase* base, UMockdevIoctlClient* client, gpointer self);
  // Each returns the ioctl's result and sets `error`.
  int Dispatch(gulong request, UMockdevIoctlData* arg, int& error);
  int Submit(UMockdevIoctlData* arg);
  int Reap(UMockdevIoctlData* arg, int& error);
  int Discard(int& error);
  int KernelDriver(gulong request, UMockdevIoctlData* arg, int& error);
  void CompleteIn(UMockdevIoctlData* urb_data);

  UMockdevTestbed* testbed_;
  std::string node_;
  int claim_error_;
  UMockdevIoctlBase* handler_ = nullptr;
  std::mutex mutex_;
  std::function<std::string(std::string_view)> answer_;
  std::string unsent_;
  std::deque<UMockdevIoctlData*> reapable_;
  UMockdevIoctlData* waiting_in_ = nullptr;
  UMockdevIoctlData* waiting_out_ = nullptr;
  bool stalled_ = false;
  bool unplugged_ = false;
  EmulatedUsbLog log_;
};

}  // namespace vantrel::testing
