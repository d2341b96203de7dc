#include "cli/cli_decimal_integer.h"

#include <algorithm>
#include <string>

namespace vantrel::cli {
namespace {

CLI::Validator DecimalDigits(bool signed_value) {
  return CLI::Validator(
      [signed_value](std::string& text) -> std::string {
        const std::size_t sign = signed_value && !text.empty() && text.front() == '-' ? 1 : 0;
        const bool digits =
            text.size() > sign && std::all_of(text.begin() + sign, text.end(),
                                              [](char c) { return c >= '0' && c <= '9'; });
        if (!digits) return "'" + text + "' is not a decimal integer";
        const std::size_t first = std::min(text.find_first_not_of('0', sign), text.size() - 1);
        text = text.substr(0, sign) + text.substr(first);
        return {};
      },
      "");
}

}  // namespace

CLI::Validator DecimalInteger() {
  return DecimalDigits(true);
}

CLI::Validator DecimalCount() {
  return DecimalDigits(false);
}

}  // namespace vantrel::cli
