#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace vantrel::sim {

// One of the printer's memories. Sizes are kilobytes, as the printer reports them.
struct SimMemory {
  std::int64_t physical_kb = 0;
  std::int64_t free_kb = 0;
  std::vector<std::pair<std::string, std::string>> files;  // name and bytes, in stored order

  bool operator==(const SimMemory&) const = default;
};

// A download whose bytes are still arriving.
struct SimPendingDownload {
  int memory = 0;
  std::string name;
  std::uint64_t size = 0;
  bool fits = false;  // a file larger than the free space is swallowed, not stored
  std::string data;

  bool operator==(const SimPendingDownload&) const = default;
};

// DRAM, FLASH and CARD, in that order.
struct SimMemoryState {
  std::array<SimMemory, 3> memories = {{{2048, 2048, {}}, {8192, 8192, {}}, {16384, 16384, {}}}};
  std::optional<SimPendingDownload> pending;

  bool operator==(const SimMemoryState&) const = default;
};

// Starts taking a download's bytes; the file appears only when all have arrived and fit.
void BeginDownload(SimMemoryState& state, int memory, std::string name, std::uint64_t size);
void AcceptDownloadData(SimMemoryState& state, std::span<const std::uint8_t> piece, bool last);

// Stores or replaces a file and takes its room from the free space.
void StoreFile(SimMemory& memory, std::string name, std::string bytes);
void EraseFiles(SimMemory& memory);
// The bytes of the first file of that name in DRAM, FLASH, then CARD.
const std::string* FindFile(const SimMemoryState& state, std::string_view name);

}  // namespace vantrel::sim
