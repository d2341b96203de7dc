// DUMP_TEXT, and the load of the file it saves in the printer.
#include "sim_command_families.h"

namespace vantrel::sim {

void RegisterDumpCommands(SimCommandRegistry& registry) {
  // Printing and the card leave nothing to load back; every dump is in the command history.
  registry.AddExact("DUMP_TEXT SAVE 1000,\"Dump.txt\",", [](SimCommandContext& context) {
    SimDumpState& dump = context.state().dump;
    dump.file = dump.text;
  });
  registry.AddExact("LOAD \"Dump.txt\"", [](SimCommandContext& context) {
    if (const auto& file = context.state().dump.file) context.ReplyRaw(*file);
  });
}

}  // namespace vantrel::sim
