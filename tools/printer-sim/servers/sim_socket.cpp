#include "servers/sim_socket.h"

#include <netdb.h>
#include <netinet/in.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace vantrel::sim {
namespace {

in_port_t& PortField(ListenAddress& address) {
  if (address.storage.ss_family == AF_INET6) {
    return reinterpret_cast<sockaddr_in6*>(&address.storage)->sin6_port;
  }
  return reinterpret_cast<sockaddr_in*>(&address.storage)->sin_port;
}

}  // namespace

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
  if (this != &other) {
    Reset();
    fd_ = other.Release();
  }
  return *this;
}

int UniqueFd::Release() {
  const int fd = fd_;
  fd_ = -1;
  return fd;
}

void UniqueFd::Reset() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

SimFailure WakeEvent::Open() {
  fd_ = UniqueFd(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC));
  if (!fd_.valid()) return SystemFailure("eventfd");
  return {};
}

void WakeEvent::Notify() {
  const std::uint64_t one = 1;
  // A full counter already wakes the reader, so a failed write loses nothing.
  [[maybe_unused]] const ssize_t written = ::write(fd_.get(), &one, sizeof one);
}

void WakeEvent::Drain() {
  std::uint64_t count = 0;
  [[maybe_unused]] const ssize_t got = ::read(fd_.get(), &count, sizeof count);
}

SimFailure ResolveListenAddress(const std::string& host, std::uint16_t port,
                                ListenAddress& address) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE;
  addrinfo* found = nullptr;
  const std::string service = std::to_string(port);
  if (const int status = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &found);
      status != 0) {
    return {"cannot resolve " + host + ": " + ::gai_strerror(status)};
  }
  const std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> owner(found, &::freeaddrinfo);
  std::memcpy(&address.storage, found->ai_addr, found->ai_addrlen);
  address.length = found->ai_addrlen;
  return {};
}

SimFailure OpenListener(ListenAddress& address, UniqueFd& listener) {
  const auto* raw = reinterpret_cast<const sockaddr*>(&address.storage);
  UniqueFd fd(::socket(raw->sa_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!fd.valid()) return SystemFailure("socket");
  const int on = 1;
  ListenAddress bound = address;
  if (::setsockopt(fd.get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
      ::bind(fd.get(), raw, address.length) != 0 || ::listen(fd.get(), SOMAXCONN) != 0 ||
      ::getsockname(fd.get(), reinterpret_cast<sockaddr*>(&bound.storage), &bound.length) != 0) {
    return SystemFailure("listen on port " + std::to_string(PortOf(address)));
  }
  PortField(address) = PortField(bound);
  listener = std::move(fd);
  return {};
}

std::uint16_t PortOf(const ListenAddress& address) {
  ListenAddress copy = address;
  return ntohs(PortField(copy));
}

int PollTimeout(std::chrono::steady_clock::time_point deadline) {
  const auto left = deadline - std::chrono::steady_clock::now();
  if (left <= decltype(left)::zero()) return 0;
  return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(left).count());
}

bool WaitToServe(const SimServingHooks& hooks, std::span<pollfd> fds, int timeout_ms) {
  if (hooks.poll(fds.data(), fds.size(), timeout_ms) >= 0 || errno == EINTR) return true;
  if (hooks.stopped) hooks.stopped(SystemFailure("poll"));
  return false;
}

}  // namespace vantrel::sim
