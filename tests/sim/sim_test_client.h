#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

#include "servers/sim_socket.h"

namespace vantrel::sim::testing {

using std::chrono_literals::operator""ms;

// A TCP client of a loopback address for the tests; every wait is bounded.
class TestClient {
 public:
  explicit TestClient(std::uint16_t port, const std::string& host = "127.0.0.1");

  bool connected() const { return fd_.valid(); }
  int connect_error() const { return connect_error_; }  // errno when not connected

  bool Send(std::string_view bytes);
  // Up to `count` bytes; fewer when the peer closes or the time is up.
  std::string Read(std::size_t count, std::chrono::milliseconds timeout = 5000ms);
  // True when the peer closes or resets the connection within the timeout.
  bool WaitClosed(std::chrono::milliseconds timeout = 5000ms);
  // Half-closes and waits for the server to close too, so that no unread
  // answer turns the close into a reset.
  bool Finish();

 private:
  UniqueFd fd_;
  int connect_error_ = 0;
};

}  // namespace vantrel::sim::testing
