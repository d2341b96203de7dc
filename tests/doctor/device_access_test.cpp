// Access to a device node judged by its owner, group and mode against a user's groups, and the
// fix each case needs.
#include "doctor/device_access.h"

#include <gtest/gtest.h>

#include "doctor/fake_system_tree.h"

namespace vantrel {
namespace {

using testing::PlainUser;

constexpr gid_t kLpGroup = 7;

struct AccessCase {
  const char* name;
  DeviceNode node;
  UserIdentity user;
  bool ok;
  const char* fix_start;  // the beginning of the fix, "" when none
};

void PrintTo(const AccessCase& c, std::ostream* out) {
  *out << c.name;
}

class NodeAccessTest : public ::testing::TestWithParam<AccessCase> {};

TEST_P(NodeAccessTest, JudgesAccessAndNamesTheFix) {
  const AccessCase& c = GetParam();
  const DoctorCheck check = CheckNodeAccess("usb", c.user, c.node, "install the udev rule");
  EXPECT_EQ(check.ok, c.ok) << check.detail;
  EXPECT_TRUE(check.fix.starts_with(c.fix_start)) << check.fix;
  EXPECT_EQ(check.fix.empty(), std::string(c.fix_start).empty()) << check.fix;
}

const DeviceNode kRootOnly{"/dev/bus/usb/001/002", true, 0, 0, 0600};
const DeviceNode kGroupLp{"/dev/lp0", true, 0, kLpGroup, 0660};
const DeviceNode kOwnedByUser{"/dev/ttyUSB0", true, 1000, 20, 0600};
const DeviceNode kOpenToAll{"/dev/ttyUSB0", true, 0, 20, 0666};

INSTANTIATE_TEST_SUITE_P(
    Nodes, NodeAccessTest,
    ::testing::Values(
        AccessCase{"RootOwned0600NeedsTheRule", kRootOnly, PlainUser(), false,
                   "install the udev rule"},
        AccessCase{"RootMayAlways", kRootOnly, {0, "root", {0}, {0}, false}, true, ""},
        AccessCase{"NotInTheGroupIsAddedToIt", kGroupLp, PlainUser(), false, "sudo usermod -aG"},
        AccessCase{"AddedButNotLoggedInAgain", kGroupLp, PlainUser({1000}, {1000, kLpGroup}), false,
                   "log out and in again"},
        AccessCase{"MemberOfTheGroup", kGroupLp, PlainUser({1000, kLpGroup}), true, ""},
        AccessCase{"Owner", kOwnedByUser, PlainUser(), true, ""},
        AccessCase{"OthersMayReadAndWrite", kOpenToAll, PlainUser(), true, ""}),
    [](const auto& case_info) { return std::string(case_info.param.name); });

}  // namespace
}  // namespace vantrel
