#pragma once

#include <string>

namespace vantrel::sim {

// True when the loopback interface is the only network interface this process sees: a private
// network namespace made for tests, where broadcast and multicast cannot leave the machine.
// `why` tells what was found otherwise.
bool InPrivateLoopbackNetwork(std::string& why);

}  // namespace vantrel::sim
