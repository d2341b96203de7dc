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
#include <thread>

#include "common/socket_wait.h"

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
  // One deadline for every address: a name with several silent ones must not multiply the wait.
  const auto deadline = std::chrono::steady_clock::now() + waits.net_connect;
  for (const addrinfo* address = found.head; address != nullptr; address = address->ai_next) {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      cause = "cannot connect within " + std::to_string(waits.net_connect.count()) + " ms";
      break;
    }
    const int fd = ConnectOne(*address, left, cause);
    if (fd >= 0) return std::unique_ptr<TcpTransport>(new TcpTransport(fd, waits));
  }
  return nullptr;
}

TcpTransport::~TcpTransport() {
  ::close(fd_);
}

// A write only hands bytes to the kernel. Closing while the printer's bytes lie unread would
// reset the connection and drop what is still queued, and a printer that resets or never
// acknowledges has not got the block. So the link says it is done sending, discards what the
// printer still sends, and waits until every byte is acknowledged and the printer has ended its
// side, a reset comes, or waits.net_close passes. Silence with everything acknowledged (a
// printer rebooting) is success.
bool TcpTransport::Finish() {
  ::shutdown(fd_, SHUT_WR);
  // After a failed exchange the operation fails anyway; an answer read since the last write
  // shows that the printer took it.
  if (write_failed_ || read_failed_ || !unconfirmed_write_) return true;
  constexpr auto kSlice = std::chrono::milliseconds(10);
  const auto deadline = std::chrono::steady_clock::now() + waits_.net_close;
  bool peer_done = false;
  for (;;) {
    const PeerState peer = DiscardIncoming();
    peer_done = peer_done || peer == PeerState::kEnded;
    int error = errno;
    socklen_t size = sizeof(error);
    if (peer == PeerState::kBroken ||
        (::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error != 0)) {
      SetCause("the printer broke the connection before taking every byte: " + ErrnoText(error));
      return false;
    }
    int unacknowledged = 0;
    if (::ioctl(fd_, SIOCOUTQ, &unacknowledged) != 0) return true;
    if (unacknowledged == 0 && peer_done) return true;
    if (std::chrono::steady_clock::now() >= deadline) {
      if (unacknowledged == 0) return true;
      SetCause("the printer did not acknowledge the last " + std::to_string(unacknowledged) +
               " bytes within " + std::to_string(waits_.net_close.count()) + " ms");
      return false;
    }
    // Once the printer has ended its side the socket stays readable; only the queue is watched.
    if (peer_done) {
      std::this_thread::sleep_for(kSlice);
    } else {
      WaitForDescriptor(fd_, POLLIN, kSlice);
    }
  }
}

// Reads and drops what has arrived; a broken connection leaves its reason in errno.
TcpTransport::PeerState TcpTransport::DiscardIncoming() {
  std::array<char, 4096> discard;
  for (;;) {
    const ssize_t n = ::recv(fd_, discard.data(), discard.size(), MSG_DONTWAIT);
    if (n > 0 || (n < 0 && errno == EINTR)) continue;
    if (n == 0) return PeerState::kEnded;
    return errno == EAGAIN || errno == EWOULDBLOCK ? PeerState::kOpen : PeerState::kBroken;
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
  unconfirmed_write_ = true;
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
  const std::chrono::milliseconds wait = WithinReply(waits_.net_read);
  switch (WaitForDescriptor(fd_, POLLIN, wait)) {
    case WaitResult::kTimedOut:
      read_failed_ = true;
      SetCause("no answer from the printer within " + std::to_string(wait.count()) + " ms");
      return 0;
    case WaitResult::kFailed:
      read_failed_ = true;
      SetCause("waiting for an answer failed: " + ErrnoText(errno));
      return 0;
    case WaitResult::kReady:
      break;
  }
  for (;;) {
    const ssize_t n = ::recv(fd_, into.data(), into.size(), 0);
    if (n > 0) {
      unconfirmed_write_ = false;
      return static_cast<std::size_t>(n);
    }
    if (n < 0 && errno == EINTR) continue;
    read_failed_ = true;
    SetLost(n == 0 ? "the printer closed the connection" : "receiving failed: " + ErrnoText(errno));
    return 0;
  }
}

}  // namespace vantrel
