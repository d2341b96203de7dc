#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

#include "doctor/doctor_check.h"

namespace vantrel {

// The owner and mode of a device node, as stat reports them.
struct DeviceNode {
  std::string path;
  bool is_char_device = false;
  uid_t owner = 0;
  gid_t group = 0;
  mode_t mode = 0;  // permission bits only
};

// The node at `path`, or nullopt when nothing is there.
std::optional<DeviceNode> InspectDeviceNode(const std::string& path);

// "root:dialout 0660".
std::string DescribeOwnership(const DeviceNode& node);

// Whether `user` may both read and write the node.
bool UserCanReadWrite(const UserIdentity& user, const DeviceNode& node);

// The step that gives `user` access when the node's group may read and write it; empty when
// the group gives no access either (then only a rule that changes the node helps).
std::string GroupAccessFix(const UserIdentity& user, const DeviceNode& node);

// The check "access" for one node: fine, or what is wrong and the fix. `other_fix` is given
// when neither the owner nor the group route is open to the user.
DoctorCheck CheckNodeAccess(const std::string& interface, const UserIdentity& user,
                            const DeviceNode& node, const std::string& other_fix);

std::string GroupName(gid_t group);

}  // namespace vantrel
