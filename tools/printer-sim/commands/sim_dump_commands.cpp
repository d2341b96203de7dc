// DUMP_TEXT to a file: the printer keeps "Dump.txt" in DRAM, where LOAD finds it.
#include "engine/sim_command_families.h"

namespace vantrel::sim {

void RegisterDumpCommands(SimCommandRegistry& registry) {
  // Printing and the card leave nothing to load back; every dump is in the command history.
  registry.AddExact("DUMP_TEXT SAVE 1000,\"Dump.txt\",", [](SimCommandContext& context) {
    SimState& state = context.state();
    StoreFile(state.memory.memories[0], "Dump.txt", state.dump.text);
  });
}

}  // namespace vantrel::sim
