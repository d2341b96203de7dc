#include "cli/files/memory_words.h"

#include <array>

namespace vantrel::cli {
namespace {

constexpr std::array<const char*, kMemoryDeviceCount> kWords = {"dram", "flash", "card"};
constexpr std::array<const char*, kMemoryDeviceCount> kNames = {"DRAM", "FLASH", "CARD"};

}  // namespace

MemoryDevice MemoryFromWord(const std::string& word) {
  for (int device = 0; device < kMemoryDeviceCount; ++device) {
    if (word == kWords[static_cast<std::size_t>(device)]) return static_cast<MemoryDevice>(device);
  }
  return kMemoryFlash;
}

std::string MemoryWord(MemoryDevice device) {
  return IsValidMemoryDevice(device) ? kNames[static_cast<std::size_t>(device)] : "?";
}

CLI::Validator MemoryWordCheck() {
  return CLI::IsMember(std::vector<std::string>(kWords.begin(), kWords.end()));
}

}  // namespace vantrel::cli
