#include "servers/sim_pty_server.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

namespace vantrel::sim {
namespace {

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) {
      pollfd entry{fd, POLLOUT, 0};
      ::poll(&entry, 1, 100);
      continue;
    }
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

SimFailure SimPtyServer::Start() {
  master_ = UniqueFd(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK));
  if (!master_.valid() || ::grantpt(master_.get()) != 0 || ::unlockpt(master_.get()) != 0) {
    return SystemFailure("cannot create a pseudo-terminal");
  }
  slave_path_ = ::ptsname(master_.get());
  slave_ = UniqueFd(::open(slave_path_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
  if (!slave_.valid()) return SystemFailure("cannot open " + slave_path_);
  // Raw from the start: no echo and no line editing, whoever opens the line first.
  termios line{};
  ::tcgetattr(slave_.get(), &line);
  ::cfmakeraw(&line);
  ::tcsetattr(slave_.get(), TCSANOW, &line);
  if (SimFailure woken = wake_.Open(); !woken.ok()) return woken;
  thread_ = std::thread([this] { Run(); });
  return {};
}

void SimPtyServer::Stop() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.Notify();
  thread_.join();
}

void SimPtyServer::Run() {
  for (;;) {
    std::array<pollfd, 2> fds{{{wake_.fd(), POLLIN, 0}, {master_.get(), POLLIN, 0}}};
    if (!WaitToServe(hooks_, fds, -1)) return;
    std::uint64_t asked = 0;
    {
      std::lock_guard lock(mutex_);
      if (stopping_) return;
      asked = settles_asked_;
    }
    if (fds[0].revents != 0) wake_.Drain();
    if (!ServeWaitingBytes()) return;
    {
      std::lock_guard lock(mutex_);
      settles_done_ = asked;
    }
    changed_.notify_all();
  }
}

// Reads until the line holds nothing more: the master is non-blocking.
bool SimPtyServer::ServeWaitingBytes() {
  std::array<std::uint8_t, 4096> buffer;
  for (;;) {
    const ssize_t n = ::read(master_.get(), buffer.data(), buffer.size());
    if (n > 0) {
      if (!Serve(std::span(buffer.data(), static_cast<std::size_t>(n)))) return false;
      continue;
    }
    // EIO: no slave is open now; the server's own slave descriptor prevents it, but it is no
    // reason to stop serving.
    return n < 0 && (errno == EAGAIN || errno == EINTR || errno == EIO);
  }
}

bool SimPtyServer::Settle(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  const std::uint64_t ticket = ++settles_asked_;
  wake_.Notify();
  return changed_.wait_for(lock, timeout, [&] { return settles_done_ >= ticket; });
}

bool SimPtyServer::Serve(std::span<const std::uint8_t> bytes) {
  {
    std::lock_guard lock(mutex_);
    const std::size_t room = received_limit_ - std::min(received_limit_, received_.size());
    received_.insert(received_.end(), bytes.begin(), bytes.begin() + std::min(room, bytes.size()));
  }
  changed_.notify_all();
  return WriteAll(master_.get(), printer_.Feed(bytes));
}

std::vector<std::uint8_t> SimPtyServer::Received() const {
  std::lock_guard lock(mutex_);
  return received_;
}

bool SimPtyServer::WaitForReceived(std::size_t bytes, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return received_.size() >= bytes; });
}

}  // namespace vantrel::sim
