#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

namespace vantrel::testing {

// A one-connection TCP peer on 127.0.0.1 whose behaviour the test writes as a function of the
// accepted descriptor. The handler runs on its own thread; the destructor joins it.
class LoopbackListener {
 public:
  using Handler = std::function<void(int fd)>;

  explicit LoopbackListener(Handler handler) {
    listen_fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listen_fd_, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    ::listen(listen_fd_, 1);
    socklen_t size = sizeof(address);
    ::getsockname(listen_fd_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this, h = std::move(handler)] {
      // A connection already queued is served even when the test is ending: its client may
      // have written everything into the socket buffers before this thread ran.
      for (;;) {
        pollfd entry{listen_fd_, POLLIN, 0};
        if (::poll(&entry, 1, 20) > 0) {
          const int fd = ::accept(listen_fd_, nullptr, nullptr);
          if (fd >= 0) {
            h(fd);
            ::close(fd);
          }
          return;
        }
        if (stopping_) return;
      }
    });
  }
  ~LoopbackListener() {
    stopping_ = true;
    thread_.join();
    ::close(listen_fd_);
  }
  LoopbackListener(const LoopbackListener&) = delete;
  LoopbackListener& operator=(const LoopbackListener&) = delete;

  std::uint16_t port() const { return port_; }

 private:
  int listen_fd_ = -1;
  std::uint16_t port_ = 0;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
};

}  // namespace vantrel::testing
