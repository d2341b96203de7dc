#include "link/tcp_transport.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <thread>

#include "common/name_lookup.h"
#include "common/socket_wait.h"
#include "link/descriptor_write.h"

namespace vantrel {
namespace {

LinkFailure ConnectFailure(int error, const std::string& what) {
  return {kResultPortOpenError, error, what + ": " + std::strerror(error)};
}

// Lets the link's cancel reach a socket while it connects; detached before the socket closes.
class ConnectWatch {
 public:
  ConnectWatch(LinkCancel* cancel, int fd) : cancel_(cancel) {
    if (cancel_ != nullptr) cancel_->AttachConnecting(fd);
  }
  ~ConnectWatch() {
    if (cancel_ != nullptr) cancel_->AttachConnecting(-1);
  }
  ConnectWatch(const ConnectWatch&) = delete;
  ConnectWatch& operator=(const ConnectWatch&) = delete;

  bool cancelled() const { return cancel_ != nullptr && cancel_->cancelled(); }

 private:
  LinkCancel* cancel_;
};

// One connection attempt to one resolved address; returns the descriptor or the failure.
Outcome<UniqueFd> ConnectOne(const addrinfo& address, std::chrono::milliseconds wait,
                             LinkCancel* cancel) {
  UniqueFd socket(::socket(address.ai_family, address.ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK,
                           address.ai_protocol));
  const int fd = socket.get();
  if (fd < 0) return {UniqueFd(), ConnectFailure(errno, "cannot create a socket")};
  const ConnectWatch watch(cancel, fd);
  int error = 0;
  if (::connect(fd, address.ai_addr, address.ai_addrlen) != 0) {
    error = errno;
    // A cancel that came before the connect began had nothing to shut down: it is seen here.
    if (error == EINPROGRESS && !watch.cancelled()) {
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
  if (watch.cancelled()) return {UniqueFd(), CancelledFailure(kResultPortOpenError)};
  if (error != 0) return {UniqueFd(), ConnectFailure(error, "cannot connect")};
  const int on = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof(on));
  return {std::move(socket), {}};
}

// "the printer at 192.0.2.7:9100", "the printer at [2001:db8::7]:9100".
std::string PeerName(const std::string& address, const std::string& port) {
  const bool v6 = address.find(':') != std::string::npos;
  return "the printer at " + (v6 ? "[" + address + "]" : address) + ":" + port;
}

LinkFailure Refused(std::string detail) {
  return {kResultPortOpenError, 0, std::move(detail)};
}

}  // namespace

Outcome<std::unique_ptr<TcpTransport>> TcpTransport::Connect(const NetworkTarget& target,
                                                             const LinkWaits& waits,
                                                             LinkCancel* cancel) {
  if (target.address.empty()) return {nullptr, Refused("no printer address is set")};
  if (target.port <= 0 || target.port > 65535) {
    return {nullptr, Refused("port " + std::to_string(target.port) + " is not a TCP port")};
  }
  const std::string port = std::to_string(target.port);
  const NameLookup found(target.address, port.c_str());
  if (found.first() == nullptr) return {nullptr, found.failure()};
  // One deadline for every address: a name with several silent ones must not multiply the wait.
  const auto deadline = std::chrono::steady_clock::now() + waits.net_connect;
  LinkFailure failure;
  for (const addrinfo* address = found.first(); address != nullptr; address = address->ai_next) {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      failure = {kResultPortOpenError, ETIMEDOUT,
                 "cannot connect within " + std::to_string(waits.net_connect.count()) + " ms"};
      break;
    }
    Outcome<UniqueFd> connected = ConnectOne(*address, left, cancel);
    if (connected.value.get() >= 0) {
      return {std::unique_ptr<TcpTransport>(new TcpTransport(std::move(connected.value), waits,
                                                             PeerName(target.address, port))),
              {}};
    }
    failure = std::move(connected.failure);
    if (failure.os_error == ECANCELED) break;
  }
  return {nullptr, std::move(failure)};
}

TcpTransport::~TcpTransport() = default;

// A write only hands bytes to the kernel. Closing while the printer's bytes lie unread would
// reset the connection and drop what is still queued. So the link says it is done sending,
// discards what the printer still sends, and waits until every byte is acknowledged and the
// printer has ended its side. A printer that reads slowly or pauses is waited for as long as a
// write would wait for it; one that acknowledges nothing for that long has stalled. Once every
// byte is acknowledged, the printer has waits.net_close to end its side; silence then (a printer
// rebooting) is success. A reset is a failure that says whether every byte had been taken.
LinkFailure TcpTransport::Finish() {
  ::shutdown(fd_.get(), SHUT_WR);
  // After a failed exchange the operation fails anyway; an answer read since the last write
  // shows that the printer took it.
  if (write_failed_ || read_failed_ || !unconfirmed_write_) return {};
  constexpr auto kSlice = std::chrono::milliseconds(10);
  const auto stall = StallLimit();
  auto stall_deadline = std::chrono::steady_clock::now() + stall;
  std::optional<std::uint64_t> fewest;
  bool peer_done = false;
  for (;;) {
    const PeerState peer = DiscardIncoming();
    peer_done = peer_done || peer == PeerState::kEnded;
    const int error = peer == PeerState::kBroken ? errno : PendingError();
    const std::optional<std::uint64_t> unacknowledged = Unacknowledged();
    if (!unacknowledged) return {};
    // A reset is a lost link however much was acknowledged: the printer's stack took the bytes,
    // but nothing says the printer acted on them.
    if (error != 0) {
      const std::string what = *unacknowledged == 0
                                   ? " took every byte, then reset the connection: "
                                   : " broke the connection before acknowledging the last " +
                                         std::to_string(*unacknowledged) + " bytes: ";
      return {kResultTransmissionError, error, peer_ + what + std::strerror(error)};
    }
    if (*unacknowledged == 0 && peer_done) return {};
    const auto now = std::chrono::steady_clock::now();
    if (!fewest || *unacknowledged < *fewest) {
      fewest = unacknowledged;
      stall_deadline = now + (*unacknowledged == 0 ? waits_.net_close : stall);
    }
    if (now >= stall_deadline) {
      if (*unacknowledged == 0) return {};
      return {kResultTransmissionError, ETIMEDOUT,
              peer_ + " acknowledged none of the last " + std::to_string(*unacknowledged) +
                  " bytes for " + std::to_string(stall.count()) + " ms"};
    }
    // Once the printer has ended its side the socket stays readable; only the queue is watched.
    if (peer_done) {
      std::this_thread::sleep_for(kSlice);
    } else {
      WaitForDescriptor(fd_.get(), POLLIN, kSlice);
    }
  }
}

int TcpTransport::PendingError() const {
  int error = 0;
  socklen_t size = sizeof(error);
  return ::getsockopt(fd_.get(), SOL_SOCKET, SO_ERROR, &error, &size) == 0 ? error : 0;
}

// The count the printer's TCP acknowledged leaves out the SYN, counted before the first write,
// and may hold one more for the FIN.
std::optional<std::uint64_t> TcpTransport::Unacknowledged() const {
  const std::optional<std::uint64_t> acknowledged = AcknowledgedBytes(fd_.get());
  if (!acknowledged) return std::nullopt;
  const std::uint64_t data = *acknowledged - std::min(*acknowledged, acknowledged_at_connect_);
  return bytes_sent_ - std::min(bytes_sent_, data);
}

// Corked, the socket sends only full segments: a run of short commands reaches the printer in a
// packet or a few instead of one packet a command. Uncorking sends the rest at once.
void TcpTransport::HoldWrites(bool hold) {
  const int on = hold ? 1 : 0;
  ::setsockopt(fd_.get(), IPPROTO_TCP, TCP_CORK, &on, sizeof(on));
}

// A poll on a socket shut both ways returns at once, and so does the send or recv after it.
void TcpTransport::Interrupt() {
  ::shutdown(fd_.get(), SHUT_RDWR);
}

// Reads and drops what has arrived; a broken connection leaves its reason in errno.
TcpTransport::PeerState TcpTransport::DiscardIncoming() {
  std::array<char, 4096> discard;
  for (;;) {
    const ssize_t n = ::recv(fd_.get(), discard.data(), discard.size(), MSG_DONTWAIT);
    if (n > 0 || (n < 0 && errno == EINTR)) continue;
    if (n == 0) return PeerState::kEnded;
    return errno == EAGAIN || errno == EWOULDBLOCK ? PeerState::kOpen : PeerState::kBroken;
  }
}

LinkFailure TcpTransport::WriteChunk(std::span<const std::uint8_t> chunk, bool more_follows) {
  const bool adjoins = !gathered_.empty() && gathered_.data() + gathered_.size() == chunk.data();
  if (!gathered_.empty() && !adjoins) {
    const std::span<const std::uint8_t> earlier = std::exchange(gathered_, {});
    if (LinkFailure sent = SendAll(earlier, true); !sent.ok()) return sent;
  }
  gathered_ = adjoins ? std::span(gathered_.data(), gathered_.size() + chunk.size()) : chunk;
  if (more_follows && gathered_.size() < kGatherSize) return {};
  return SendAll(std::exchange(gathered_, {}), more_follows);
}

LinkFailure TcpTransport::SendAll(std::span<const std::uint8_t> chunk, bool more_follows) {
  const int flags = MSG_NOSIGNAL | (more_follows ? MSG_MORE : 0);
  unconfirmed_write_ = true;
  const auto send = [&](std::span<const std::uint8_t> rest) {
    const ssize_t n = ::send(fd_.get(), rest.data(), rest.size(), flags);
    if (n > 0) bytes_sent_ += static_cast<std::uint64_t>(n);
    return n;
  };
  const auto stalled = StallLimit();
  const auto await_room = [&] {
    return AwaitDescriptor(
        fd_.get(), POLLOUT, std::chrono::steady_clock::now() + stalled, kResultTransmissionError,
        peer_ + " took no data for " + std::to_string(stalled.count()) + " ms", peer_);
  };
  LinkFailure failure = WriteAll(chunk, send, await_room, peer_);
  write_failed_ = !failure.ok();
  return failure;
}

Received TcpTransport::Refill(std::span<std::uint8_t> into) {
  const std::chrono::milliseconds wait = WithinReply(waits_.net_read);
  LinkFailure failure = AwaitDescriptor(
      fd_.get(), POLLIN, std::chrono::steady_clock::now() + wait, kResultReceivingError,
      "no answer from " + peer_ + " within " + std::to_string(wait.count()) + " ms", peer_);
  if (!failure.ok()) {
    read_failed_ = true;
    return {.failure = std::move(failure)};
  }
  for (;;) {
    const ssize_t n = ::recv(fd_.get(), into.data(), into.size(), 0);
    if (n > 0) {
      unconfirmed_write_ = false;
      return {.count = static_cast<std::size_t>(n)};
    }
    if (n < 0 && errno == EINTR) continue;
    read_failed_ = true;
    if (n == 0) {
      return {0, StreamEnd::kEnded, {kResultReceivingError, 0, peer_ + " closed the connection"}};
    }
    const int error = errno;
    return {0,
            StreamEnd::kLost,
            {kResultReceivingError, error,
             "receiving from " + peer_ + " failed: " + std::strerror(error)}};
  }
}

}  // namespace vantrel
