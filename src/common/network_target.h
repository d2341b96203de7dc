#pragma once

#include <cstddef>
#include <string>

namespace vantrel {

// Where the network printer is: a dotted IPv4 address or a name the resolver knows.
struct NetworkTarget {
  static constexpr std::size_t kAddressCapacity = 63;
  static constexpr int kDefaultPort = 9100;

  std::string address;
  int port = kDefaultPort;
};

}  // namespace vantrel
