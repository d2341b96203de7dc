// The NET commands and the network report questions of the command language.
#include <functional>
#include <vector>

#include "engine/sim_command_families.h"

namespace vantrel::sim {
namespace {

// The texts between double quotes of `"a","b",...`; nullopt when the quoting is broken.
std::optional<std::vector<std::string>> QuotedFields(std::string_view text) {
  std::vector<std::string> fields;
  std::size_t pos = 0;
  for (;;) {
    if (pos >= text.size() || text[pos] != '"') return std::nullopt;
    const std::size_t close = text.find('"', pos + 1);
    if (close == std::string_view::npos) return std::nullopt;
    fields.emplace_back(text.substr(pos + 1, close - pos - 1));
    pos = close + 1;
    if (pos == text.size()) return fields;
    if (text[pos] != ',') return std::nullopt;
    ++pos;
  }
}

// A malformed or invalid NET IP is ignored, as the printer does, leaving the settings alone.
void OnNetIp(SimCommandContext& context) {
  const auto fields = QuotedFields(context.argument());
  if (!fields || fields->size() != 3) return;
  const auto ip = ParseSimIpv4((*fields)[0]);
  const auto mask = ParseSimIpv4((*fields)[1]);
  const auto gateway = ParseSimIpv4((*fields)[2]);
  if (!ip || !mask || !gateway) return;
  SimNetState& net = context.state().net;
  net.dhcp = false;
  net.ip = *ip;
  net.mask = *mask;
  net.gateway = *gateway;
  net.in_use = *ip;
}

void OnNetName(SimCommandContext& context) {
  const auto fields = QuotedFields(context.argument());
  if (fields && fields->size() == 1) context.state().net.name = (*fields)[0];
}

using NetAnswer = std::function<std::optional<std::string>(const SimNetState&)>;

void AddReport(SimCommandRegistry& registry, const std::string& name, NetAnswer answer) {
  registry.AddExact("DIAGNOSTIC REPORT " + name, [answer](SimCommandContext& context) {
    if (auto text = answer(context.state().net)) context.ReplyFrame(std::move(*text));
  });
}

}  // namespace

void RegisterNetCommands(SimCommandRegistry& registry) {
  registry.AddExact("NET DHCP",
                    [](SimCommandContext& context) { context.state().net.dhcp = true; });
  registry.AddPrefix("NET IP ", OnNetIp);
  registry.AddPrefix("NET NAME ", OnNetName);

  // On DHCP the configured address reads as all zeros.
  AddReport(registry, "CONFIGIP", [](const SimNetState& net) {
    return net.dhcp ? std::string("0.0.0.0") : SimIpv4Text(net.ip);
  });
  AddReport(registry, "GATEWAY", [](const SimNetState& net) { return SimIpv4Text(net.gateway); });
  AddReport(registry, "IPMASK", [](const SimNetState& net) { return SimIpv4Text(net.mask); });
  AddReport(registry, "LASTUSEDIP", [](const SimNetState& net) { return SimIpv4Text(net.in_use); });
  AddReport(registry, "NETNAME", [](const SimNetState& net) -> std::optional<std::string> {
    if (!net.answers_name_question) return std::nullopt;
    return net.name;
  });
  AddReport(registry, "MACADDR", [](const SimNetState& net) -> std::optional<std::string> {
    if (!net.answers_mac_question) return std::nullopt;
    return SimMacText(net.mac);
  });
}

}  // namespace vantrel::sim
