#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// "LPT1".."LPT4" (any case) -> /dev/lp0../dev/lp3; an absolute path as it is; otherwise nullopt.
std::optional<std::string> ParallelPortDevice(std::string_view name);

}  // namespace vantrel
