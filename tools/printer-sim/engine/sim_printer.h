#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/sim_command_history.h"
#include "engine/sim_command_registry.h"
#include "engine/sim_reply.h"
#include "engine/sim_stream_parser.h"
#include "state/sim_state.h"

namespace vantrel::sim {

// The simulated printer without any transport: bytes in, answers out.
// Partial commands are kept between calls. All members are thread-safe.
class SimPrinter {
 public:
  using CommandObserver = std::function<void(std::string_view command)>;

  explicit SimPrinter(SimState state = {});

  // The encoded answers to the commands completed by these bytes.
  std::string Feed(std::span<const std::uint8_t> bytes);
  std::string Feed(std::string_view bytes);
  // The same answers, unencoded, for a transport that alters some of them.
  std::vector<SimReply> FeedReplies(std::span<const std::uint8_t> bytes);

  // Forgets a partial command, as at the start of a new connection.
  void ResetStream();

  SimState state() const;
  void SetState(const SimState& state);
  // Changes the state in place under the printer's lock, so no concurrent command is lost.
  void UpdateState(const std::function<void(SimState&)>& change);

  // Recognised commands in order: lines without their CR LF, escapes as their
  // raw bytes (e.g. "\x1b!?", "\x1b!S\r\n"). Holds the most recent ones only
  // (see SimCommandHistory).
  std::vector<std::string> Commands() const;

  // Called for each command as it is recognised, on the feeding thread and
  // with the printer locked: keep it short and do not call back in.
  void SetCommandObserver(CommandObserver observer);

 private:
  void Execute(std::string_view command, std::vector<SimReply>& replies);

  mutable std::mutex mutex_;
  SimState state_;
  SimCommandRegistry registry_;
  SimStreamParser parser_;
  SimCommandHistory history_;
  CommandObserver observer_;
};

}  // namespace vantrel::sim
