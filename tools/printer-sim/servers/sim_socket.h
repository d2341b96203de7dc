#pragma once

#include <poll.h>
#include <sys/socket.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "state/sim_failure.h"

namespace vantrel::sim {

// Owns one file descriptor; -1 when empty.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept;
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd() { Reset(); }

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  int Release();
  void Reset();

 private:
  int fd_ = -1;
};

// Wakes a thread blocked in poll() on fd(): Notify from any thread.
class WakeEvent {
 public:
  SimFailure Open();
  int fd() const { return fd_.get(); }
  void Notify();
  void Drain();

 private:
  UniqueFd fd_;
};

struct ListenAddress {
  sockaddr_storage storage{};
  socklen_t length = 0;
};

// host is a numeric IPv4/IPv6 address or a name the local resolver knows.
SimFailure ResolveListenAddress(const std::string& host, std::uint16_t port,
                                ListenAddress& address);

// A non-blocking listening socket with SO_REUSEADDR, so it can be reopened on
// the same port at once. On success the address carries the bound port.
SimFailure OpenListener(ListenAddress& address, UniqueFd& listener);

std::uint16_t PortOf(const ListenAddress& address);

// poll() timeout for a wait until deadline: 0 when past, rounded up otherwise.
int PollTimeout(std::chrono::steady_clock::time_point deadline);

// How a serving thread waits and whom it tells when it stops for a failure; set before Start.
struct SimServingHooks {
  int (*poll)(pollfd* fds, nfds_t count, int timeout_ms) = ::poll;  // a test's may fail
  std::function<void(const SimFailure&)> stopped;                   // none: nobody is told
};

// One poll() of a serving loop. False when it failed, an interruption aside: the loop stops
// and hooks.stopped hears why.
bool WaitToServe(const SimServingHooks& hooks, std::span<pollfd> fds, int timeout_ms);

}  // namespace vantrel::sim
