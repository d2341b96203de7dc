#include "net/net_setup_session.h"

#include <utility>

#include "net/setup_datagrams.h"
#include "net/udp_socket.h"

namespace vantrel {

DiscoveryOutcome NetSetupSession::Discover() {
  DiscoveryOutcome outcome = RunDiscovery(targets_, sequence_);
  if (outcome.failure.ok()) ++sequence_;
  return outcome;
}

LinkFailure NetSetupSession::SendFactoryDefault(const MacAddress& target) {
  auto [socket, failure] = UdpSocket::Open();
  if (!socket) return std::move(failure);
  LinkFailure sent = socket->SendTo(BuildFactoryDefaultRequest(sequence_, target),
                                    targets_.broadcast, targets_.port);
  if (sent.ok()) ++sequence_;
  return sent;
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
