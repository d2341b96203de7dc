#include "engine/sim_faults.h"

#include "engine/sim_escapes.h"

namespace vantrel::sim {
namespace {

// Shorter than the payload, so a reader checking for the closing brace
// notices at once instead of waiting for bytes that never come.
std::size_t WrongLength(std::size_t length) {
  return length == 0 ? 1 : length - 1;
}

std::string EncodeWithFaults(const SimReply& reply, const SimFaults& faults) {
  if (faults.ignore_detail_query && reply.command == kDetailQuery) return {};
  if (faults.malformed_frames && reply.kind == SimReplyKind::kFrame) {
    return EncodeFrame(reply.payload, WrongLength(reply.payload.size()));
  }
  return EncodeReply(reply);
}

}  // namespace

std::string EncodeRepliesWithFaults(const std::vector<SimReply>& replies, const SimFaults& faults) {
  std::string encoded;
  if (faults.never_answer) return encoded;
  for (const SimReply& reply : replies) encoded += EncodeWithFaults(reply, faults);
  return encoded;
}

}  // namespace vantrel::sim
