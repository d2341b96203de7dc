#include "doctor/device_access.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>

namespace vantrel {
namespace {

constexpr mode_t kOwnerReadWrite = S_IRUSR | S_IWUSR;
constexpr mode_t kGroupReadWrite = S_IRGRP | S_IWGRP;
constexpr mode_t kOtherReadWrite = S_IROTH | S_IWOTH;

bool Has(mode_t mode, mode_t bits) {
  return (mode & bits) == bits;
}

bool Contains(const std::vector<gid_t>& groups, gid_t group) {
  return std::find(groups.begin(), groups.end(), group) != groups.end();
}

std::string UserName(uid_t user) {
  std::array<char, 4096> buffer{};
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(user, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr) {
    return found->pw_name;
  }
  return std::to_string(user);
}

}  // namespace

std::string GroupName(gid_t group) {
  std::array<char, 4096> buffer{};
  ::group entry{};
  ::group* found = nullptr;
  if (::getgrgid_r(group, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr) {
    return found->gr_name;
  }
  return std::to_string(group);
}

std::optional<DeviceNode> InspectDeviceNode(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  return DeviceNode{path, S_ISCHR(info.st_mode), info.st_uid, info.st_gid,
                    static_cast<mode_t>(info.st_mode & 07777)};
}

std::string DescribeOwnership(const DeviceNode& node) {
  char mode[8];
  std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(node.mode));
  return UserName(node.owner) + ":" + GroupName(node.group) + " " + mode;
}

bool UserCanReadWrite(const UserIdentity& user, const DeviceNode& node) {
  if (user.uid == 0) return true;
  if (user.is_this_process &&
      ::faccessat(AT_FDCWD, node.path.c_str(), R_OK | W_OK, AT_EACCESS) == 0) {
    return true;
  }
  if (node.owner == user.uid) return Has(node.mode, kOwnerReadWrite);
  if (Contains(user.session_groups, node.group)) return Has(node.mode, kGroupReadWrite);
  return Has(node.mode, kOtherReadWrite);
}

std::string GroupAccessFix(const UserIdentity& user, const DeviceNode& node) {
  if (!Has(node.mode, kGroupReadWrite) || node.group == 0) return {};
  const std::string group = GroupName(node.group);
  if (Contains(user.member_groups, node.group)) {
    return "log out and in again: " + user.name + " is in group " + group +
           ", but this session started before that";
  }
  return "sudo usermod -aG " + group + " " + user.name + ", then log out and in again";
}

DoctorCheck CheckNodeAccess(const std::string& interface, const UserIdentity& user,
                            const DeviceNode& node, const std::string& other_fix) {
  DoctorCheck check{interface, "access", UserCanReadWrite(user, node), {}, {}};
  const std::string ownership = node.path + " is " + DescribeOwnership(node);
  if (check.ok) {
    check.detail = ownership + ": " + user.name + " may read and write it";
    return check;
  }
  check.detail = ownership + ": " + user.name + " may not read and write it";
  check.fix = GroupAccessFix(user, node);
  if (check.fix.empty()) check.fix = other_fix;
  return check;
}

}  // namespace vantrel
