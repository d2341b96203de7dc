#include "sim/sim_test_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <array>
#include <cerrno>

namespace vantrel::sim::testing {

TestClient::TestClient(std::uint16_t port, const std::string& host)
    : fd_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  const bool loopback = ::inet_pton(AF_INET, host.c_str(), &address.sin_addr) == 1 &&
                        (ntohl(address.sin_addr.s_addr) >> 24) == 127;
  if (!loopback) {
    connect_error_ = EINVAL;
    fd_.Reset();
    return;
  }
  if (::connect(fd_.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    connect_error_ = errno;
    fd_.Reset();
  }
}

bool TestClient::Send(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t sent = ::send(fd_.get(), bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
  return true;
}

std::string TestClient::Read(std::size_t count, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  std::string bytes;
  std::array<char, 4096> buffer;
  while (bytes.size() < count) {
    pollfd wanted{fd_.get(), POLLIN, 0};
    if (::poll(&wanted, 1, PollTimeout(deadline)) <= 0) break;
    const std::size_t room = std::min(buffer.size(), count - bytes.size());
    const ssize_t got = ::recv(fd_.get(), buffer.data(), room, 0);
    if (got <= 0) break;
    bytes.append(buffer.data(), static_cast<std::size_t>(got));
  }
  return bytes;
}

bool TestClient::WaitClosed(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  std::array<char, 4096> buffer;
  while (true) {
    pollfd wanted{fd_.get(), POLLIN, 0};
    if (::poll(&wanted, 1, PollTimeout(deadline)) <= 0) return false;
    if (::recv(fd_.get(), buffer.data(), buffer.size(), 0) <= 0) return true;
  }
}

bool TestClient::Finish() {
  ::shutdown(fd_.get(), SHUT_WR);
  const bool closed = WaitClosed();
  fd_.Reset();
  return closed;
}

}  // namespace vantrel::sim::testing
