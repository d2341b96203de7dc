#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "servers/sim_net_datagrams.h"
#include "servers/sim_socket.h"
#include "state/sim_failure.h"
#include "state/sim_net_state.h"

namespace vantrel::sim {

class SimPrinter;

struct SimUdpOptions {
  // A loopback address takes directed requests only. The any-address also takes broadcasts
  // and joins the multicast group; it is refused outside a private network namespace.
  std::string host = "127.0.0.1";
  std::uint16_t port = 0;  // 0 picks a free one
  std::string multicast_group = "224.0.0.251";
};

// Answers discovery and setup datagrams for a fleet of printers on one socket and its own
// thread: every printer answers a discovery, the printer of the target MAC a get, a set or a
// factory default. Set items are held until the closing item 7 applies them together.
class SimUdpResponder {
 public:
  // Received() keeps the most recent datagrams up to this many.
  static constexpr std::size_t kReceivedLimit = 10000;

  // Printer i below shared.size() is shared[i], its network state set to fleet[i] here, so that
  // its TCP side and its datagrams see one printer. No more shared printers than the fleet has.
  explicit SimUdpResponder(std::vector<SimNetState> fleet, std::vector<SimPrinter*> shared = {});
  SimUdpResponder(const SimUdpResponder&) = delete;
  SimUdpResponder& operator=(const SimUdpResponder&) = delete;
  ~SimUdpResponder() { Stop(); }

  // Before Start.
  void SetServingHooks(SimServingHooks hooks) { hooks_ = std::move(hooks); }
  SimFailure Start(const SimUdpOptions& options);
  std::uint16_t port() const { return port_; }
  void Stop();

  std::size_t PrinterCount() const { return factory_.size(); }
  SimNetState Printer(std::size_t index) const;
  void SetPrinter(std::size_t index, const SimNetState& state);

  // Every datagram received, in order, each recorded once answered and applied.
  std::vector<std::vector<std::uint8_t>> Received() const;
  // Waits until `count` datagrams in all have been handled.
  bool WaitForReceived(std::size_t count, std::chrono::milliseconds timeout) const;

 private:
  void Run();
  void Answer(std::span<const std::uint8_t> datagram, const sockaddr_storage& from,
              socklen_t from_length);
  void AnswerSetup(const SimNetRequest& request, std::size_t index, const sockaddr_storage& from,
                   socklen_t from_length);
  void Send(const std::vector<std::uint8_t>& reply, const sockaddr_storage& to, socklen_t length);
  template <typename Change>
  void ChangePrinter(std::size_t index, Change change);

  const std::vector<SimPrinter*> shared_;
  const std::vector<SimNetState> factory_;
  std::vector<std::optional<SimNetState>> pending_;  // set items not yet closed; serving thread
  UniqueFd socket_;
  WakeEvent wake_;
  SimServingHooks hooks_;
  std::thread thread_;
  std::uint16_t port_ = 0;

  mutable std::mutex mutex_;
  mutable std::condition_variable received_changed_;
  std::vector<SimNetState> fleet_;
  std::deque<std::vector<std::uint8_t>> received_;
  std::size_t received_count_ = 0;
  bool stop_requested_ = false;
};

// `count` printers whose MACs and addresses in use count up from the first's, each named
// after the end of its MAC.
std::vector<SimNetState> MakeSimFleet(const SimNetState& first, std::size_t count);

}  // namespace vantrel::sim
