#pragma once

#include <CLI/CLI.hpp>
#include <string>

#include "ops/memory_info.h"

namespace vantrel::cli {

// "dram", "flash", "card" as the command line spells the memories.
MemoryDevice MemoryFromWord(const std::string& word);
// "DRAM", "FLASH", "CARD" as they are shown.
std::string MemoryWord(MemoryDevice device);
// Accepts exactly the words MemoryFromWord knows.
CLI::Validator MemoryWordCheck();

}  // namespace vantrel::cli
