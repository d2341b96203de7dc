#include "net/net_settings.h"

#include <array>

#include "common/quoted_text.h"
#include "net/ipv4_text.h"

namespace vantrel {

void StoreNetText(std::string& field, std::string_view text) {
  field.assign(text.substr(0, NetSettings::kTextCapacity));
}

std::string FieldTextRefusal(std::string_view label, std::string_view text) {
  const std::string name(label);
  if (text.size() > NetSettings::kTextCapacity) {
    return name + " is longer than " + std::to_string(NetSettings::kTextCapacity) + " characters";
  }
  if (BreaksQuotedField(text)) {
    return name + " must not contain a double quote or a control character";
  }
  return {};
}

std::string AddressTextsRefusal(const NetSettings& settings) {
  const std::array<std::pair<std::string_view, const std::string*>, 3> fields = {{
      {"IP address", &settings.IpAddress},
      {"Subnet mask", &settings.SubnetMask},
      {"Gateway", &settings.Gateway},
  }};
  for (const auto& [label, text] : fields) {
    if (std::string refusal = FieldTextRefusal(label, *text); !refusal.empty()) return refusal;
    if (!IsCompleteIPv4Text(*text)) {
      return std::string(label) + " \"" + *text + "\" is not a valid IPv4 address";
    }
  }
  return {};
}

}  // namespace vantrel
