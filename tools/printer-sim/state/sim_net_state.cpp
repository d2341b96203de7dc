#include "state/sim_net_state.h"

#include <arpa/inet.h>

#include <cstdio>
#include <cstring>

namespace vantrel::sim {
namespace {

template <std::size_t N>
std::uint64_t NumberOfBytes(const std::array<std::uint8_t, N>& bytes) {
  std::uint64_t value = 0;
  for (std::uint8_t byte : bytes) value = value << 8 | byte;
  return value;
}

template <std::size_t N>
std::array<std::uint8_t, N> BytesOfNumber(std::uint64_t value) {
  std::array<std::uint8_t, N> bytes{};
  for (std::size_t i = N; i-- > 0; value >>= 8) bytes[i] = static_cast<std::uint8_t>(value & 0xFF);
  return bytes;
}

}  // namespace

std::optional<SimIpv4> ParseSimIpv4(std::string_view text) {
  in_addr address{};
  if (::inet_pton(AF_INET, std::string(text).c_str(), &address) != 1) return std::nullopt;
  SimIpv4 bytes{};
  std::memcpy(bytes.data(), &address, bytes.size());
  return bytes;
}

std::string SimIpv4Text(const SimIpv4& address) {
  std::array<char, INET_ADDRSTRLEN> text{};
  ::inet_ntop(AF_INET, address.data(), text.data(), text.size());
  return text.data();
}

std::optional<SimMac> ParseSimMac(std::string_view text) {
  SimMac mac{};
  int consumed = 0;
  const std::string copy(text);
  const int fields = std::sscanf(copy.c_str(), "%2hhx:%2hhx:%2hhx:%2hhx:%2hhx:%2hhx%n", &mac[0],
                                 &mac[1], &mac[2], &mac[3], &mac[4], &mac[5], &consumed);
  if (fields != 6 || consumed != 17 || copy.size() != 17) return std::nullopt;
  return mac;
}

std::string SimMacText(const SimMac& mac) {
  std::array<char, 18> text{};
  std::snprintf(text.data(), text.size(), "%02X:%02X:%02X:%02X:%02X:%02X", mac[0], mac[1], mac[2],
                mac[3], mac[4], mac[5]);
  return text.data();
}

SimIpv4 SimIpv4Plus(const SimIpv4& address, std::uint64_t offset) {
  return BytesOfNumber<4>(NumberOfBytes(address) + offset);
}

SimMac SimMacPlus(const SimMac& mac, std::uint64_t offset) {
  return BytesOfNumber<6>(NumberOfBytes(mac) + offset);
}

}  // namespace vantrel::sim
