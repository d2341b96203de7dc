#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

#include "doctor/doctor_check.h"

namespace vantrel {

// A process that has one of the devices open.
struct DeviceHolder {
  pid_t pid = 0;
  std::string command;  // its short name, as the kernel keeps it
};

// Processes under `proc_root` with an open descriptor on any of `devices`, except `skip`.
// Only the processes this user may look into are seen.
std::vector<DeviceHolder> FindDeviceHolders(const std::string& proc_root,
                                            const std::vector<std::string>& devices, pid_t skip);

// The live process named by a UUCP-style lock file (LCK..ttyUSB0) for `device_name`.
std::optional<DeviceHolder> FindLockHolder(const DoctorRoots& roots,
                                           const std::string& device_name);

// The check "in use" over the descriptor scan and, for serial lines, the lock files.
DoctorCheck CheckDeviceInUse(const std::string& interface, const DoctorRequest& request,
                             const std::vector<std::string>& devices, bool look_for_locks);

}  // namespace vantrel
