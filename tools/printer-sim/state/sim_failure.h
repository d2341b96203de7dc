#pragma once

#include <cerrno>
#include <cstring>
#include <string>

namespace vantrel::sim {

// Why the simulator could not do something (a server that cannot start); empty when it could.
struct SimFailure {
  std::string detail;

  bool ok() const { return detail.empty(); }
};

// "<what>: <the system's reason for errno>".
inline SimFailure SystemFailure(const std::string& what) {
  return {what + ": " + std::strerror(errno)};
}

}  // namespace vantrel::sim
