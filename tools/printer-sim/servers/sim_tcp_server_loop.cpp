// The serving thread of SimTcpServer: one poll() over the wake event, the
// listener (while no client is connected) and the client.
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <limits>

#include "servers/sim_tcp_server.h"

namespace vantrel::sim {
namespace {

constexpr std::size_t kReceiveChunk = std::size_t{64} * 1024;
// Stop reading from a client that does not take its answers beyond this.
constexpr std::size_t kMaxPendingAnswers = std::size_t{1024} * 1024;

// Whether answers wait for Client::next_send.
bool Paced(const SimFaults& faults) {
  return faults.byte_delay.count() > 0 || faults.reply_delay.count() > 0;
}

}  // namespace

void SimTcpServer::Run() {
  while (true) {
    ApplyFaultChanges();
    {
      std::lock_guard lock(mutex_);
      if (stop_requested_) break;
    }
    const bool accepting = Accepting();
    std::array<pollfd, 2> fds{};
    fds[0] = {wake_->fd(), POLLIN, 0};
    if (accepting) fds[1] = {listener_.get(), POLLIN, 0};
    if (client_) fds[1] = {client_->fd.get(), static_cast<short>(ClientEvents()), 0};
    const nfds_t count = accepting || client_ ? 2 : 1;
    if (!WaitToServe(hooks_, std::span(fds).first(count), PollTimeoutMs())) break;
    // A shared wake event is never drained: it stays up until every sharer has seen it.
    if (fds[0].revents != 0 && SharesWake()) break;
    if (fds[0].revents != 0) wake_->Drain();
    if (accepting && fds[1].revents != 0) Accept();
    if (!accepting && client_ && (fds[1].revents & (POLLIN | POLLHUP | POLLERR)) != 0) Receive();
    if (client_) Flush();
    if (client_ && client_->hang_up_when_sent && client_->pending.empty()) CloseClient();
  }
  CloseClient();
  listener_.Reset();
}

void SimTcpServer::ApplyFaultChanges() {
  std::uint64_t version = 0;
  {
    std::lock_guard lock(mutex_);
    if (applied_version_ == faults_version_) return;
    active_faults_ = faults_;
    version = faults_version_;
  }
  UpdateListener();
  if (client_ && ReachedCloseLimit()) CloseClient();
  {
    std::lock_guard lock(mutex_);
    applied_version_ = version;
  }
  changed_.notify_all();
}

void SimTcpServer::UpdateListener() {
  if (active_faults_.refuse_connections) {
    listener_.Reset();
    return;
  }
  if (listener_.valid()) return;
  OpenListener(address_, listener_);  // if the port was taken meanwhile, connects keep failing
}

int SimTcpServer::ClientEvents() const {
  int events = 0;
  if (client_->pending.size() < kMaxPendingAnswers) events |= POLLIN;
  const bool due = !Paced(active_faults_) || std::chrono::steady_clock::now() >= client_->next_send;
  if (!client_->pending.empty() && due) events |= POLLOUT;
  return events;
}

int SimTcpServer::PollTimeoutMs() const {
  if (!client_ && listener_.valid() && !Accepting()) return PollTimeout(accept_after_);
  if (!client_ || client_->pending.empty() || !Paced(active_faults_)) return -1;
  return PollTimeout(client_->next_send);
}

bool SimTcpServer::Accepting() const {
  return !client_ && listener_.valid() && std::chrono::steady_clock::now() >= accept_after_;
}

void SimTcpServer::Accept() {
  UniqueFd fd(::accept4(listener_.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
  if (!fd.valid() && (errno == EMFILE || errno == ENFILE)) {
    constexpr auto kDescriptorWait = std::chrono::milliseconds(20);
    accept_after_ = std::chrono::steady_clock::now() + kDescriptorWait;
  }
  if (!fd.valid()) return;  // out of descriptors, or the client gave up before we got to it
  // A delayed answer must leave one byte per segment, not be gathered up.
  const int on = 1;
  ::setsockopt(fd.get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  printer_.ResetStream();
  client_.emplace(std::move(fd));
  {
    std::lock_guard lock(mutex_);
    ++connection_count_;
  }
  if (ReachedCloseLimit()) CloseClient();
}

void SimTcpServer::Receive() {
  std::array<std::uint8_t, kReceiveChunk> buffer;
  const std::size_t limit = std::min(buffer.size(), RemainingBeforeClose());
  const ssize_t got = ::recv(client_->fd.get(), buffer.data(), limit, 0);
  if (got < 0 && (errno == EAGAIN || errno == EINTR)) return;
  if (got <= 0) {
    CloseClient();
    return;
  }
  const auto bytes = std::span<const std::uint8_t>(buffer).first(static_cast<std::size_t>(got));
  client_->received += bytes.size();
  Record(bytes);
  const std::string answers = EncodeRepliesWithFaults(printer_.FeedReplies(bytes), active_faults_);
  if (client_->pending.empty() && !answers.empty()) {
    const auto due = std::chrono::steady_clock::now() + active_faults_.reply_delay;
    client_->next_send = std::max(client_->next_send, due);
  }
  client_->pending += answers;
  client_->hang_up_when_sent =
      client_->hang_up_when_sent || (active_faults_.close_after_answer && !answers.empty());
  if (!ReachedCloseLimit()) return;
  Flush();
  CloseClient();
}

bool SimTcpServer::ReachedCloseLimit() const {
  return RemainingBeforeClose() == 0;
}

std::size_t SimTcpServer::RemainingBeforeClose() const {
  const auto& limit = active_faults_.close_after_bytes;
  if (!limit) return std::numeric_limits<std::size_t>::max();
  return *limit - std::min(*limit, client_->received);
}

void SimTcpServer::Flush() {
  Client& client = *client_;
  const bool paced = Paced(active_faults_);
  const bool byte_by_byte = active_faults_.byte_delay.count() > 0;
  while (!client.pending.empty()) {
    const auto now = std::chrono::steady_clock::now();
    if (paced && now < client.next_send) return;
    const std::size_t allowed = std::min(client.pending.size(), RemainingBeforeReset());
    if (allowed == 0) {
      ResetClient();
      return;
    }
    const std::size_t size = byte_by_byte ? 1 : allowed;
    const ssize_t sent = ::send(client.fd.get(), client.pending.data(), size, MSG_NOSIGNAL);
    if (sent < 0) {
      // The next receive reports a broken connection and closes it.
      if (errno != EAGAIN && errno != EINTR) client.pending.clear();
      return;
    }
    client.pending.erase(0, static_cast<std::size_t>(sent));
    client.sent += static_cast<std::size_t>(sent);
    client.next_send = now + active_faults_.byte_delay;
  }
}

std::size_t SimTcpServer::RemainingBeforeReset() const {
  const auto& limit = active_faults_.reset_after_sent_bytes;
  if (!limit) return std::numeric_limits<std::size_t>::max();
  return *limit - std::min(*limit, client_->sent);
}

// A zero linger makes the close send a reset, as a printer that restarts mid-answer does.
void SimTcpServer::ResetClient() {
  const linger abort{1, 0};
  ::setsockopt(client_->fd.get(), SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
  CloseClient();
}

void SimTcpServer::CloseClient() {
  if (!client_) return;
  client_.reset();
  {
    std::lock_guard lock(mutex_);
    ++closed_count_;
  }
  changed_.notify_all();
}

}  // namespace vantrel::sim
