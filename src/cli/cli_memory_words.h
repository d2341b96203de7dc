#pragma once

#include <string>

#include "ops/memory_info.h"

namespace vantrel::cli {

// "dram", "flash", "card" as the command line spells the memories.
MemoryDevice MemoryFromWord(const std::string& word);
// "DRAM", "FLASH", "CARD" as they are shown.
std::string MemoryWord(MemoryDevice device);

}  // namespace vantrel::cli
