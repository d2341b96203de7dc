#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

#include "link/link_settings.h"

namespace vantrel {

// One finding of the connection doctor: what was looked at, whether it is fine, and when it is
// not, the command or step that puts it right.
struct DoctorCheck {
  std::string interface;  // "usb", "com", "lpt" or "net"
  std::string check;
  bool ok = false;
  std::string detail;
  std::string fix;
};

using DoctorReport = std::vector<DoctorCheck>;

// Where the doctor looks; tests point these at trees of their own.
struct DoctorRoots {
  std::string sys = "/sys";
  std::string dev = "/dev";
  std::string proc = "/proc";
  std::vector<std::string> udev_rule_dirs = {"/etc/udev/rules.d", "/run/udev/rules.d",
                                             "/usr/lib/udev/rules.d", "/lib/udev/rules.d"};
  std::vector<std::string> lock_dirs = {"/run/lock", "/var/lock"};
};

// Who wants to open the devices. `session_groups` are those this login has now,
// `member_groups` those the group database lists: they differ until the user logs in again.
struct UserIdentity {
  uid_t uid = 0;
  std::string name;
  std::vector<gid_t> session_groups;
  std::vector<gid_t> member_groups;
  // For the running process the kernel's own access check also counts (it sees ACLs, such as
  // the one the seat gives the logged-in user); a described user is judged by owner and mode.
  bool is_this_process = false;
};

// The identity of this process.
UserIdentity CurrentUser();

// Everything one doctor run needs: the link settings as the user gave them, where to look, as
// whom, and how long any one question may take.
struct DoctorRequest {
  SerialSettings serial;
  ParallelPortName parallel;
  NetworkTarget network;
  DoctorRoots roots;
  UserIdentity user;
  std::chrono::milliseconds timeout{1500};
  pid_t own_pid = 0;  // a process that holds a device is reported unless it is this one
};

}  // namespace vantrel
