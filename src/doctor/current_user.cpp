// The identity of the running process, for the access checks.
#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <array>

#include "doctor/doctor_check.h"

namespace vantrel {
namespace {

std::vector<gid_t> SessionGroups() {
  const int count = ::getgroups(0, nullptr);
  std::vector<gid_t> groups(static_cast<std::size_t>(std::max(count, 0)));
  const int got = ::getgroups(static_cast<int>(groups.size()), groups.data());
  groups.resize(static_cast<std::size_t>(std::max(got, 0)));
  groups.push_back(::getegid());
  return groups;
}

// What the group database says, which a new login would get.
std::vector<gid_t> MemberGroups(const char* name, gid_t primary) {
  int count = 64;
  std::vector<gid_t> groups(static_cast<std::size_t>(count));
  if (::getgrouplist(name, primary, groups.data(), &count) < 0) {
    groups.resize(static_cast<std::size_t>(count));
    if (::getgrouplist(name, primary, groups.data(), &count) < 0) count = 0;
  }
  groups.resize(static_cast<std::size_t>(count));
  return groups;
}

}  // namespace

UserIdentity CurrentUser() {
  UserIdentity user;
  user.uid = ::geteuid();
  user.name = std::to_string(user.uid);
  user.session_groups = SessionGroups();
  user.is_this_process = true;
  std::array<char, 4096> buffer{};
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(user.uid, &entry, buffer.data(), buffer.size(), &found) == 0 &&
      found != nullptr) {
    user.name = found->pw_name;
    user.member_groups = MemberGroups(found->pw_name, found->pw_gid);
  }
  return user;
}

}  // namespace vantrel
