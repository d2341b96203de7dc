#include "link/tcp_transport.h"

#include <fcntl.h>
#include <linux/sockios.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

#include "link/socket_wait.h"

namespace vantrel {
namespace {

struct AddrInfoList {
  addrinfo* head = nullptr;
  ~AddrInfoList() {
    if (head != nullptr) ::freeaddrinfo(head);
  }
};

std::string ErrnoText(int error) {
  return std::strerror(error);
}

// One connection attempt to one resolved address; returns the descriptor or -1.
int ConnectOne(const addrinfo& address, std::chrono::milliseconds wait, std::string& cause) {
  const int fd = ::socket(address.ai_family, address.ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK,
                          address.ai_protocol);
  if (fd < 0) {
    cause = "cannot create a socket: " + ErrnoText(errno);
    return -1;
  }
  int error = 0;
  if (::connect(fd, address.ai_addr, address.ai_addrlen) != 0) {
    error = errno;
    if (error == EINPROGRESS) {
      const WaitResult waited = WaitForDescriptor(fd, POLLOUT, wait);
      socklen_t size = sizeof(error);
      if (waited == WaitResult::kTimedOut) {
        error = ETIMEDOUT;
      } else if (waited == WaitResult::kFailed ||
                 ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0) {
        error = errno;
      }
    }
  }
  if (error != 0) {
    cause = "cannot connect: " + ErrnoText(error);
    ::close(fd);
    return -1;
  }
  const int on = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof(on));
  return fd;
}

}  // namespace

std::unique_ptr<TcpTransport> TcpTransport::Connect(const NetworkTarget& target,
                                                    const LinkWaits& waits, std::string& cause) {
  if (target.address.empty()) {
    cause = "no printer address is set";
    return nullptr;
  }
  if (target.port <= 0 || target.port > 65535) {
    cause = "port " + std::to_string(target.port) + " is not a TCP port";
    return nullptr;
  }
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  AddrInfoList found;
  const std::string port = std::to_string(target.port);
  const int status = ::getaddrinfo(target.address.c_str(), port.c_str(), &hints, &found.head);
  if (status != 0) {
    cause = "cannot resolve \"" + target.address + "\": " + ::gai_strerror(status);
    return nullptr;
  }
  for (const addrinfo* address = found.head; address != nullptr; address = address->ai_next) {
    const int fd = ConnectOne(*address, waits.net_connect, cause);
    if (fd >= 0) return std::unique_ptr<TcpTransport>(new TcpTransport(fd, waits));
  }
  return nullptr;
}

TcpTransport::~TcpTransport() {
  FinishSending();
  ::close(fd_);
}

// Closing while the printer's bytes lie unread makes the kernel reset the connection, and a
// reset drops whatever of the last write is still queued. So the link first says it is done
// sending, then discards what the printer still sends until every byte it sent is acknowledged,
// the printer closes, or the write wait has passed.
void TcpTransport::FinishSending() {
  constexpr auto kSlice = std::chrono::milliseconds(2);
  ::shutdown(fd_, SHUT_WR);
  // After a failed write the block is incomplete anyway: waiting would only delay the failure.
  if (write_failed_) return;
  const auto deadline = std::chrono::steady_clock::now() + waits_.net_write;
  std::array<char, 4096> discard;
  for (;;) {
    ssize_t n = 0;
    while ((n = ::recv(fd_, discard.data(), discard.size(), MSG_DONTWAIT)) > 0) {
    }
    if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) return;
    int unacknowledged = 0;
    if (::ioctl(fd_, SIOCOUTQ, &unacknowledged) != 0 || unacknowledged == 0) return;
    if (std::chrono::steady_clock::now() >= deadline) return;
    WaitForDescriptor(fd_, POLLIN, kSlice);
  }
}

bool TcpTransport::WaitUntilWritable() {
  for (int attempt = 0; attempt < waits_.net_write_attempts; ++attempt) {
    switch (WaitForDescriptor(fd_, POLLOUT, waits_.net_write)) {
      case WaitResult::kReady:
        return true;
      case WaitResult::kTimedOut:
        continue;
      case WaitResult::kFailed:
        SetCause("waiting to send failed: " + ErrnoText(errno));
        return false;
    }
  }
  SetCause("the printer took no data for " +
           std::to_string(waits_.net_write.count() * waits_.net_write_attempts) + " ms");
  return false;
}

bool TcpTransport::WriteChunk(std::span<const std::uint8_t> chunk, bool more_follows) {
  if (more_follows && gathered_.size() + chunk.size() <= kGatherSize) {
    gathered_.insert(gathered_.end(), chunk.begin(), chunk.end());
    return true;
  }
  if (!gathered_.empty()) {
    const bool sent = SendAll(gathered_, true);
    gathered_.clear();
    if (!sent) return false;
  }
  return SendAll(chunk, more_follows);
}

bool TcpTransport::SendAll(std::span<const std::uint8_t> chunk, bool more_follows) {
  const int flags = MSG_NOSIGNAL | (more_follows ? MSG_MORE : 0);
  std::size_t sent = 0;
  while (sent < chunk.size()) {
    const ssize_t n = ::send(fd_, chunk.data() + sent, chunk.size() - sent, flags);
    if (n > 0) {
      sent += static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      if (!WaitUntilWritable()) {
        write_failed_ = true;
        return false;
      }
    } else {
      SetCause(n == 0 ? "the connection is closed" : "sending failed: " + ErrnoText(errno));
      write_failed_ = true;
      return false;
    }
  }
  return true;
}

std::size_t TcpTransport::Refill(std::span<std::uint8_t> into) {
  switch (WaitForDescriptor(fd_, POLLIN, waits_.net_read)) {
    case WaitResult::kTimedOut:
      SetCause("no answer from the printer within " + std::to_string(waits_.net_read.count()) +
               " ms");
      return 0;
    case WaitResult::kFailed:
      SetCause("waiting for an answer failed: " + ErrnoText(errno));
      return 0;
    case WaitResult::kReady:
      break;
  }
  for (;;) {
    const ssize_t n = ::recv(fd_, into.data(), into.size(), 0);
    if (n > 0) return static_cast<std::size_t>(n);
    if (n < 0 && errno == EINTR) continue;
    SetCause(n == 0 ? "the printer closed the connection"
                    : "receiving failed: " + ErrnoText(errno));
    return 0;
  }
}

}  // namespace vantrel
