#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "doctor/doctor_check.h"

namespace vantrel::testing {

// A throw-away tree standing in for /sys, /dev, /proc, the udev rule folders and the lock
// folders, so each check can be aimed at a machine in any state.
class FakeSystemTree {
 public:
  FakeSystemTree() {
    root_ = std::filesystem::path(::testing::TempDir()) /
            ("doctor_" + std::to_string(::getpid()) + "_" + std::to_string(counter_++));
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_);
  }
  ~FakeSystemTree() { std::filesystem::remove_all(root_); }
  FakeSystemTree(const FakeSystemTree&) = delete;
  FakeSystemTree& operator=(const FakeSystemTree&) = delete;

  std::string Path(const std::string& relative) const { return (root_ / relative).string(); }

  // Writes a file (its folders made as needed) and sets its mode.
  std::string Write(const std::string& relative, const std::string& content,
                    std::filesystem::perms mode = std::filesystem::perms::owner_read |
                                                  std::filesystem::perms::owner_write) {
    const std::filesystem::path file = root_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
    std::filesystem::permissions(file, mode);
    return file.string();
  }

  void Link(const std::string& relative, const std::string& target) {
    const std::filesystem::path link = root_ / relative;
    std::filesystem::create_directories(link.parent_path());
    std::filesystem::create_symlink(target, link);
  }

  // The roots of this tree, with one udev rule folder and one lock folder.
  DoctorRoots Roots() const {
    return {Path("sys"), Path("dev"), Path("proc"), {Path("etc/udev/rules.d")}, {Path("lock")}};
  }

 private:
  static inline int counter_ = 0;
  std::filesystem::path root_;
};

// An ordinary user in group 1000 only, judged by owner and mode.
inline UserIdentity PlainUser(std::vector<gid_t> session = {1000},
                              std::vector<gid_t> member = {1000}) {
  return {1000, "tech", std::move(session), std::move(member), false};
}

// The check called `name` in the report; fails the test when it is missing.
inline DoctorCheck Find(const DoctorReport& report, const std::string& name) {
  for (const DoctorCheck& check : report) {
    if (check.check == name) return check;
  }
  ADD_FAILURE() << "no check \"" << name << "\"";
  return {};
}

}  // namespace vantrel::testing
