#include "engine/sim_reply.h"

namespace vantrel::sim {

std::string EncodeFrame(std::string_view payload, std::size_t declared_length) {
  std::string frame = "{" + std::to_string(declared_length) + "|";
  frame.append(payload);
  frame.push_back('}');
  return frame;
}

std::string EncodeReply(const SimReply& reply) {
  if (reply.kind == SimReplyKind::kFrame) return EncodeFrame(reply.payload, reply.payload.size());
  return reply.payload;
}

}  // namespace vantrel::sim
