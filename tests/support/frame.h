#pragma once

#include <string>
#include <string_view>

namespace vantrel::testing {

// One answer as the printer frames it: `{length|payload}`.
inline std::string Frame(std::string_view payload) {
  return "{" + std::to_string(payload.size()) + "|" + std::string(payload) + "}";
}

}  // namespace vantrel::testing
