#include "link/serial_port_names.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <system_error>
#include <tuple>

#include "common/host_file.h"
#include "common/parse_digits.h"
#include "link/port_name_number.h"

namespace vantrel {
namespace {

constexpr std::array<std::string_view, 3> kDeviceFamilies = {"ttyS", "ttyUSB", "ttyACM"};

struct Candidate {
  std::size_t family;
  int number;
  std::string name;
  bool operator<(const Candidate& other) const {
    return std::tie(family, number) < std::tie(other.family, other.number);
  }
};

std::optional<Candidate> Classify(const std::string& name) {
  for (std::size_t family = 0; family < kDeviceFamilies.size(); ++family) {
    const std::string_view prefix = kDeviceFamilies[family];
    if (!name.starts_with(prefix)) continue;
    if (const auto number = ParseDigits(std::string_view(name).substr(prefix.size()))) {
      return Candidate{family, *number, name};
    }
  }
  return std::nullopt;
}

// A built-in port whose UART type the kernel reports as 0 (unknown) is only a placeholder.
bool HasHardware(const std::filesystem::path& tty_dir, const Candidate& candidate) {
  if (kDeviceFamilies[candidate.family] != "ttyS") return true;
  const std::optional<std::string> type = ReadShortTextFile(tty_dir / "type");
  if (!type) return false;
  const std::optional<int> number =
      ParseDigits(std::string_view(*type).substr(0, type->find_first_of(" \n")));
  return number && *number != 0;
}

std::vector<Candidate> PresentDevices(const SerialDeviceRoots& roots) {
  std::vector<Candidate> found;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(roots.sys_class_tty, error)) {
    const std::optional<Candidate> candidate = Classify(entry.path().filename().string());
    if (candidate && HasHardware(entry.path(), *candidate)) found.push_back(*candidate);
  }
  std::sort(found.begin(), found.end());
  return found;
}

}  // namespace

std::vector<SerialPortEntry> ListSerialPorts(const SerialDeviceRoots& roots) {
  const std::vector<Candidate> devices = PresentDevices(roots);
  std::vector<SerialPortEntry> ports;
  for (std::size_t i = 0; i < devices.size() && i < static_cast<std::size_t>(kMaxComPort); ++i) {
    ports.push_back({"COM" + std::to_string(i + 1), (roots.dev / devices[i].name).string()});
  }
  return ports;
}

Outcome<std::string> ResolveSerialPort(std::string_view name, const SerialDeviceRoots& roots) {
  if (name.starts_with('/')) return {std::string(name), {}};
  const std::optional<int> number = PortNameNumber(name, "COM", kMaxComPort);
  if (!number) {
    // Appended piece by piece: GCC 12 misreads the chained operator+ here (-Wrestrict).
    std::string detail = "\"";
    detail.append(name).append("\" is not a serial port name (COM1 to COM");
    detail.append(std::to_string(kMaxComPort)).append(" or an absolute device path)");
    return {{}, {kResultPortOpenError, 0, std::move(detail)}};
  }
  const std::vector<SerialPortEntry> ports = ListSerialPorts(roots);
  if (static_cast<std::size_t>(*number) > ports.size()) {
    return {{},
            {kResultPortOpenError, ENODEV,
             "COM" + std::to_string(*number) + " maps to no serial device: this machine has " +
                 std::to_string(ports.size()) +
                 (ports.size() == 1 ? " serial port" : " serial ports")}};
  }
  return {ports[static_cast<std::size_t>(*number) - 1].device, {}};
}

}  // namespace vantrel
