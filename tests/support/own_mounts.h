#pragma once

#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

namespace vantrel::testing {

// Why this process cannot make a mount namespace (as a user without the right to), or empty
// when it can; probed in a child so that this process keeps its own.
inline std::string OwnMountsRefused() {
  int pipe_ends[2];
  if (::pipe(pipe_ends) != 0) return std::strerror(errno);
  const pid_t child = ::fork();
  if (child == 0) {
    const int error = ::unshare(CLONE_NEWNS) == 0 ? 0 : errno;
    (void)!::write(pipe_ends[1], &error, sizeof error);
    ::_exit(0);
  }
  ::close(pipe_ends[1]);
  int error = 0;
  const bool told = ::read(pipe_ends[0], &error, sizeof error) == sizeof error;
  ::close(pipe_ends[0]);
  ::waitpid(child, nullptr, 0);
  if (!told) return "the probing child died";
  return error == 0 ? "" : std::string("unshare: ") + std::strerror(error);
}

// Runs `body` in a child process with a mount namespace of its own, after `mount` has changed
// the mounts there (root ignores folder permissions: a read-only or a full folder has to be a
// mount); returns the child's exit status, which `body` sets, or 99 when the mount failed.
inline int InOwnMounts(const std::function<bool()>& mount, const std::function<int()>& body) {
  const pid_t child = ::fork();
  if (child == 0) {
    const bool mounted = ::unshare(CLONE_NEWNS) == 0 &&
                         ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                         mount();
    ::_exit(mounted ? body() : 99);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// `folder` as a file system of one page, so that a write of more fails with ENOSPC.
inline bool MountFullFolder(const std::filesystem::path& folder) {
  return ::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=4k") == 0;
}

}  // namespace vantrel::testing
