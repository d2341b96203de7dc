#include "doctor/parallel_checks.h"

#include "doctor/device_access.h"
#include "doctor/device_holders.h"
#include "link/parallel_port_device.h"

namespace vantrel {
namespace {

const std::string kLpt = "lpt";

// LPTn names the system's /dev/lp(n-1); under a test's root the same name is looked up there.
std::optional<std::string> DeviceUnderRoot(const DoctorRequest& request) {
  const std::string& name = request.parallel.name;
  std::optional<std::string> device = ParallelPortDevice(name);
  if (device && !name.starts_with('/') && device->starts_with("/dev/")) {
    device = request.roots.dev + device->substr(4);
  }
  return device;
}

}  // namespace

DoctorReport CheckParallel(const DoctorRequest& request) {
  const std::optional<std::string> device = DeviceUnderRoot(request);
  if (!device) {
    return {{kLpt, "port", false, "\"" + request.parallel.name + "\" is not a parallel port name",
             "give --lpt LPT1..LPT4 or the device's path"}};
  }
  const std::optional<DeviceNode> node = InspectDeviceNode(*device);
  if (!node || !node->is_char_device) {
    return {{kLpt, "port", false, *device + (node ? " is not a device" : " does not exist"),
             "load the parallel port driver (sudo modprobe lp), or give --lpt the path of a "
             "USB parallel adapter (/dev/usb/lp0)"}};
  }
  DoctorReport report = {{kLpt, "port", true, request.parallel.name + " is " + *device, {}}};
  report.push_back(
      CheckNodeAccess(kLpt, request.user, *node,
                      "ask the administrator to give group lp write access to " + *device));
  report.push_back(CheckDeviceInUse(kLpt, request, {*device}, false));
  return report;
}

}  // namespace vantrel
