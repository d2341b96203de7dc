#include "doctor/usb_sysfs.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>

#include "common/host_file.h"
#include "common/parse_digits.h"
#include "link/usb_printer_match.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

constexpr std::uint8_t kDeviceDescriptor = 1;
constexpr std::size_t kDeviceDescriptorLength = 18;
constexpr std::uint8_t kInterfaceDescriptor = 4;
constexpr std::uint8_t kPrinterClass = 7;
constexpr std::size_t kInterfaceDescriptorLength = 9;
// The device descriptor and the longest configuration a total length field can state.
constexpr std::size_t kMaxDescriptorsBytes = kDeviceDescriptorLength + 65535;

std::string ReadAttribute(const fs::path& file) {
  const std::string text = ReadShortTextFile(file).value_or("");
  return text.substr(0, text.find('\n'));
}

std::vector<std::uint8_t> ReadBytes(const fs::path& file) {
  std::vector<std::uint8_t> bytes;
  // The head: the size a sysfs attribute states is its buffer's, not what it holds.
  ReadHostFileHead(file, kMaxDescriptorsBytes, bytes);  // empty when unreadable
  return bytes;
}

// idVendor and idProduct of the device descriptor that opens the file.
std::optional<std::pair<std::uint16_t, std::uint16_t>> VendorAndProduct(
    std::span<const std::uint8_t> descriptors) {
  if (descriptors.size() < kDeviceDescriptorLength || descriptors[1] != kDeviceDescriptor) {
    return std::nullopt;
  }
  auto word = [&](std::size_t at) {
    return static_cast<std::uint16_t>(descriptors[at] | (descriptors[at + 1] << 8));
  };
  return std::make_pair(word(8), word(10));
}

// "1-4.2" -> bus 1, ports {4, 2}; root hubs ("usb1") and interfaces ("1-4:1.0") give nullopt.
std::optional<std::pair<int, std::vector<std::uint8_t>>> ParseDeviceName(const std::string& name) {
  const auto dash = name.find('-');
  if (dash == std::string::npos || name.find(':') != std::string::npos) return std::nullopt;
  const std::optional<int> bus = ParseDigits(std::string_view(name).substr(0, dash));
  if (!bus) return std::nullopt;
  std::vector<std::uint8_t> ports;
  std::string_view rest = std::string_view(name).substr(dash + 1);
  while (!rest.empty()) {
    const auto dot = rest.find('.');
    const std::optional<int> port = ParseDigits(rest.substr(0, dot));
    if (!port || *port > 255) return std::nullopt;
    ports.push_back(static_cast<std::uint8_t>(*port));
    rest = dot == std::string_view::npos ? std::string_view{} : rest.substr(dot + 1);
  }
  if (ports.empty()) return std::nullopt;
  return std::make_pair(*bus, ports);
}

std::string UsbfsNode(const std::string& dev_root, int bus, int address) {
  char tail[16];
  std::snprintf(tail, sizeof tail, "%03d/%03d", bus % 1000, address % 1000);
  return dev_root + "/bus/usb/" + tail;
}

// The driver bound to the printer interface and the node it made, when there is one.
void ReadDriver(const fs::path& device_dir, const std::string& name, int interface_number,
                const std::string& dev_root, UsbSysfsPrinter& printer) {
  std::string configuration = ReadAttribute(device_dir / "bConfigurationValue");
  if (configuration.empty()) configuration = "1";
  const fs::path interface_dir =
      device_dir / (name + ":" + configuration + "." + std::to_string(interface_number));
  std::error_code error;
  const fs::path driver = fs::read_symlink(interface_dir / "driver", error);
  if (!error) printer.driver = driver.filename().string();
  for (const auto& node : fs::directory_iterator(interface_dir / "usbmisc", error)) {
    printer.lp_node = dev_root + "/usb/" + node.path().filename().string();
  }
}

std::optional<UsbSysfsPrinter> ReadPrinter(const fs::path& device_dir,
                                           const std::string& dev_root) {
  const std::string name = device_dir.filename().string();
  const auto parsed = ParseDeviceName(name);
  if (!parsed) return std::nullopt;
  const std::vector<std::uint8_t> descriptors = ReadBytes(device_dir / "descriptors");
  const std::vector<int> interfaces = PrinterInterfaceNumbers(descriptors);
  const auto ids = VendorAndProduct(descriptors);
  const std::optional<int> address = ParseDigits(ReadAttribute(device_dir / "devnum"));
  if (interfaces.empty() || !ids || !address) return std::nullopt;
  UsbSysfsPrinter printer;
  printer.vendor = ids->first;
  printer.product = ids->second;
  printer.path_text = FormatUsbDevicePath(ids->first, ids->second, parsed->first, parsed->second);
  printer.node = UsbfsNode(dev_root, parsed->first, *address);
  ReadDriver(device_dir, name, interfaces.front(), dev_root, printer);
  return printer;
}

}  // namespace

std::vector<int> PrinterInterfaceNumbers(std::span<const std::uint8_t> descriptors) {
  std::vector<int> numbers;
  std::size_t at = 0;
  while (at + 2 <= descriptors.size()) {
    const std::size_t length = descriptors[at];
    if (length < 2 || at + length > descriptors.size()) break;
    const bool is_interface =
        descriptors[at + 1] == kInterfaceDescriptor && length >= kInterfaceDescriptorLength;
    // Alternate settings repeat the interface number; one entry per interface is enough.
    if (is_interface && descriptors[at + 5] == kPrinterClass &&
        std::find(numbers.begin(), numbers.end(), descriptors[at + 2]) == numbers.end()) {
      numbers.push_back(descriptors[at + 2]);
    }
    at += length;
  }
  return numbers;
}

std::vector<UsbSysfsPrinter> ListUsbPrinters(const std::string& sys_root,
                                             const std::string& dev_root) {
  std::vector<UsbSysfsPrinter> printers;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(fs::path(sys_root) / "bus/usb/devices", error)) {
    if (auto printer = ReadPrinter(entry.path(), dev_root)) printers.push_back(std::move(*printer));
  }
  std::sort(printers.begin(), printers.end(),
            [](const auto& a, const auto& b) { return a.path_text < b.path_text; });
  return printers;
}

}  // namespace vantrel
