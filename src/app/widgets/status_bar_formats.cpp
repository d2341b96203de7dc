#include "app/widgets/status_bar_formats.h"

#include <array>
#include <span>
#include <string_view>

#include "common/interface_kind.h"
#include "link/parallel_port_device.h"
#include "link/serial_port_names.h"

namespace vantrel::app {
namespace {

constexpr std::array<std::string_view, 7> kBaudTexts = {"2400",  "4800",  "9600",  "19200",
                                                        "38400", "57600", "115200"};
constexpr std::array<std::string_view, 3> kParityTexts = {"N", "O", "E"};
constexpr std::array<std::string_view, 2> kDataBitTexts = {"7", "8"};
constexpr std::array<std::string_view, 3> kStopBitTexts = {"1", "1.5", "2"};
constexpr std::array<std::string_view, 3> kHardwareTexts = {"None", "RTS", "RTS/CTS"};
constexpr std::array<std::string_view, 2> kSoftwareTexts = {"", "Xon/Xoff"};

// The text at `index`, or at `fallback` (the value the link uses) when the index is outside.
QString TextAt(std::span<const std::string_view> texts, int index, int fallback) {
  const bool inside = index >= 0 && static_cast<std::size_t>(index) < texts.size();
  const std::string_view text = texts[static_cast<std::size_t>(inside ? index : fallback)];
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QString SerialSummary(const SerialSettings& serial) {
  return QStringLiteral("%1 %2,%3,%4,%5 %6 %7")
      .arg(QString::fromStdString(serial.port_name), TextAt(kBaudTexts, serial.baud_rate_index, 2),
           TextAt(kParityTexts, serial.parity_index, 0),
           TextAt(kDataBitTexts, serial.data_bits_index, 1),
           TextAt(kStopBitTexts, serial.stop_bits_index, 0),
           TextAt(kHardwareTexts, serial.hardware_handshake_index, 2),
           TextAt(kSoftwareTexts, serial.software_handshake_index, 0));
}

QString LinkTargetText(int interface, const NetworkTarget& network, const SerialSettings& serial,
                       const ParallelPortName& parallel) {
  if (interface == kInterfaceEthernet) {
    const QString host = QString::fromStdString(network.address);
    const bool ipv6 = host.contains(QLatin1Char(':'));
    return (ipv6 ? '[' + host + ']' : host) + ':' + QString::number(network.port);
  }
  if (interface == kInterfaceCom) {
    const Outcome<std::string> device = ResolveSerialPort(serial.port_name);
    return QString::fromStdString(device.failure.ok() ? device.value : serial.port_name);
  }
  if (interface == kInterfaceLpt) {
    return QString::fromStdString(ParallelPortDevice(parallel.name).value_or(parallel.name));
  }
  return QStringLiteral("USB");
}

QString ClockText(const QDateTime& now) {
  return now.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
}

}  // namespace vantrel::app
