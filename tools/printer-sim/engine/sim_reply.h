#pragma once

#include <string>
#include <string_view>

namespace vantrel::sim {

enum class SimReplyKind { kRaw, kFrame };

// One answer, kept apart from its encoding so that the server can leave out
// or damage particular answers when a fault asks for it.
struct SimReply {
  std::string command;  // the command that produced it
  SimReplyKind kind = SimReplyKind::kRaw;
  std::string payload;  // the raw bytes, or the text inside the frame
};

// "{" decimal length "|" payload "}"; the length is declared_length, which
// is payload.size() unless a fault wants it wrong.
std::string EncodeFrame(std::string_view payload, std::size_t declared_length);

std::string EncodeReply(const SimReply& reply);

}  // namespace vantrel::sim
