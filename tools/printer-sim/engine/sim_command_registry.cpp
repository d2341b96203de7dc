#include "engine/sim_command_registry.h"

#include <algorithm>

namespace vantrel::sim {

void SimCommandContext::ReplyRaw(std::string bytes) {
  replies_.push_back({std::string(command_), SimReplyKind::kRaw, std::move(bytes)});
}

void SimCommandContext::ReplyFrame(std::string payload) {
  replies_.push_back({std::string(command_), SimReplyKind::kFrame, std::move(payload)});
}

void SimCommandRegistry::AddExact(std::string command, SimCommandHandler handler) {
  exact_.insert_or_assign(std::move(command), std::move(handler));
}

void SimCommandRegistry::AddPrefix(std::string prefix, SimCommandHandler handler) {
  const auto same = [&](const auto& entry) { return entry.first == prefix; };
  if (const auto existing = std::find_if(prefixes_.begin(), prefixes_.end(), same);
      existing != prefixes_.end()) {
    existing->second = std::move(handler);
    return;
  }
  const auto longer = [&](const auto& entry) { return entry.first.size() >= prefix.size(); };
  const auto position = std::partition_point(prefixes_.begin(), prefixes_.end(), longer);
  prefixes_.emplace(position, std::move(prefix), std::move(handler));
}

bool SimCommandRegistry::Dispatch(std::string_view command, SimState& state,
                                  std::vector<SimReply>& replies) const {
  if (const auto exact = exact_.find(command); exact != exact_.end()) {
    SimCommandContext context(command, {}, state, replies);
    exact->second(context);
    return true;
  }
  for (const auto& [prefix, handler] : prefixes_) {
    if (!command.starts_with(prefix)) continue;
    SimCommandContext context(command, command.substr(prefix.size()), state, replies);
    handler(context);
    return true;
  }
  return false;
}

}  // namespace vantrel::sim
