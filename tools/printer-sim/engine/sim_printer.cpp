#include "engine/sim_printer.h"

#include "engine/sim_command_families.h"

namespace vantrel::sim {

SimPrinter::SimPrinter(SimState state) : state_(state) {
  RegisterAllCommands(registry_);
}

std::string SimPrinter::Feed(std::span<const std::uint8_t> bytes) {
  std::string encoded;
  for (const SimReply& reply : FeedReplies(bytes)) encoded += EncodeReply(reply);
  return encoded;
}

std::string SimPrinter::Feed(std::string_view bytes) {
  return Feed(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

std::vector<SimReply> SimPrinter::FeedReplies(std::span<const std::uint8_t> bytes) {
  std::vector<SimReply> replies;
  std::lock_guard lock(mutex_);
  parser_.Parse(
      bytes, [&](std::string_view command) { Execute(command, replies); },
      [&](std::span<const std::uint8_t> piece, bool last) {
        AcceptDownloadData(state_.memory, piece, last);
      });
  return replies;
}

void SimPrinter::ResetStream() {
  std::lock_guard lock(mutex_);
  parser_.Reset();
  // A download cut off by the end of its connection leaves no file behind.
  state_.memory.pending.reset();
}

SimState SimPrinter::state() const {
  std::lock_guard lock(mutex_);
  return state_;
}

void SimPrinter::SetState(const SimState& state) {
  std::lock_guard lock(mutex_);
  state_ = state;
}

void SimPrinter::UpdateState(const std::function<void(SimState&)>& change) {
  std::lock_guard lock(mutex_);
  change(state_);
}

std::vector<std::string> SimPrinter::Commands() const {
  std::lock_guard lock(mutex_);
  return history_.Snapshot();
}

void SimPrinter::SetCommandObserver(CommandObserver observer) {
  std::lock_guard lock(mutex_);
  observer_ = std::move(observer);
}

void SimPrinter::Execute(std::string_view command, std::vector<SimReply>& replies) {
  history_.Add(std::string(command));
  if (observer_) observer_(command);
  registry_.Dispatch(command, state_, replies);
}

}  // namespace vantrel::sim
