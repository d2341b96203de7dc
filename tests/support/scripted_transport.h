#pragma once

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
};

class ScriptedTransport : public Transport {
 public:
  explicit ScriptedTransport(std::shared_ptr<Script> script) : script_(std::move(script)) {
    ++script_->opens;
  }
  ~ScriptedTransport() override { ++script_->closes; }

  std::size_t ChunkSize() const override { return script_->chunk_size; }
  std::size_t RefillSize() const override { return script_->refill_size; }
  bool CanReceive() const override { return script_->can_receive; }
  int Handle() const override { return 7; }

  bool WriteChunk(std::span<const std::uint8_t> chunk, bool) override {
    if (static_cast<int>(script_->chunks.size()) == script_->fail_write_at_chunk) {
      SetCause("scripted write failure");
      return false;
    }
    std::string text(reinterpret_cast<const char*>(chunk.data()), chunk.size());
    script_->chunks.push_back(text);
    script_->written += text;
    if (script_->on_write) script_->on_write(text, *script_);
    return true;
  }

  std::size_t Refill(std::span<std::uint8_t> into) override {
    ++script_->refills;
    if (script_->deliveries.empty()) {
      SetCause("scripted silence");
      return 0;
    }
    std::string& front = script_->deliveries.front();
    const std::size_t n = std::min(front.size(), into.size());
    std::copy_n(front.begin(), n, into.begin());
    front.erase(0, n);
    if (front.empty()) script_->deliveries.pop_front();
    return n;
  }

 private:
  std::shared_ptr<Script> script_;
};

// A link layer whose every open connects to the script.
inline TransportOpener ScriptedOpener(std::shared_ptr<Script> script) {
  return [script](InterfaceKind, const BoundLinkSettings&, const LinkWaits&,
                  std::string& cause) -> std::unique_ptr<Transport> {
    if (script->fail_open) {
      cause = "scripted open failure";
      return nullptr;
    }
    return std::make_unique<ScriptedTransport>(script);
  };
}

}  // namespace vantrel::testing
