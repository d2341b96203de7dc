#include "engine/sim_profile.h"

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "engine/sim_config_profile.h"
#include "engine/sim_memory_profile.h"

namespace vantrel::sim {
namespace {

using nlohmann::json;

std::uint8_t ReadByte(const json& value, const std::string& name) {
  if (!value.is_number_unsigned() || value.get<std::uint64_t>() > 255) {
    throw SimProfileError(name + " must be an integer from 0 to 255, not " + value.dump());
  }
  return static_cast<std::uint8_t>(value.get<std::uint64_t>());
}

DetailBytes ReadDetail(const json& value) {
  DetailBytes detail{};
  if (!value.is_array() || value.size() != detail.size()) {
    throw SimProfileError("detail must be an array of 8 bytes, not " + value.dump());
  }
  for (std::size_t i = 0; i < detail.size(); ++i) {
    detail[i] = ReadByte(value[i], "detail[" + std::to_string(i) + "]");
  }
  return detail;
}

}  // namespace

SimState ParseSimProfile(std::string_view json_text) {
  json root;
  try {
    root = json::parse(json_text);
  } catch (const json::parse_error& error) {
    throw SimProfileError(std::string("profile is not valid JSON: ") + error.what());
  }
  if (!root.is_object()) throw SimProfileError("profile must be a JSON object");
  SimState state;
  for (const auto& [key, value] : root.items()) {
    if (key == "status_byte") {
      state.status_byte = ReadByte(value, key);
    } else if (key == "detail") {
      state.detail = ReadDetail(value);
    } else if (key == "config") {
      ApplySimConfigProfile(value, state.config);
    } else if (key == "memory") {
      ApplySimMemoryProfile(value, state.memory);
    } else {
      throw SimProfileError("unknown profile key \"" + key + "\"");
    }
  }
  return state;
}

SimState LoadSimProfile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  if (!(file && text << file.rdbuf())) throw SimProfileError("cannot read profile " + path);
  try {
    return ParseSimProfile(text.str());
  } catch (const SimProfileError& error) {
    throw SimProfileError(path + ": " + error.what());
  }
}

}  // namespace vantrel::sim
