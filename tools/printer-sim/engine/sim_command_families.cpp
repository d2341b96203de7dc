#include "engine/sim_command_families.h"

namespace vantrel::sim {

void RegisterAllCommands(SimCommandRegistry& registry) {
  RegisterStatusCommands(registry);
  RegisterDiagnosticCommands(registry);
  RegisterConfigCommands(registry);
  RegisterNetCommands(registry);
  RegisterClockCommands(registry);
  RegisterFileCommands(registry);
  RegisterDumpCommands(registry);
}

}  // namespace vantrel::sim
