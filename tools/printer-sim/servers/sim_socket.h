#pragma once

#include <sys/socket.h>

#include <chrono>
#include <cstdint>
#include <string>

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
  bool Open(std::string& error);
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
bool ResolveListenAddress(const std::string& host, std::uint16_t port, ListenAddress& address,
                          std::string& error);

// A non-blocking listening socket with SO_REUSEADDR, so it can be reopened on
// the same port at once. On success the address carries the bound port.
UniqueFd OpenListener(ListenAddress& address, std::string& error);

std::uint16_t PortOf(const ListenAddress& address);

// poll() timeout for a wait until deadline: 0 when past, rounded up otherwise.
int PollTimeout(std::chrono::steady_clock::time_point deadline);

}  // namespace vantrel::sim
