#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vantrel {

// One row of the device list: five texts in column order. The MAC and address texts are the
// row's only identity; later actions read them back.
struct DeviceListRow {
  std::string printer_name;
  std::string mac;         // "02:11:22:33:44:5A"
  std::string ip_address;  // dotted decimal
  std::string model_name;
  std::string status;

  bool operator==(const DeviceListRow&) const = default;
};

// The fixed English status word of a reply's state and error flags.
std::string_view StatusWord(std::uint8_t state, std::uint8_t error_flags);

// A reply of at least 32 bytes gives a row; fields past the received bytes read as zero.
std::optional<DeviceListRow> DecodeDiscoveryReply(std::span<const std::uint8_t> datagram);

}  // namespace vantrel
