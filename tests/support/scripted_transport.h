#pragma once

#include <cerrno>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "link/link_layer.h"
#include "link/transport.h"

namespace vantrel::testing {

// What a scripted connection saw and what it still has to deliver. Shared between the test and
// the transport, which the link layer destroys at every close.
struct Script {
  // Each refill delivers the front entry (cut to the room offered; the rest stays queued).
  std::deque<std::string> deliveries;
  // Called with every chunk written; may queue the printer's answer.
  std::function<void(std::string_view chunk, Script&)> on_write;
  std::vector<std::string> chunks;  // every chunk written, in order
  std::string written;              // all bytes written
  int refills = 0;                  // refills asked for, answered or not
  int opens = 0;
  int closes = 0;
  bool fail_open = false;
  int fail_write_at_chunk = -1;  // the index of the chunk that fails
  std::size_t chunk_size = 1024;
  std::size_t refill_size = 4096;
  bool can_receive = true;
  // What the printer does once the deliveries run out: falls silent (kOpen), closes its side
  // (kEnded) or resets (kLost).
  StreamEnd when_drained = StreamEnd::kOpen;
};

class ScriptedTransport : public Transport {
 public:
  explicit ScriptedTransport(std::shared_ptr<Script> script)
      : Transport({.chunk_size = script->chunk_size,
                   .refill_size = script->can_receive ? script->refill_size : 0}),
        script_(std::move(script)) {
    ++script_->opens;
  }
  ~ScriptedTransport() override { ++script_->closes; }

  LinkFailure WriteChunk(std::span<const std::uint8_t> chunk, bool) override {
    if (static_cast<int>(script_->chunks.size()) == script_->fail_write_at_chunk) {
      return {kResultTransmissionError, EPIPE, "scripted write failure"};
    }
    std::string text(reinterpret_cast<const char*>(chunk.data()), chunk.size());
    script_->chunks.push_back(text);
    script_->written += text;
    if (script_->on_write) script_->on_write(text, *script_);
    return {};
  }

  Received Refill(std::span<std::uint8_t> into) override {
    ++script_->refills;
    if (script_->deliveries.empty()) {
      switch (script_->when_drained) {
        case StreamEnd::kOpen:
          return {0, StreamEnd::kOpen, {kResultReceivingError, ETIMEDOUT, "scripted silence"}};
        case StreamEnd::kEnded:
          return {0, StreamEnd::kEnded, {kResultReceivingError, 0, "scripted close"}};
        case StreamEnd::kLost:
          return {0, StreamEnd::kLost, {kResultReceivingError, ECONNRESET, "scripted reset"}};
      }
    }
    std::string& front = script_->deliveries.front();
    const std::size_t n = std::min(front.size(), into.size());
    std::copy_n(front.begin(), n, into.begin());
    front.erase(0, n);
    if (front.empty()) script_->deliveries.pop_front();
    return {.count = n};
  }

 private:
  std::shared_ptr<Script> script_;
};

// A link layer whose every open connects to the script.
inline TransportOpener ScriptedOpener(std::shared_ptr<Script> script) {
  return [script](InterfaceKind, const BoundLinkSettings&, const LinkWaits&) -> OpenedTransport {
    if (script->fail_open)
      return {nullptr, {kResultPortOpenError, ENOENT, "scripted open failure"}};
    return {std::make_unique<ScriptedTransport>(script), {}};
  };
}

}  // namespace vantrel::testing
