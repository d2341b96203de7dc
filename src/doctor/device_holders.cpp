#include "doctor/device_holders.h"

#include <signal.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "common/host_file.h"
#include "common/parse_digits.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

std::string CommandOf(const fs::path& process_dir) {
  const std::string text = ReadShortTextFile(process_dir / "comm").value_or("");
  const std::string name = text.substr(0, text.find('\n'));
  return name.empty() ? "?" : name;
}

bool HoldsAny(const fs::path& process_dir, const std::vector<std::string>& devices) {
  std::error_code error;
  for (const auto& fd : fs::directory_iterator(process_dir / "fd", error)) {
    const fs::path target = fs::read_symlink(fd.path(), error);
    if (error) continue;
    for (const std::string& device : devices) {
      if (target == device) return true;
    }
  }
  return false;
}

// Lock files hold the pid as text ("  1234\n") or, from old programs, as a binary int.
std::optional<pid_t> ReadLockPid(const fs::path& file) {
  const std::string content = ReadShortTextFile(file).value_or("");
  const auto first = content.find_first_not_of(" \t");
  const auto last = content.find_last_not_of(" \t\r\n");
  if (first != std::string::npos && last != std::string::npos && last >= first) {
    if (const auto pid = ParseDigits(std::string_view(content).substr(first, last - first + 1))) {
      return static_cast<pid_t>(*pid);
    }
  }
  if (content.size() == sizeof(int)) {
    int pid = 0;
    std::copy_n(content.data(), sizeof pid, reinterpret_cast<char*>(&pid));
    return static_cast<pid_t>(pid);
  }
  return std::nullopt;
}

bool IsAlive(pid_t pid) {
  return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM);
}

std::string Describe(const DeviceHolder& holder) {
  return holder.command + " (pid " + std::to_string(holder.pid) + ")";
}

}  // namespace

std::vector<DeviceHolder> FindDeviceHolders(const std::string& proc_root,
                                            const std::vector<std::string>& devices, pid_t skip) {
  std::vector<DeviceHolder> holders;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(proc_root, error)) {
    const std::optional<int> pid = ParseDigits(entry.path().filename().string());
    if (!pid || *pid == skip || !HoldsAny(entry.path(), devices)) continue;
    holders.push_back({static_cast<pid_t>(*pid), CommandOf(entry.path())});
  }
  return holders;
}

std::optional<DeviceHolder> FindLockHolder(const DoctorRoots& roots,
                                           const std::string& device_name) {
  for (const std::string& dir : roots.lock_dirs) {
    const fs::path file = fs::path(dir) / ("LCK.." + device_name);
    const std::optional<pid_t> pid = ReadLockPid(file);
    if (pid && IsAlive(*pid)) {
      return DeviceHolder{*pid, CommandOf(fs::path(roots.proc) / std::to_string(*pid))};
    }
  }
  return std::nullopt;
}

DoctorCheck CheckDeviceInUse(const std::string& interface, const DoctorRequest& request,
                             const std::vector<std::string>& devices, bool look_for_locks) {
  DoctorCheck check{interface, "in use", true, {}, {}};
  std::vector<DeviceHolder> holders =
      FindDeviceHolders(request.roots.proc, devices, request.own_pid);
  if (look_for_locks && !devices.empty()) {
    const std::string name = fs::path(devices.front()).filename().string();
    if (auto locker = FindLockHolder(request.roots, name)) holders.push_back(*locker);
  }
  if (holders.empty()) {
    check.detail = "no other program has " + devices.front() + " open";
    return check;
  }
  check.ok = false;
  check.detail = devices.front() + " is held by " + Describe(holders.front());
  for (std::size_t i = 1; i < holders.size(); ++i) check.detail += ", " + Describe(holders[i]);
  check.fix = "close " + holders.front().command + ", or stop it: kill " +
              std::to_string(holders.front().pid);
  return check;
}

}  // namespace vantrel
