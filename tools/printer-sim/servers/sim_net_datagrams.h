#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "state/sim_net_state.h"

namespace vantrel::sim {

// A request datagram as the printer reads it.
struct SimNetRequest {
  std::uint8_t command_class = 0;  // 0 discovery, 2 setup
  std::uint16_t opcode = 0;        // 1 factory default, 2 discovery, 3 get, 4 set
  SimMac target{};
  std::uint8_t item = 0;  // of a get or set
  std::span<const std::uint8_t> bytes;
};

inline constexpr std::uint8_t kSimClassDiscovery = 0;
inline constexpr std::uint8_t kSimClassSetup = 2;
inline constexpr std::uint16_t kSimOpFactoryDefault = 1;
inline constexpr std::uint16_t kSimOpDiscover = 2;
inline constexpr std::uint16_t kSimOpGet = 3;
inline constexpr std::uint16_t kSimOpSet = 4;
inline constexpr std::uint8_t kSimItemName = 0;
inline constexpr std::uint8_t kSimItemAddresses = 4;
inline constexpr std::uint8_t kSimItemMode = 5;
inline constexpr std::uint8_t kSimItemClosing = 7;

// nullopt for a datagram shorter than a header. `bytes` keeps viewing the datagram.
std::optional<SimNetRequest> ParseSimNetRequest(std::span<const std::uint8_t> datagram);

// The discovery answer: MAC, state, address in use, model and name at their offsets.
std::vector<std::uint8_t> BuildSimDiscoveryReply(const SimNetRequest& request,
                                                 const SimNetState& net);
// The answer to a get: the whole settings image, as a set request would carry it.
std::vector<std::uint8_t> BuildSimSettingsReply(const SimNetRequest& request,
                                                const SimNetState& net);
// The answer to a set: the request's header with the printer's MAC.
std::vector<std::uint8_t> BuildSimAcknowledgement(const SimNetRequest& request,
                                                  const SimNetState& net);

// Takes the one value a set request's item names into `pending`; other items change nothing.
void ApplySimSetItem(const SimNetRequest& request, SimNetState& pending);

}  // namespace vantrel::sim
