#include "servers/sim_udp_responder.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "engine/sim_printer.h"
#include "servers/sim_private_network.h"

namespace vantrel::sim {
namespace {

constexpr std::size_t kDatagramCapacity = 2048;
constexpr SimMac kEveryPrinter = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

// Broadcasts and multicast reach only a socket on the any-address; outside a private namespace
// it would answer whoever asks on the real network, so it is allowed only inside one.
SimFailure CheckBindAddress(const in_addr& address) {
  if ((ntohl(address.s_addr) >> 24) == 127) return {};
  std::string why;
  if (InPrivateLoopbackNetwork(why)) return {};
  return {"a non-loopback UDP address is allowed only in a private network namespace; " + why};
}

SimFailure JoinGroup(int fd, const std::string& group) {
  ip_mreq membership{};
  if (::inet_pton(AF_INET, group.c_str(), &membership.imr_multiaddr) != 1) {
    return {"invalid multicast group " + group};
  }
  membership.imr_interface.s_addr = htonl(INADDR_ANY);
  if (::setsockopt(fd, IPPROTO_IP, IP_ADD_MEMBERSHIP, &membership, sizeof membership) != 0) {
    return SystemFailure("join " + group);
  }
  return {};
}

}  // namespace

SimUdpResponder::SimUdpResponder(std::vector<SimNetState> fleet, std::vector<SimPrinter*> shared)
    : shared_(std::move(shared)),
      factory_(fleet),
      pending_(fleet.size()),
      fleet_(std::move(fleet)) {
  if (shared_.size() > factory_.size()) {
    throw std::invalid_argument(std::to_string(shared_.size()) +
                                " shared printers for a fleet of " +
                                std::to_string(factory_.size()));
  }
  for (std::size_t i = 0; i < shared_.size(); ++i) SetPrinter(i, factory_[i]);
}

SimFailure SimUdpResponder::Start(const SimUdpOptions& options) {
  if (thread_.joinable()) return {"already started"};
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(options.port);
  if (::inet_pton(AF_INET, options.host.c_str(), &address.sin_addr) != 1) {
    return {"not an IPv4 address: " + options.host};
  }
  if (SimFailure allowed = CheckBindAddress(address.sin_addr); !allowed.ok()) return allowed;
  socket_ = UniqueFd(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
  const int on = 1;
  socklen_t length = sizeof address;
  if (!socket_.valid() ||
      ::setsockopt(socket_.get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
      ::bind(socket_.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      ::getsockname(socket_.get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    return SystemFailure("UDP on " + options.host + ":" + std::to_string(options.port));
  }
  if (address.sin_addr.s_addr == htonl(INADDR_ANY)) {
    if (SimFailure joined = JoinGroup(socket_.get(), options.multicast_group); !joined.ok()) {
      return joined;
    }
  }
  if (SimFailure woken = wake_.Open(); !woken.ok()) return woken;
  port_ = ntohs(address.sin_port);
  stop_requested_ = false;
  thread_ = std::thread(&SimUdpResponder::Run, this);
  return {};
}

void SimUdpResponder::Stop() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard lock(mutex_);
    stop_requested_ = true;
  }
  wake_.Notify();
  thread_.join();
  socket_.Reset();
}

SimNetState SimUdpResponder::Printer(std::size_t index) const {
  if (index < shared_.size()) return shared_[index]->state().net;
  std::lock_guard lock(mutex_);
  return fleet_.at(index);
}

void SimUdpResponder::SetPrinter(std::size_t index, const SimNetState& state) {
  ChangePrinter(index, [&](SimNetState& net) { net = state; });
}

template <typename Change>
void SimUdpResponder::ChangePrinter(std::size_t index, Change change) {
  if (index < shared_.size()) {
    shared_[index]->UpdateState([&](SimState& state) { change(state.net); });
    return;
  }
  std::lock_guard lock(mutex_);
  change(fleet_.at(index));
}

std::vector<std::vector<std::uint8_t>> SimUdpResponder::Received() const {
  std::lock_guard lock(mutex_);
  return {received_.begin(), received_.end()};
}

bool SimUdpResponder::WaitForReceived(std::size_t count, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return received_changed_.wait_for(lock, timeout, [&] { return received_count_ >= count; });
}

void SimUdpResponder::Run() {
  std::array<std::uint8_t, kDatagramCapacity> buffer;
  for (;;) {
    std::array<pollfd, 2> entries{{{socket_.get(), POLLIN, 0}, {wake_.fd(), POLLIN, 0}}};
    if (!WaitToServe(hooks_, entries, -1)) return;
    if ((entries[1].revents & POLLIN) != 0) {
      wake_.Drain();
      std::lock_guard lock(mutex_);
      if (stop_requested_) return;
    }
    if ((entries[0].revents & POLLIN) == 0) continue;
    sockaddr_storage from{};
    socklen_t from_length = sizeof from;
    const ssize_t got = ::recvfrom(socket_.get(), buffer.data(), buffer.size(), MSG_DONTWAIT,
                                   reinterpret_cast<sockaddr*>(&from), &from_length);
    if (got < 0) continue;
    const auto datagram =
        std::span<const std::uint8_t>(buffer).first(static_cast<std::size_t>(got));
    // Recorded once handled, so a waiting test sees the state the datagram left behind.
    Answer(datagram, from, from_length);
    {
      std::lock_guard lock(mutex_);
      received_.emplace_back(datagram.begin(), datagram.end());
      if (received_.size() > kReceivedLimit) received_.pop_front();
      ++received_count_;
    }
    received_changed_.notify_all();
  }
}

void SimUdpResponder::Answer(std::span<const std::uint8_t> datagram, const sockaddr_storage& from,
                             socklen_t from_length) {
  const std::optional<SimNetRequest> request = ParseSimNetRequest(datagram);
  if (!request) return;
  for (std::size_t index = 0; index < PrinterCount(); ++index) {
    const bool addressed =
        request->target == kEveryPrinter || request->target == Printer(index).mac;
    if (!addressed) continue;
    if (request->command_class == kSimClassDiscovery && request->opcode == kSimOpDiscover) {
      Send(BuildSimDiscoveryReply(*request, Printer(index)), from, from_length);
    } else if (request->command_class == kSimClassSetup && request->target != kEveryPrinter) {
      AnswerSetup(*request, index, from, from_length);
    }
  }
}

void SimUdpResponder::AnswerSetup(const SimNetRequest& request, std::size_t index,
                                  const sockaddr_storage& from, socklen_t from_length) {
  switch (request.opcode) {
    case kSimOpFactoryDefault:
      pending_[index].reset();
      SetPrinter(index, factory_[index]);
      return;
    case kSimOpGet:
      Send(BuildSimSettingsReply(request, Printer(index)), from, from_length);
      return;
    case kSimOpSet: {
      std::optional<SimNetState>& pending = pending_[index];
      if (!pending) pending = Printer(index);
      ApplySimSetItem(request, *pending);
      if (request.item == kSimItemClosing) {
        const SimNetState applied = *pending;
        pending.reset();
        ChangePrinter(index, [&](SimNetState& net) {
          net.dhcp = applied.dhcp;
          net.ip = applied.ip;
          net.mask = applied.mask;
          net.gateway = applied.gateway;
          net.name = applied.name;
          if (!net.dhcp) net.in_use = net.ip;
        });
      }
      Send(BuildSimAcknowledgement(request, Printer(index)), from, from_length);
      return;
    }
    default:
      return;
  }
}

void SimUdpResponder::Send(const std::vector<std::uint8_t>& reply, const sockaddr_storage& to,
                           socklen_t length) {
  // A blocking send: a burst of thousands of answers waits for room rather than losing any.
  ::sendto(socket_.get(), reply.data(), reply.size(), MSG_NOSIGNAL,
           reinterpret_cast<const sockaddr*>(&to), length);
}

std::vector<SimNetState> MakeSimFleet(const SimNetState& first, std::size_t count) {
  std::vector<SimNetState> fleet;
  fleet.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    SimNetState printer = first;
    printer.mac = SimMacPlus(first.mac, i);
    printer.in_use = SimIpv4Plus(first.in_use, i);
    if (!printer.dhcp) printer.ip = printer.in_use;
    std::array<char, 11> name{};
    std::snprintf(name.data(), name.size(), "SIM-%02X%02X%02X", printer.mac[3], printer.mac[4],
                  printer.mac[5]);
    printer.name = name.data();
    fleet.push_back(std::move(printer));
  }
  return fleet;
}

}  // namespace vantrel::sim
