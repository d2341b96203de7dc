#include "engine/sim_memory_profile.h"

#include <array>
#include <nlohmann/json.hpp>

#include "engine/sim_profile.h"

namespace vantrel::sim {
namespace {

using nlohmann::json;

constexpr std::array<std::string_view, 3> kMemoryNames = {"dram", "flash", "card"};

std::int64_t ReadKilobytes(const json& value, const std::string& name) {
  if (!value.is_number_unsigned() || value.get<std::uint64_t>() > 0x7FFFFFFF) {
    throw SimProfileError(name + " must be a number of kilobytes, not " + value.dump());
  }
  return value.get<std::int64_t>();
}

void ReadFiles(const json& value, const std::string& name, SimMemory& memory) {
  if (!value.is_object()) throw SimProfileError(name + " must map file names to contents");
  for (const auto& [file, content] : value.items()) {
    if (!content.is_string()) throw SimProfileError(name + "." + file + " must be a string");
    StoreFile(memory, file, content.get<std::string>());
  }
}

void ApplyMemory(const json& value, const std::string& name, SimMemory& memory) {
  if (!value.is_object()) throw SimProfileError(name + " must be a JSON object");
  if (value.contains("physical")) {
    memory.physical_kb = ReadKilobytes(value["physical"], name + ".physical");
    memory.free_kb = memory.physical_kb;
  }
  for (const auto& [key, item] : value.items()) {
    if (key == "files") {
      ReadFiles(item, name + ".files", memory);
    } else if (key != "physical" && key != "free") {
      throw SimProfileError("unknown key \"" + key + "\" in " + name);
    }
  }
  // A stated free space wins over what the files leave, as on a printer with hidden files.
  if (value.contains("free")) memory.free_kb = ReadKilobytes(value["free"], name + ".free");
}

}  // namespace

void ApplySimMemoryProfile(const json& value, SimMemoryState& state) {
  if (!value.is_object()) throw SimProfileError("memory must be a JSON object");
  for (const auto& [key, item] : value.items()) {
    std::size_t index = 0;
    while (index < kMemoryNames.size() && kMemoryNames[index] != key) ++index;
    if (index == kMemoryNames.size()) throw SimProfileError("unknown memory \"" + key + "\"");
    ApplyMemory(item, "memory." + key, state.memories[index]);
  }
}

}  // namespace vantrel::sim
