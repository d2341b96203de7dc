#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/failure.h"

namespace vantrel {

// How the user's port names "COM1".."COM30" map to this system's serial devices.
//
// The present serial devices are put in one list, in this order:
//   1. built-in ports /dev/ttyS<n> that have hardware behind them (sysfs "type" other than 0:
//      the kernel keeps placeholder ttyS nodes for ports that do not exist),
//   2. USB serial adapters /dev/ttyUSB<n>,
//   3. USB modem-class adapters /dev/ttyACM<n>,
// each group by its number (ttyUSB2 before ttyUSB10). COMn is the n-th device of that list, so a
// machine without built-in ports has its first adapter as COM1. The names are matched without
// regard to case; an absolute path ("/dev/ttyUSB0", a pseudo-terminal) is used as it is.
inline constexpr int kMaxComPort = 30;

// Where the devices are looked for; tests point these at a tree of their own.
struct SerialDeviceRoots {
  std::filesystem::path sys_class_tty = "/sys/class/tty";
  std::filesystem::path dev = "/dev";
};

struct SerialPortEntry {
  std::string name;    // "COM1"
  std::string device;  // "/dev/ttyUSB0"
};

// Every name that maps to a present device, COM1 first; at most kMaxComPort entries.
std::vector<SerialPortEntry> ListSerialPorts(const SerialDeviceRoots& roots = {});

// The device to open for a port name, or why there is none (code 1).
Outcome<std::string> ResolveSerialPort(std::string_view name, const SerialDeviceRoots& roots = {});

}  // namespace vantrel
