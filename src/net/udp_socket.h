#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>

#include "common/failure.h"
#include "net/ipv4_text.h"

namespace vantrel {

// How many of an exchange's datagrams the system took, and why the last refused one was not.
struct DatagramTally {
  std::size_t sent = 0;
  std::size_t tried = 0;
  LinkFailure failure;

  void Count(LinkFailure send) {
    ++tried;
    if (send.ok()) {
      ++sent;
    } else {
      failure = std::move(send);
    }
  }
};

// One IPv4 datagram socket for one discovery or setup run; closed when destroyed.
class UdpSocket {
 public:
  // Broadcast allowed, and a receive buffer big enough that a large fleet answering a discovery
  // at once loses no reply. No socket, with a port open failure, when none can be made.
  static Outcome<std::optional<UdpSocket>> Open();

  UdpSocket(UdpSocket&& other) noexcept;
  UdpSocket& operator=(UdpSocket&& other) noexcept;
  UdpSocket(const UdpSocket&) = delete;
  UdpSocket& operator=(const UdpSocket&) = delete;
  ~UdpSocket();

  // Empty when the system took the datagram; otherwise a transmission failure with its cause
  // (no route, for one).
  LinkFailure SendTo(std::span<const std::uint8_t> datagram, const Ipv4Bytes& address,
                     std::uint16_t port);

  enum class Arrival { kDatagram, kNothing, kReceiveFailed };
  struct Received {
    Arrival arrival = Arrival::kNothing;
    std::size_t length = 0;  // of the datagram, cut to the buffer
  };
  // Waits up to `wait` for the socket to become readable, then receives one datagram.
  // kNothing: the wait ended without data (time-out or a failed wait).
  Received Receive(std::span<std::uint8_t> buffer, std::chrono::milliseconds wait);

 private:
  explicit UdpSocket(int fd) : fd_(fd) {}

  int fd_ = -1;
};

}  // namespace vantrel
