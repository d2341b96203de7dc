#pragma once

#include <cstdint>
#include <string>

#include "common/failure.h"
#include "net/change_ip_run.h"
#include "net/datagram_targets.h"
#include "net/discovery.h"
#include "net/mac_text.h"
#include "net/net_settings.h"

namespace vantrel {

// What the network setup dialog keeps between its datagram exchanges: where they go and the
// sequence number, 1 for a new session. The number goes up by one after each discovery run,
// each factory-default request and each Change IP whose set requests went out; every datagram
// of one exchange carries the same number. Used by one thread at a time.
class NetSetupSession {
 public:
  explicit NetSetupSession(DatagramTargets targets = {}) : targets_(targets) {}

  const DatagramTargets& targets() const { return targets_; }
  std::uint16_t sequence() const { return sequence_; }

  DiscoveryOutcome Discover();

  // The 32-byte factory-default request for one printer; no answer is awaited.
  // Fails when no socket could be made (1) or the system refused the datagram (2).
  LinkFailure SendFactoryDefault(const MacAddress& target);

  // Opens the exchange; the caller reads the settings, lets the user edit them, then either
  // finishes it or drops it (nothing more is sent then).
  ChangeIpRun BeginChangeIp(const MacAddress& target) const;
  // The refusal or the cause that kept the set requests from going out, or empty once sent.
  std::string FinishChangeIp(ChangeIpRun& run, const NetSettings& settings);

 private:
  DatagramTargets targets_;
  std::uint16_t sequence_ = 1;
};

}  // namespace vantrel
