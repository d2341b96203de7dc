#include "loopback_sink.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vantrel::bench {

LoopbackSink::LoopbackSink() {
  listen_fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(listen_fd_, reinterpret_cast<sockaddr*>(&address), sizeof(address));
  ::listen(listen_fd_, 8);
  socklen_t size = sizeof(address);
  ::getsockname(listen_fd_, reinterpret_cast<sockaddr*>(&address), &size);
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] {
    static char buffer[1 << 16];
    while (!stopping_) {
      const int fd = ::accept(listen_fd_, nullptr, nullptr);
      if (fd < 0) break;
      while (::recv(fd, buffer, sizeof(buffer), 0) > 0) {
      }
      ::close(fd);
    }
  });
}

LoopbackSink::~LoopbackSink() {
  stopping_ = true;
  ::shutdown(listen_fd_, SHUT_RDWR);
  thread_.join();
  ::close(listen_fd_);
}

}  // namespace vantrel::bench
