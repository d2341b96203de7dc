#include "engine/sim_command_families.h"
#include "engine/sim_escapes.h"

namespace vantrel::sim {

void RegisterStatusCommands(SimCommandRegistry& registry) {
  registry.AddExact(std::string(kStatusQuery), [](SimCommandContext& context) {
    context.ReplyRaw(std::string(1, static_cast<char>(context.state().status_byte)));
  });
  registry.AddExact(std::string(kDetailQuery), [](SimCommandContext& context) {
    const DetailBytes& detail = context.state().detail;
    context.ReplyRaw(std::string(detail.begin(), detail.end()));
  });
}

}  // namespace vantrel::sim
