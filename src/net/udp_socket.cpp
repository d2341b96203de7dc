#include "net/udp_socket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

#include "common/socket_wait.h"

namespace vantrel {
namespace {

// Room for a few thousand replies arriving together.
constexpr int kReceiveBufferBytes = 8 * 1024 * 1024;

void EnlargeReceiveBuffer(int fd) {
  // The forcing option passes the system's cap where the process may; otherwise the plain one
  // gives as much as the cap allows. Neither failing is an error: collecting still drains.
  const int size = kReceiveBufferBytes;
  if (::setsockopt(fd, SOL_SOCKET, SO_RCVBUFFORCE, &size, sizeof size) != 0) {
    ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
  }
}

Outcome<std::optional<UdpSocket>> OpenFailure(std::string_view what) {
  const int error = errno;
  return {std::nullopt,
          {kResultPortOpenError, error, std::string(what) + ": " + std::strerror(error)}};
}

}  // namespace

Outcome<std::optional<UdpSocket>> UdpSocket::Open() {
  const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return OpenFailure("cannot create a datagram socket");
  UdpSocket socket(fd);
  const int on = 1;
  if (::setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0) {
    return OpenFailure("cannot allow broadcasts");
  }
  EnlargeReceiveBuffer(fd);
  return {std::move(socket), {}};
}

UdpSocket::UdpSocket(UdpSocket&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

UdpSocket& UdpSocket::operator=(UdpSocket&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

UdpSocket::~UdpSocket() {
  if (fd_ >= 0) ::close(fd_);
}

LinkFailure UdpSocket::SendTo(std::span<const std::uint8_t> datagram, const Ipv4Bytes& address,
                              std::uint16_t port) {
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(port);
  std::memcpy(&to.sin_addr, address.data(), address.size());
  const ssize_t sent = ::sendto(fd_, datagram.data(), datagram.size(), MSG_NOSIGNAL,
                                reinterpret_cast<const sockaddr*>(&to), sizeof to);
  if (sent == static_cast<ssize_t>(datagram.size())) return {};
  const int error = sent < 0 ? errno : EMSGSIZE;
  return {kResultTransmissionError, error,
          "cannot send to " + FormatIPv4(address) + ":" + std::to_string(port) + ": " +
              std::strerror(error)};
}

UdpSocket::Received UdpSocket::Receive(std::span<std::uint8_t> buffer,
                                       std::chrono::milliseconds wait) {
  if (WaitForDescriptor(fd_, POLLIN, wait) != WaitResult::kReady) return {};
  const ssize_t got = ::recv(fd_, buffer.data(), buffer.size(), MSG_DONTWAIT);
  if (got < 0) return {Arrival::kReceiveFailed, 0};
  return {Arrival::kDatagram, static_cast<std::size_t>(got)};
}

}  // namespace vantrel
