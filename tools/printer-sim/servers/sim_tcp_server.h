#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "engine/sim_faults.h"
#include "engine/sim_printer.h"
#include "servers/sim_socket.h"
#include "state/sim_failure.h"

namespace vantrel::sim {

// Serves a SimPrinter over TCP on its own thread, one connection at a time
// as a real printer does; each connection starts with a fresh parser.
class SimTcpServer {
 public:
  // Received() keeps at most this many bytes; later ones are served but not kept.
  static constexpr std::size_t kDefaultReceivedLimit = std::size_t{256} * 1024 * 1024;

  explicit SimTcpServer(SimPrinter& printer, std::size_t received_limit = kDefaultReceivedLimit);
  SimTcpServer(const SimTcpServer&) = delete;
  SimTcpServer& operator=(const SimTcpServer&) = delete;
  ~SimTcpServer() { Stop(); }

  // port 0 picks a free port; port() then tells which.
  SimFailure Start(const std::string& host = "127.0.0.1", std::uint16_t port = 0);
  std::uint16_t port() const;
  // Prompt even with a client connected; drops that client.
  void Stop();

  // Before Start.
  void SetServingHooks(SimServingHooks hooks) { hooks_ = std::move(hooks); }
  // Before Start: the servers of a fleet share one wake event, which then only stops them (a
  // descriptor a printer fewer). The first Stop ends every server sharing it, and SetFaults from
  // another thread takes effect at the server's next event instead of at once.
  void ShareStopEvent(WakeEvent& stop) { wake_ = &stop; }
  // Takes effect before it returns, so a connect right after sees it; called by the serving
  // thread itself (from a command observer), before that thread next waits.
  void SetFaults(const SimFaults& faults);

  // All bytes received over all connections, in order.
  std::vector<std::uint8_t> Received() const;
  void ClearReceived();
  std::size_t ConnectionCount() const;  // connections accepted so far

  // Waits until `count` connections have ended and their bytes are recorded.
  bool WaitForConnectionsClosed(std::size_t count, std::chrono::milliseconds timeout) const;
  // Waits until Received() holds at least `bytes` bytes.
  bool WaitForReceived(std::size_t bytes, std::chrono::milliseconds timeout) const;

 private:
  struct Client {
    explicit Client(UniqueFd socket) : fd(std::move(socket)) {}
    UniqueFd fd;
    std::size_t received = 0;
    std::size_t sent = 0;
    std::string pending;  // answers not yet sent
    // The connection closes, in an orderly way, once everything pending has been sent.
    bool hang_up_when_sent = false;
    std::chrono::steady_clock::time_point next_send;
  };

  // The serving thread; these run on it only.
  void Run();
  void ApplyFaultChanges();
  void UpdateListener();
  int ClientEvents() const;
  int PollTimeoutMs() const;
  void Accept();
  bool Accepting() const;
  void Receive();
  bool ReachedCloseLimit() const;
  std::size_t RemainingBeforeClose() const;
  void Record(std::span<const std::uint8_t> bytes);
  void Flush();
  // How many pending bytes may go before the reset fault strikes.
  std::size_t RemainingBeforeReset() const;
  void ResetClient();
  void CloseClient();

  SimPrinter& printer_;
  const std::size_t received_limit_;
  ListenAddress address_;
  WakeEvent own_wake_;
  WakeEvent* wake_ = &own_wake_;
  bool SharesWake() const { return wake_ != &own_wake_; }
  SimServingHooks hooks_;
  std::thread thread_;

  // Owned by the serving thread while it runs.
  UniqueFd listener_;
  // Out of descriptors: the listener rests until then, its connections waiting in the backlog.
  std::chrono::steady_clock::time_point accept_after_;
  std::optional<Client> client_;
  SimFaults active_faults_;

  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  bool running_ = false;
  bool stop_requested_ = false;
  std::uint16_t port_ = 0;
  SimFaults faults_;
  std::uint64_t faults_version_ = 0;
  std::uint64_t applied_version_ = 0;
  std::vector<std::uint8_t> received_;
  std::size_t connection_count_ = 0;
  std::size_t closed_count_ = 0;
};

}  // namespace vantrel::sim
