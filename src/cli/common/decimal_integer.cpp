#include "cli/common/decimal_integer.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "cli/common/terminal_text.h"
#include "net/address_port.h"

namespace vantrel::cli {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

CLI::Validator DecimalDigits(bool signed_value) {
  return CLI::Validator(
      [signed_value](std::string& text) -> std::string {
        const std::size_t sign = signed_value && !text.empty() && text.front() == '-' ? 1 : 0;
        const bool digits =
            text.size() > sign && std::all_of(text.begin() + sign, text.end(), IsDigit);
        if (!digits) return "'" + text + "' is not a decimal integer";
        const std::size_t first = std::min(text.find_first_not_of('0', sign), text.size() - 1);
        text = text.substr(0, sign) + text.substr(first);
        return {};
      },
      "");
}

}  // namespace

CLI::Validator DecimalReal() {
  return CLI::Validator(
      [](const std::string& text) -> std::string {
        const std::string_view number = std::string_view(text).substr(text.starts_with('-'));
        const bool decimal = std::any_of(number.begin(), number.end(), IsDigit) &&
                             std::count(number.begin(), number.end(), '.') <= 1 &&
                             std::all_of(number.begin(), number.end(),
                                         [](char c) { return IsDigit(c) || c == '.'; });
        return decimal ? std::string() : "'" + text + "' is not a decimal number";
      },
      "");
}

CLI::Validator DecimalPort() {
  return CLI::Validator(
      [](std::string& text) -> std::string {
        const PortNumber port = ParsePort(text);
        if (!port.error.empty()) return PrintableText(port.error);
        text = std::to_string(port.port);
        return {};
      },
      "INT in [1 - 65535]");
}

CLI::Validator DecimalInteger() {
  return DecimalDigits(true);
}

CLI::Validator DecimalCount() {
  return DecimalDigits(false);
}

}  // namespace vantrel::cli
