#pragma once

#include <termios.h>

#include <chrono>
#include <memory>
#include <string>

#include "link/link_settings.h"
#include "link/transport.h"

namespace vantrel {

// The line settings for the record over the port's `current` ones: raw 8-bit transfer, then
// the record's choices. Odd parity checks what it receives; even parity only transmits it.
termios SerialLineSettings(const SerialSettings& settings, termios current);

// The COM link on a termios device. Opening puts the line into raw mode with the record's
// settings; closing waits (bounded) for queued output to leave, or discards it after a failed
// write, and restores the settings the
// port had before, so the next user of the port finds it as it was.
//
// Hardware handshake: termios has a single RTS/CTS mode, used for both "RTS" and "RTS/CTS";
// DSR flow control has no termios equivalent. 1.5 stop bits run as 2, which a receiver
// expecting 1.5 accepts.
class SerialTransport : public Transport {
 public:
  static constexpr std::size_t kChunkSize = 64;
  static constexpr std::size_t kRefillSize = 1;

  // `settings.port_name` is "COMn" (see serial_port_names.h) or an absolute device path.
  // Returns null with the reason in `cause`.
  static std::unique_ptr<SerialTransport> Open(const SerialSettings& settings,
                                               const LinkWaits& waits, std::string& cause);
  ~SerialTransport() override;
  SerialTransport(const SerialTransport&) = delete;
  SerialTransport& operator=(const SerialTransport&) = delete;

  std::size_t ChunkSize() const override { return kChunkSize; }
  std::size_t RefillSize() const override { return kRefillSize; }
  int Handle() const override { return fd_; }

  // Bounded by waits.com_write plus waits.com_write_per_byte per byte of the chunk.
  bool WriteChunk(std::span<const std::uint8_t> chunk, bool more_follows) override;
  // One byte within waits.com_read.
  std::size_t Refill(std::span<std::uint8_t> into) override;

 private:
  SerialTransport(int fd, const termios& original, const LinkWaits& waits, std::string device)
      : fd_(fd), original_(original), waits_(waits), device_(std::move(device)) {}
  using Deadline = std::chrono::steady_clock::time_point;

  bool Configure(const SerialSettings& settings, std::string& cause);
  bool WriteAll(std::span<const std::uint8_t> chunk);
  void DrainOutput();
  // Waits until the port is ready for `events`; otherwise sets the cause and returns false.
  bool AwaitReady(short events, Deadline deadline, std::string timeout_cause);

  int fd_;
  termios original_;
  LinkWaits waits_;
  std::string device_;
  bool write_failed_ = false;
};

}  // namespace vantrel
