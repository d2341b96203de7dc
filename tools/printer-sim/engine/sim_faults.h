#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "engine/sim_reply.h"

namespace vantrel::sim {

// Misbehaviour a SimTcpServer can be told to show. All off by default.
struct SimFaults {
  bool never_answer = false;  // receive and record, send nothing
  // Close a connection once it has brought this many bytes (all recorded).
  std::optional<std::size_t> close_after_bytes = std::nullopt;
  bool malformed_frames = false;            // each braced frame declares a wrong length
  std::chrono::milliseconds byte_delay{0};  // > 0: answer one byte at a time
  bool ignore_detail_query = false;         // the status byte is still answered
  bool refuse_connections = false;          // connect fails with ECONNREFUSED
  // Close a connection in an orderly way once it has been answered and the answer has gone.
  bool close_after_answer = false;
  // Reset a connection (no orderly close) when, having sent this many answer bytes, it has more
  // to send: 0 resets as the first answer is due.
  std::optional<std::size_t> reset_after_sent_bytes = std::nullopt;
  // Answers that become due on a connection with none waiting leave this much later, as over a
  // slow round trip; then at once, or at the byte delay's pace.
  std::chrono::milliseconds reply_delay{0};
};

// The bytes to send for these answers once the faults that alter answers
// (never_answer, malformed_frames, ignore_detail_query) are applied.
std::string EncodeRepliesWithFaults(const std::vector<SimReply>& replies, const SimFaults& faults);

}  // namespace vantrel::sim
