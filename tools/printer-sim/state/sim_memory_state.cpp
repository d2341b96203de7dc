#include "state/sim_memory_state.h"

#include <algorithm>

namespace vantrel::sim {
namespace {

std::int64_t KilobytesFor(std::uint64_t bytes) {
  return static_cast<std::int64_t>((bytes + 1023) / 1024);
}

}  // namespace

void BeginDownload(SimMemoryState& state, int memory, std::string name, std::uint64_t size) {
  const SimMemory& target = state.memories[static_cast<std::size_t>(memory)];
  const bool fits = KilobytesFor(size) <= target.free_kb;
  state.pending = SimPendingDownload{memory, std::move(name), size, fits, {}};
  if (fits) state.pending->data.reserve(size);
}

void AcceptDownloadData(SimMemoryState& state, std::span<const std::uint8_t> piece, bool last) {
  if (!state.pending) return;
  SimPendingDownload& pending = *state.pending;
  if (pending.fits) pending.data.append(reinterpret_cast<const char*>(piece.data()), piece.size());
  if (!last) return;
  if (pending.fits) {
    StoreFile(state.memories[static_cast<std::size_t>(pending.memory)], std::move(pending.name),
              std::move(pending.data));
  }
  state.pending.reset();
}

void StoreFile(SimMemory& memory, std::string name, std::string bytes) {
  const auto same = [&](const auto& file) { return file.first == name; };
  if (const auto old = std::find_if(memory.files.begin(), memory.files.end(), same);
      old != memory.files.end()) {
    memory.free_kb += KilobytesFor(old->second.size());
    memory.files.erase(old);
  }
  memory.free_kb -= KilobytesFor(bytes.size());
  memory.files.emplace_back(std::move(name), std::move(bytes));
}

void EraseFiles(SimMemory& memory) {
  memory.files.clear();
  memory.free_kb = memory.physical_kb;
}

const std::string* FindFile(const SimMemoryState& state, std::string_view name) {
  for (const SimMemory& memory : state.memories) {
    for (const auto& [file_name, bytes] : memory.files) {
      if (file_name == name) return &bytes;
    }
  }
  return nullptr;
}

}  // namespace vantrel::sim
