#include <array>

#include "engine/sim_command_families.h"

namespace vantrel::sim {

void RegisterDiagnosticCommands(SimCommandRegistry& registry) {
  // The printer confirms the interface its diagnostic answers go to.
  constexpr std::array<std::string_view, 4> kInterfaces = {"USB", "COM", "LPT", "NET"};
  for (std::string_view name : kInterfaces) {
    registry.AddExact(
        "DIAGNOSTIC INTERFACE " + std::string(name),
        [name](SimCommandContext& context) { context.ReplyFrame(std::string(name)); });
  }
}

}  // namespace vantrel::sim
