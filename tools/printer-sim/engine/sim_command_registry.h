#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/sim_reply.h"
#include "state/sim_state.h"

namespace vantrel::sim {

// What a handler sees of one command: the state to read or change, the text
// after the matched prefix, and where its answers go.
class SimCommandContext {
 public:
  SimCommandContext(std::string_view command, std::string_view argument, SimState& state,
                    std::vector<SimReply>& replies)
      : command_(command), argument_(argument), state_(state), replies_(replies) {}

  std::string_view command() const { return command_; }
  // Empty for an exact match.
  std::string_view argument() const { return argument_; }
  SimState& state() { return state_; }

  void ReplyRaw(std::string bytes);
  void ReplyFrame(std::string payload);

 private:
  std::string_view command_;
  std::string_view argument_;
  SimState& state_;
  std::vector<SimReply>& replies_;
};

using SimCommandHandler = std::function<void(SimCommandContext&)>;

// Maps command text to handlers. An exact entry beats any prefix; among
// prefixes the longest wins, so a specific command can sit under a family.
// Registering the same text again replaces the earlier handler.
class SimCommandRegistry {
 public:
  void AddExact(std::string command, SimCommandHandler handler);
  void AddPrefix(std::string prefix, SimCommandHandler handler);

  // False when no handler matches; the command then goes unanswered.
  bool Dispatch(std::string_view command, SimState& state, std::vector<SimReply>& replies) const;

 private:
  std::map<std::string, SimCommandHandler, std::less<>> exact_;
  std::vector<std::pair<std::string, SimCommandHandler>> prefixes_;  // longest first
};

}  // namespace vantrel::sim
