#include "cli/common/link_options.h"

#include <algorithm>
#include <array>
#include <map>

#include "cli/common/decimal_integer.h"
#include "cli/common/terminal_text.h"
#include "net/address_port.h"

namespace vantrel::cli {
namespace {

constexpr std::array<int, 7> kBaudRates = {2400, 4800, 9600, 19200, 38400, 57600, 115200};

const std::map<std::string, InterfaceKind>& InterfaceNames() {
  static const std::map<std::string, InterfaceKind> names = {
      {"usb", kInterfaceUsb},      {"com", kInterfaceCom},   {"lpt", kInterfaceLpt},
      {"net", kInterfaceEthernet}, {"0", kInterfaceUsb},     {"1", kInterfaceCom},
      {"2", kInterfaceLpt},        {"3", kInterfaceEthernet}};
  return names;
}

template <typename Map>
std::vector<std::string> Keys(const Map& map) {
  std::vector<std::string> keys;
  for (const auto& [key, value] : map) keys.push_back(key);
  return keys;
}

int IndexOf(const std::vector<std::string>& texts, const std::string& text) {
  return static_cast<int>(std::find(texts.begin(), texts.end(), text) - texts.begin());
}

}  // namespace

void AddLinkOptions(CLI::App& app, LinkOptions& options) {
  const std::string group = "Link options (before or after the command)";
  app.add_option("-i,--interface", options.interface, "usb, com, lpt or net (also 0..3)")
      ->check(CLI::IsMember(Keys(InterfaceNames())))
      ->capture_default_str()
      ->group(group);
  app.add_option("--host", options.host, "network printer address or name")->group(group);
  app.add_option("--port", options.port, "network printer TCP port")
      ->transform(DecimalPort())
      ->capture_default_str()
      ->group(group);
  app.add_option("--com", options.com, "serial port: COM1..COM30 or a device path")
      ->capture_default_str()
      ->group(group);
  app.add_option("--baud", options.baud, "serial baud rate")
      ->transform(DecimalInteger())
      ->check(CLI::IsMember(std::vector<int>(kBaudRates.begin(), kBaudRates.end())))
      ->capture_default_str()
      ->group(group);
  app.add_option("--data-bits", options.data_bits, "7 or 8")
      ->transform(DecimalInteger())
      ->check(CLI::IsMember({7, 8}))
      ->capture_default_str()
      ->group(group);
  app.add_option("--parity", options.parity, "none, odd or even")
      ->check(CLI::IsMember({"none", "odd", "even"}))
      ->capture_default_str()
      ->group(group);
  app.add_option("--stop-bits", options.stop_bits, "1, 1.5 or 2")
      ->check(CLI::IsMember({"1", "1.5", "2"}))
      ->capture_default_str()
      ->group(group);
  app.add_option("--handshake", options.handshake, "none, rts or rts-cts")
      ->check(CLI::IsMember({"none", "rts", "rts-cts"}))
      ->capture_default_str()
      ->group(group);
  app.add_flag("--xonxoff", options.xonxoff, std::string("software handshake"))->group(group);
  app.add_option("--lpt", options.lpt, "parallel port: LPT1..LPT4 or a device path")
      ->capture_default_str()
      ->group(group);
}

std::string ToLinkSettings(const LinkOptions& options, LinkSettingsRecords& records) {
  // Empty unless given: only a network link needs it.
  AddressPort host;
  if (!options.host.empty()) {
    host = ParseAddress(options.host);
    if (!host.ok()) return "--host: " + PrintableText(host.error);
  }
  if (options.lpt.size() > ParallelPortName::kCapacity) {
    return "--lpt is longer than 255 characters";
  }
  records.interface = InterfaceNames().at(options.interface);
  records.network.address = std::move(host.address);
  records.network.port = options.port;
  records.parallel.name = options.lpt;
  SerialSettings& serial = records.serial;
  serial.port_name = options.com;
  serial.baud_rate_index = static_cast<int>(
      std::find(kBaudRates.begin(), kBaudRates.end(), options.baud) - kBaudRates.begin());
  serial.data_bits_index = options.data_bits == 7 ? 0 : 1;
  serial.parity_index = IndexOf({"none", "odd", "even"}, options.parity);
  serial.stop_bits_index = IndexOf({"1", "1.5", "2"}, options.stop_bits);
  serial.hardware_handshake_index = IndexOf({"none", "rts", "rts-cts"}, options.handshake);
  serial.software_handshake_index = options.xonxoff ? 1 : 0;
  return {};
}

}  // namespace vantrel::cli
