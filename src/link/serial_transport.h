#pragma once

#include <termios.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>

#include "common/unique_fd.h"
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
  static Outcome<std::unique_ptr<SerialTransport>> Open(const SerialSettings& settings,
                                                        const LinkWaits& waits);
  ~SerialTransport() override;

  // Bounded by waits.com_write plus waits.com_write_per_byte per byte of the chunk.
  LinkFailure WriteChunk(std::span<const std::uint8_t> chunk, bool more_follows) override;
  // One byte within waits.com_read.
  Received Refill(std::span<std::uint8_t> into) override;
  // A write held by the handshake may wait far longer than a cancel should.
  void Interrupt() override { interrupted_ = true; }

 private:
  SerialTransport(UniqueFd fd, const termios& original, const LinkWaits& waits, std::string device)
      : Transport({.chunk_size = kChunkSize, .refill_size = kRefillSize}),
        fd_(std::move(fd)),
        original_(original),
        waits_(waits),
        device_(std::move(device)) {}

  LinkFailure Configure(const SerialSettings& settings);
  void DrainOutput();

  UniqueFd fd_;
  termios original_;
  LinkWaits waits_;
  std::string device_;
  bool write_failed_ = false;
  std::atomic<bool> interrupted_ = false;
};

}  // namespace vantrel
