#include "cli/fleet/fleet_identity_job.h"

#include <array>
#include <cmath>

#include "cli/common/json.h"
#include "cli/common/terminal_text.h"
#include "cli/fleet/fleet_exchange.h"
#include "net/net_settings.h"
#include "ops/memory_info.h"

namespace vantrel::cli {
namespace {

constexpr std::array<std::string_view, 14> kKeys = {
    "version", "serial", "checksum", "mileage", "dpi",       "net_name",     "mac",
    "ip_mode", "ip",     "mask",     "gateway", "ip_in_use", "dram_free_kb", "flash_free_kb"};

nlohmann::json Known(bool known, nlohmann::json value) {
  return known ? std::move(value) : nlohmann::json(nullptr);
}

// The four texts of the configuration's head; the table shows these alone.
void AddConfigHead(const PrinterConfig& config, FleetResult& result) {
  const std::array<std::pair<const char*, std::string_view>, 4> fields = {
      {{"version", TextView(config.Version)},
       {"serial", TextView(config.SerialNo)},
       {"checksum", TextView(config.Checksum)},
       {"mileage", TextView(config.Milage)}}};
  for (const auto& [key, text] : fields) {
    (*result.values)[key] = PrinterText(text);
    result.values_text +=
        (result.values_text.empty() ? "" : ", ") + std::string(key) + ' ' + PrintableText(text);
  }
  (*result.values)["dpi"] = Known(config.Dpi.set(), std::lround(config.Dpi.value));
}

void AddNetwork(bool answered, const NetSettings& net, nlohmann::json& values) {
  const bool dhcp = net.AddressMode == kAddressModeDhcp;
  // The name and MAC questions are newer still than the address ones.
  values["net_name"] = Known(answered && !net.PrinterName.empty(), PrinterText(net.PrinterName));
  values["mac"] = Known(answered && !net.MacText.empty(), PrinterText(net.MacText));
  values["ip_mode"] = Known(answered, dhcp ? "dhcp" : "static");
  values["ip"] = Known(answered, PrinterText(net.IpAddress));
  values["mask"] = Known(answered, PrinterText(net.SubnetMask));
  values["gateway"] = Known(answered, PrinterText(net.Gateway));
  values["ip_in_use"] = Known(answered, PrinterText(net.LastUsedIp));
}

// No printer is asked the card's free space.
void AddMemory(bool answered, const MemoryInfo& memory, nlohmann::json& values) {
  for (const MemoryDevice device : {kMemoryDram, kMemoryFlash}) {
    const DeviceMemoryBlock& block = memory[device];
    values[device == kMemoryDram ? "dram_free_kb" : "flash_free_kb"] =
        Known(answered && block.free_known, block.free_space);
  }
}

}  // namespace

std::span<const std::string_view> IdentityKeys() {
  return kKeys;
}

FleetJob IdentityJob() {
  return [](const FleetTarget& target, LinkLayer& link) {
    FleetResult result;
    result.values = nullptr;
    FleetExchange exchange(target, link, result);
    PrinterConfig config;
    if (!exchange.ReadConfig(config)) return result;
    NetSettings net;
    bool net_answered = false;
    if (!exchange.RunOptional(kOpReadNetworkSettings, &net, net_answered)) return result;
    MemoryInfo memory;
    bool memory_answered = false;
    if (!exchange.RunOptional(kOpReadFileList, &memory, memory_answered)) return result;
    result.values = nlohmann::json::object();
    AddConfigHead(config, result);
    AddNetwork(net_answered, net, *result.values);
    AddMemory(memory_answered, memory, *result.values);
    result.outcome = FleetOutcome::kUnchanged;
    return result;
  };
}

}  // namespace vantrel::cli
