#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

namespace vantrel::bench {

// A TCP peer on 127.0.0.1 that accepts connection after connection and discards what arrives.
class LoopbackSink {
 public:
  LoopbackSink();
  ~LoopbackSink();
  std::uint16_t port() const { return port_; }

 private:
  int listen_fd_ = -1;
  std::uint16_t port_ = 0;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
};

}  // namespace vantrel::bench
