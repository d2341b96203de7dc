#include "net/net_setup_session.h"

#include "net/setup_datagrams.h"
#include "net/udp_socket.h"

namespace vantrel {

DiscoveryOutcome NetSetupSession::Discover() {
  DiscoveryOutcome outcome = RunDiscovery(targets_, sequence_);
  if (outcome.socket_opened) ++sequence_;
  return outcome;
}

bool NetSetupSession::SendFactoryDefault(const MacAddress& target, std::string& cause) {
  std::optional<UdpSocket> socket = UdpSocket::Open(cause);
  if (!socket) return false;
  socket->SendTo(BuildFactoryDefaultRequest(sequence_, target), targets_.broadcast, targets_.port);
  ++sequence_;
  return true;
}

ChangeIpRun NetSetupSession::BeginChangeIp(const MacAddress& target) const {
  return ChangeIpRun(targets_, sequence_, target);
}

std::string NetSetupSession::FinishChangeIp(ChangeIpRun& run, const NetSettings& settings) {
  std::string refusal = run.WriteSettings(settings);
  if (refusal.empty()) ++sequence_;
  return refusal;
}

}  // namespace vantrel
