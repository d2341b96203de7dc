#include "doctor/serial_checks.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "doctor/device_access.h"
#include "doctor/device_holders.h"
#include "doctor/status_question.h"
#include "link/serial_port_names.h"

namespace vantrel {
namespace {

const std::string kCom = "com";
constexpr std::array<int, 7> kBaudRates = {2400, 4800, 9600, 19200, 38400, 57600, 115200};
constexpr std::chrono::milliseconds kShortestQuestionWait{50};

SerialDeviceRoots SerialRoots(const DoctorRoots& roots) {
  return {std::filesystem::path(roots.sys) / "class/tty", roots.dev};
}

int BaudOf(int index) {
  return index >= 0 && index < static_cast<int>(kBaudRates.size())
             ? kBaudRates[static_cast<std::size_t>(index)]
             : 9600;
}

DoctorCheck CheckPorts(const std::vector<SerialPortEntry>& ports) {
  DoctorCheck check{kCom, "ports", !ports.empty(), {}, {}};
  for (const SerialPortEntry& port : ports) {
    check.detail += (check.detail.empty() ? "" : ", ") + port.name + " is " + port.device;
  }
  if (ports.empty()) {
    check.detail = "this machine has no serial port";
    check.fix = "connect the USB serial adapter (it appears as /dev/ttyUSB0 or /dev/ttyACM0)";
  }
  return check;
}

// A port another program opened with TIOCEXCL refuses every further open with EBUSY.
bool HeldExclusively(const std::string& device) {
  const int fd = ::open(device.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd >= 0) ::close(fd);
  return fd < 0 && errno == EBUSY;
}

DoctorCheck CheckInUse(const DoctorRequest& request, const std::string& device) {
  DoctorCheck check = CheckDeviceInUse(kCom, request, {device}, true);
  if (check.ok && HeldExclusively(device)) {
    check = {
        kCom, "in use", false, device + " is held for exclusive use by another program",
        "close the other serial terminal or printing program (fuser -v " + device + " names it)"};
  }
  return check;
}

StatusAnswer AskAtSpeed(const DoctorRequest& request, const std::string& device, int baud_index) {
  SerialSettings serial = request.serial;
  serial.port_name = device;
  serial.baud_rate_index = baud_index;
  LinkLayer link;
  link.BindLinkSettings(&serial, nullptr, nullptr);
  LinkWaits waits;
  waits.com_read = SerialQuestionWait(request.timeout);
  waits.com_write = waits.com_read;
  link.SetWaits(waits);
  return AskStatus(link, kInterfaceCom);
}

DoctorCheck CheckLineSettings(const DoctorRequest& request, const std::string& device) {
  const int chosen = std::clamp(request.serial.baud_rate_index, 0, 6);
  const std::string at = " at " + std::to_string(BaudOf(chosen)) + " baud";
  const StatusAnswer answer = AskAtSpeed(request, device, chosen);
  if (answer.answered) {
    return {kCom,
            "line settings",
            true,
            "the printer answers" + at + ": " + DescribeAnswer(answer),
            {}};
  }
  DoctorCheck check{kCom, "line settings", false, "no answer on " + device + at, {}};
  for (int index = 0; index < static_cast<int>(kBaudRates.size()); ++index) {
    if (index == chosen || !AskAtSpeed(request, device, index).answered) continue;
    const std::string baud = std::to_string(BaudOf(index));
    check.detail += ", but the printer answers at " + baud + " baud";
    check.fix = "use --baud " + baud + " (and the same speed in the app's serial settings)";
    return check;
  }
  check.fix =
      "switch the printer on and check the cable; then compare the data bits, parity and "
      "handshake with the printer's configuration page";
  return check;
}

}  // namespace

std::chrono::milliseconds SerialQuestionWait(std::chrono::milliseconds timeout) {
  return std::max(timeout / static_cast<int>(kBaudRates.size()), kShortestQuestionWait);
}

DoctorReport CheckSerial(const DoctorRequest& request) {
  const SerialDeviceRoots roots = SerialRoots(request.roots);
  DoctorReport report = {CheckPorts(ListSerialPorts(roots))};
  if (request.serial.port_name.starts_with('/')) report.front().ok = true;
  Outcome<std::string> resolved = ResolveSerialPort(request.serial.port_name, roots);
  const std::string& device = resolved.value;
  const std::optional<DeviceNode> node =
      resolved.failure.ok() ? InspectDeviceNode(device) : std::nullopt;
  if (!node || !node->is_char_device) {
    std::string why = resolved.failure.ok()
                          ? device + (node ? " is not a device" : " does not exist")
                          : std::move(resolved.failure.detail);
    report.push_back({kCom, "port", false, std::move(why),
                      "give --com with one of the ports above, or the device's path"});
    return report;
  }
  report.push_back({kCom, "port", true, request.serial.port_name + " is " + device, {}});
  report.push_back(CheckNodeAccess(kCom, request.user, *node,
                                   "ask the administrator for a udev rule that gives group "
                                   "dialout read and write access to " +
                                       device));
  report.push_back(CheckInUse(request, device));
  if (report[report.size() - 2].ok && report.back().ok) {
    report.push_back(CheckLineSettings(request, device));
  }
  return report;
}

}  // namespace vantrel
