#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "common/failure.h"
#include "net/datagram_targets.h"
#include "net/mac_text.h"
#include "net/net_settings.h"
#include "net/udp_socket.h"

namespace vantrel {

// One Change IP exchange with the printer of one MAC address, all datagrams to the broadcast
// address with one sequence number. The socket lives from the two gets to the last set, since
// the Ethernet settings dialog sits in between. Used by one thread at a time.
class ChangeIpRun {
 public:
  ChangeIpRun(const DatagramTargets& targets, std::uint16_t sequence, const MacAddress& target);

  // False, with the reason in failure(), when no socket could be made: then nothing is sent.
  bool is_open() const { return socket_.has_value(); }
  const LinkFailure& failure() const { return failure_; }

  // Asks for the addresses (item 4) and the address mode (item 5). An answered get sets
  // IpAddress, LastUsedIp, SubnetMask and Gateway, or AddressMode; an unanswered one leaves
  // its fields as they were.
  void ReadSettings(NetSettings& settings);

  // Sends the four set requests (name, addresses, mode, closing), awaiting an answer to each
  // without examining it. The name is cut to its field. Refuses before sending any when a
  // static address does not parse; returns the refusal, or empty once sent. Closes the socket
  // either way.
  std::string WriteSettings(const NetSettings& settings);

  // The datagrams of the gets and sets that the system took, of those tried.
  const DatagramTally& tally() const { return tally_; }

 private:
  void SendSets(const NetSettings& settings);
  // Sends one request and waits for one datagram; the answer, if any, is in buffer_. A request
  // the system refused awaits nothing.
  std::optional<std::size_t> Exchange(std::span<const std::uint8_t> request);

  DatagramTargets targets_;
  std::uint16_t sequence_;
  MacAddress target_;
  LinkFailure failure_;
  std::optional<UdpSocket> socket_;
  DatagramTally tally_;
  std::array<std::uint8_t, 2048> buffer_{};
};

}  // namespace vantrel
