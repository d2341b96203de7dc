#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// The item order of every memory list; also the record of operation 13.
enum MemoryDevice : int {
  kMemoryDram = 0,
  kMemoryFlash = 1,
  kMemoryCard = 2,
};

inline constexpr int kMemoryDeviceCount = 3;

inline bool IsValidMemoryDevice(int device) {
  return device >= kMemoryDram && device <= kMemoryCard;
}

// How a command names the memory: nothing for DRAM, "F," for FLASH, "E," for CARD.
std::string_view DevicePrefix(MemoryDevice device);

// What one memory reported. The numbers are kept as the printer sent them (kilobytes).
struct DeviceMemoryBlock {
  // The list text's room, its terminating NUL included.
  static constexpr std::size_t kFileListCapacity = 65536;

  std::string file_list;  // every file entry followed by "\r\n"
  bool physical_known = false;
  std::int32_t physical_space = 0;
  bool free_known = false;
  std::int32_t free_space = 0;

  bool operator==(const DeviceMemoryBlock&) const = default;
};

// The three memories in MemoryDevice order.
struct MemoryInfo {
  std::array<DeviceMemoryBlock, kMemoryDeviceCount> blocks;

  DeviceMemoryBlock& operator[](MemoryDevice device) { return blocks[device]; }
  const DeviceMemoryBlock& operator[](MemoryDevice device) const { return blocks[device]; }
};

void ClearMemoryInfo(MemoryInfo& info);

// The file entries of a block, one per "\r\n"-terminated line, in the order received.
std::vector<std::string> FileListLines(const DeviceMemoryBlock& block);

}  // namespace vantrel
