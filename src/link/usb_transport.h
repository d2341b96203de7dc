#pragma once

#include <memory>
#include <string>

#include "link/link_settings.h"
#include "link/transport.h"
#include "link/usb_device_list.h"

namespace vantrel {

// The USB link: the printer found on the bus at this open, written in 64-byte chunks and read
// in reads of up to 64 bytes, each bounded by waits.usb_read.
class UsbTransport : public Transport {
 public:
  // libusb hands out no descriptor number, so the connection reports a fixed valid handle.
  static constexpr TransportShape kShape{.chunk_size = 64, .refill_size = 64};

  // Lists the devices, picks the printer by the vendor match rule and opens it.
  static Outcome<std::unique_ptr<UsbTransport>> Open(UsbDeviceList& devices,
                                                     const LinkWaits& waits);

  LinkFailure WriteChunk(std::span<const std::uint8_t> chunk, bool more_follows) override;
  Received Refill(std::span<std::uint8_t> into) override;
  // The 30 s write wait is far too long to sit out after a cancel.
  void Interrupt() override { device_->Interrupt(); }

 private:
  UsbTransport(std::unique_ptr<UsbDevice> device, const LinkWaits& waits)
      : Transport(kShape),
        device_(std::move(device)),
        read_wait_(waits.usb_read),
        write_wait_(waits.usb_write) {}

  std::unique_ptr<UsbDevice> device_;
  std::chrono::milliseconds read_wait_;
  std::chrono::milliseconds write_wait_;
};

}  // namespace vantrel
