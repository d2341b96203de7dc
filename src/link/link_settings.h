#pragma once

#include <chrono>
#include <string>

#include "common/network_target.h"

namespace vantrel {

// The user's serial port settings; every index is the item index of the settings dialog's lists.
struct SerialSettings {
  static constexpr std::size_t kPortNameCapacity = 23;  // characters, without the NUL

  std::string port_name = "COM1";
  int baud_rate_index = 2;           // 0: 2400 ... 6: 115200; any other: 9600
  int data_bits_index = 1;           // 0: 7 bits; any other: 8 bits
  int parity_index = 0;              // 0: none, 1: odd, 2: even; any other: none
  int stop_bits_index = 0;           // 0: 1, 1: 1.5, 2: 2; any other: 1
  int hardware_handshake_index = 1;  // 0: None, 1: RTS, any other: RTS/CTS
  int software_handshake_index = 0;  // 0: none, 1: Xon/Xoff; any other: none
};

// The parallel port to use: "LPT1".."LPT4" or an absolute device path.
struct ParallelPortName {
  static constexpr std::size_t kCapacity = 255;
  std::string name = "LPT1";
};

// How long each kind of wait may take. Values, so tests can shorten them.
struct LinkWaits {
  std::chrono::milliseconds usb_read{3000};
  // A USB write that takes no byte for this long fails, as a stalled printer never would.
  std::chrono::milliseconds usb_write{30000};
  std::chrono::milliseconds com_read{3000};
  // A serial chunk write may take com_write plus com_write_per_byte for each of its bytes.
  std::chrono::milliseconds com_write{3000};
  std::chrono::milliseconds com_write_per_byte{10};
  std::chrono::milliseconds net_read{30000};
  // Each try of a network chunk write waits this long for room to send.
  std::chrono::milliseconds net_write{30000};
  // The whole connection attempt, over every address the name resolves to.
  std::chrono::milliseconds net_connect{5000};
  // At close, once the printer has acknowledged every byte, how long it has to end its side.
  // Until then it may pause as long as a write would wait for it.
  std::chrono::milliseconds net_close{2000};
  // A network chunk that takes no byte for this many write waits in a row fails.
  int net_write_attempts = 3;
  // A whole reply (byte, bytes, line or frame) must be in this long after the interface's read
  // wait: enough for 1024 bytes at 2400 baud, and a trickling printer cannot hold a read open.
  std::chrono::milliseconds reply_extra{10000};
  // Every reply of one operation must be in this long after its link opened: each reply being
  // bounded does not stop a printer that trickles them from holding a long read for hours.
  std::chrono::milliseconds operation_read{120000};
  // The same for a file read back from the printer, which is one long reply.
  std::chrono::milliseconds load_total{300000};
  // The pause before each frame of a framed list.
  std::chrono::milliseconds list_frame_pause{50};
};

}  // namespace vantrel
