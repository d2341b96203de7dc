#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine/sim_printer.h"
#include "servers/sim_socket.h"
#include "state/sim_failure.h"

namespace vantrel::sim {

// Serves a SimPrinter on the master side of a pseudo-terminal pair, so the serial link can open
// the slave by its path as it would a real port. The server keeps a slave descriptor of its own:
// the line and its raw settings stay alive between link connections.
class SimPtyServer {
 public:
  explicit SimPtyServer(SimPrinter& printer, std::size_t received_limit = 256u << 20)
      : printer_(printer), received_limit_(received_limit) {}
  SimPtyServer(const SimPtyServer&) = delete;
  SimPtyServer& operator=(const SimPtyServer&) = delete;
  ~SimPtyServer() { Stop(); }

  // Before Start.
  void SetServingHooks(SimServingHooks hooks) { hooks_ = std::move(hooks); }
  SimFailure Start();
  void Stop();
  // The device path a serial link opens, e.g. /dev/pts/3.
  const std::string& slave_path() const { return slave_path_; }

  // Returns once everything written to the line before the call has been served. A serial
  // link purges the line when it opens, so a test settles the line between operations.
  bool Settle(std::chrono::milliseconds timeout);

  std::vector<std::uint8_t> Received() const;
  bool WaitForReceived(std::size_t bytes, std::chrono::milliseconds timeout) const;

 private:
  void Run();
  bool ServeWaitingBytes();
  bool Serve(std::span<const std::uint8_t> bytes);

  SimPrinter& printer_;
  const std::size_t received_limit_;
  UniqueFd master_;
  UniqueFd slave_;
  std::string slave_path_;
  WakeEvent wake_;
  SimServingHooks hooks_;
  std::thread thread_;
  bool stopping_ = false;
  std::uint64_t settles_asked_ = 0;
  std::uint64_t settles_done_ = 0;

  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::vector<std::uint8_t> received_;
};

}  // namespace vantrel::sim
