#include "link/parallel_port_device.h"

#include "link/port_name_number.h"

namespace vantrel {

namespace {
constexpr int kMaxLptPort = 4;
}  // namespace

std::optional<std::string> ParallelPortDevice(std::string_view name) {
  if (name.starts_with('/')) return std::string(name);
  const std::optional<int> number = PortNameNumber(name, "LPT", kMaxLptPort);
  if (!number) return std::nullopt;
  return "/dev/lp" + std::to_string(*number - 1);
}

}  // namespace vantrel
