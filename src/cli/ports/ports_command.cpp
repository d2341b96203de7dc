// ports: which serial and parallel port names map to which devices on this machine.
#include <filesystem>
#include <iostream>
#include <string>

#include "cli/common/commands.h"
#include "cli/common/json.h"
#include "link/parallel_port_device.h"
#include "link/serial_port_names.h"

namespace vantrel::cli {
namespace {

int PrintPorts(bool json) {
  nlohmann::json serial = nlohmann::json::array();
  for (const SerialPortEntry& entry : ListSerialPorts()) {
    serial.push_back({{"name", entry.name}, {"device", entry.device}});
  }
  nlohmann::json parallel = nlohmann::json::array();
  for (int number = 1; number <= 4; ++number) {
    const std::string name = "LPT" + std::to_string(number);
    const std::string device = ParallelPortDevice(name).value_or("");
    if (std::filesystem::exists(device)) parallel.push_back({{"name", name}, {"device", device}});
  }
  if (json) {
    PrintJson({{"com", serial}, {"lpt", parallel}});
    return 0;
  }
  if (serial.empty() && parallel.empty()) std::cout << "No serial or parallel port found\n";
  for (const auto& port : serial) {
    std::cout << port["name"].get<std::string>() << '\t' << port["device"].get<std::string>()
              << '\n';
  }
  for (const auto& port : parallel) {
    std::cout << port["name"].get<std::string>() << '\t' << port["device"].get<std::string>()
              << '\n';
  }
  return 0;
}

}  // namespace

void AddPortsCommand(CLI::App& app, CliContext& context) {
  auto* ports =
      app.add_subcommand("ports", "List the COM and LPT names and the devices they map to");
  auto json = std::make_shared<bool>(false);
  ports->add_flag("--json", *json, "print one JSON document");
  ports->callback([&context, json] { context.action = [json] { return PrintPorts(*json); }; });
}

}  // namespace vantrel::cli
