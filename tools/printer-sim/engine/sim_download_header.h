#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel::sim {

// `DOWNLOAD [F,|E,]"NAME",SIZE,` — the announcement that the next SIZE bytes are a file.
struct SimDownloadHeader {
  int memory = 0;  // 0 DRAM, 1 FLASH (F,), 2 CARD (E,)
  std::string name;
  std::uint64_t size = 0;
};

// The header when `text` is exactly one, else nullopt.
std::optional<SimDownloadHeader> ParseDownloadHeader(std::string_view text);

}  // namespace vantrel::sim
