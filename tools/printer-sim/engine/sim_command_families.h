#pragma once

#include "engine/sim_command_registry.h"

namespace vantrel::sim {

// One function per command family, each in its own sim_*_commands.cpp.
// A new family is a new file plus one call in RegisterAllCommands.
void RegisterStatusCommands(SimCommandRegistry& registry);
void RegisterDiagnosticCommands(SimCommandRegistry& registry);
void RegisterConfigCommands(SimCommandRegistry& registry);
void RegisterNetCommands(SimCommandRegistry& registry);
void RegisterClockCommands(SimCommandRegistry& registry);
void RegisterFileCommands(SimCommandRegistry& registry);
void RegisterDumpCommands(SimCommandRegistry& registry);

void RegisterAllCommands(SimCommandRegistry& registry);

}  // namespace vantrel::sim
