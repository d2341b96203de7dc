#include "servers/sim_private_network.h"

#include <net/if.h>

#include <memory>

namespace vantrel::sim {

bool InPrivateLoopbackNetwork(std::string& why) {
  // Interfaces as the process's own network namespace has them (not as a mounted /sys shows).
  using NameList = struct if_nameindex;
  const std::unique_ptr<NameList, decltype(&::if_freenameindex)> list(::if_nameindex(),
                                                                      &::if_freenameindex);
  if (!list) {
    why = "cannot list the network interfaces";
    return false;
  }
  std::string others;
  for (const NameList* entry = list.get(); entry->if_index != 0; ++entry) {
    const std::string name = entry->if_name;
    if (name != "lo") others += (others.empty() ? "" : ", ") + name;
  }
  if (others.empty()) return true;
  why = "interfaces other than lo are present (" + others + "): not a private network namespace";
  return false;
}

}  // namespace vantrel::sim
