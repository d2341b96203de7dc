#pragma once

#include <optional>
#include <string_view>

namespace vantrel {

// n for a user's port name "<prefix><n>" ("COM12", "lpt3": the prefix in any case) with n in
// 1..max; nullopt for anything else.
std::optional<int> PortNameNumber(std::string_view name, std::string_view prefix, int max);

}  // namespace vantrel
