#include "engine/sim_command_history.h"

namespace vantrel::sim {

void SimCommandHistory::Add(std::string command) {
  bytes_ += command.size();
  commands_.push_back(std::move(command));
  while (commands_.size() > kMaxCommands || bytes_ > kMaxBytes) {
    bytes_ -= commands_.front().size();
    commands_.pop_front();
  }
}

std::vector<std::string> SimCommandHistory::Snapshot() const {
  return {commands_.begin(), commands_.end()};
}

}  // namespace vantrel::sim
