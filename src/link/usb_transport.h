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
  static constexpr std::size_t kChunkSize = 64;
  static constexpr std::size_t kRefillSize = 64;
  // libusb hands out no descriptor number, so the connection reports a fixed valid handle.
  static constexpr int kHandle = 1;

  // Lists the devices, picks the printer by the vendor match rule and opens it. Returns null
  // with the reason in `cause`.
  static std::unique_ptr<UsbTransport> Open(UsbDeviceList& devices, const LinkWaits& waits,
                                            std::string& cause);

  std::size_t ChunkSize() const override { return kChunkSize; }
  std::size_t RefillSize() const override { return kRefillSize; }
  int Handle() const override { return kHandle; }

  bool WriteChunk(std::span<const std::uint8_t> chunk, bool more_follows) override;
  std::size_t Refill(std::span<std::uint8_t> into) override;

 private:
  UsbTransport(std::unique_ptr<UsbDevice> device, std::chrono::milliseconds read_wait)
      : device_(std::move(device)), read_wait_(read_wait) {}

  std::unique_ptr<UsbDevice> device_;
  std::chrono::milliseconds read_wait_;
};

}  // namespace vantrel
