#include "common/result_code.h"

#include <array>

namespace vantrel {

std::string_view ResultMessage(ResultCode code) {
  static constexpr std::array<std::string_view, 6> kMessages = {
      "",
      "Port Open Error",
      "Data Transmission Error",
      "Data Receiving Error",
      "File Open Error",
      "Unknow Error",
  };
  if (code < 0 || code >= static_cast<ResultCode>(kMessages.size())) return {};
  return kMessages[static_cast<std::size_t>(code)];
}

}  // namespace vantrel
