#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

namespace vantrel::testing {

// A port on 127.0.0.1 where a connection attempt hangs, as towards a printer that is switched
// off: its listener's queue holds one connection that is never accepted, so the system drops
// every later attempt's opening segment and the attempt waits until it gives up.
class UnansweredConnects {
 public:
  UnansweredConnects() {
    listen_fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listen_fd_, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    ::listen(listen_fd_, 0);
    socklen_t size = sizeof(address);
    ::getsockname(listen_fd_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
    filler_fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ::connect(filler_fd_, reinterpret_cast<sockaddr*>(&address), sizeof(address));
  }
  ~UnansweredConnects() {
    ::close(filler_fd_);
    ::close(listen_fd_);
  }
  UnansweredConnects(const UnansweredConnects&) = delete;
  UnansweredConnects& operator=(const UnansweredConnects&) = delete;

  std::uint16_t port() const { return port_; }

  // Whether some attempt towards this port is waiting now (the system's table of connections).
  bool AttemptWaiting() const {
    std::ifstream table("/proc/net/tcp");
    std::string line;
    std::getline(table, line);
    while (std::getline(table, line)) {
      std::istringstream fields(line);
      std::string slot, local, remote, state;
      fields >> slot >> local >> remote >> state;
      constexpr const char* kSynSent = "02";
      const auto colon = remote.find(':');
      if (state == kSynSent && colon != std::string::npos &&
          std::stoi(remote.substr(colon + 1), nullptr, 16) == port_) {
        return true;
      }
    }
    return false;
  }

 private:
  int listen_fd_ = -1;
  int filler_fd_ = -1;
  std::uint16_t port_ = 0;
};

}  // namespace vantrel::testing
