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

std::string SystemError(const std::string& what) {
  return what + ": " + std::strerror(errno);
}

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

bool WakeEvent::Open(std::string& error) {
  fd_ = UniqueFd(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC));
  if (!fd_.valid()) error = SystemError("eventfd");
  return fd_.valid();
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

bool ResolveListenAddress(const std::string& host, std::uint16_t port, ListenAddress& address,
                          std::string& error) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE;
  addrinfo* found = nullptr;
  const std::string service = std::to_string(port);
  if (const int status = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &found);
      status != 0) {
    error = "cannot resolve " + host + ": " + ::gai_strerror(status);
    return false;
  }
  const std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> owner(found, &::freeaddrinfo);
  std::memcpy(&address.storage, found->ai_addr, found->ai_addrlen);
  address.length = found->ai_addrlen;
  return true;
}

UniqueFd OpenListener(ListenAddress& address, std::string& error) {
  const auto* raw = reinterpret_cast<const sockaddr*>(&address.storage);
  UniqueFd fd(::socket(raw->sa_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!fd.valid()) {
    error = SystemError("socket");
    return fd;
  }
  const int on = 1;
  ListenAddress bound = address;
  if (::setsockopt(fd.get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
      ::bind(fd.get(), raw, address.length) != 0 || ::listen(fd.get(), SOMAXCONN) != 0 ||
      ::getsockname(fd.get(), reinterpret_cast<sockaddr*>(&bound.storage), &bound.length) != 0) {
    error = SystemError("listen on port " + std::to_string(PortOf(address)));
    return UniqueFd();
  }
  PortField(address) = PortField(bound);
  return fd;
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

}  // namespace vantrel::sim
