#pragma once

#include <nlohmann/json.hpp>
#include <string_view>

namespace vantrel::cli {

// A text received from a printer as a JSON string: each byte read as Latin-1, so that bytes
// outside printable ASCII come out as \u00XX and nothing is lost.
nlohmann::json PrinterText(std::string_view bytes);

// A single-precision value as the shortest decimal that reads back as the same float.
nlohmann::json ShortestFloat(float value);

// Prints the one JSON document of a --json command.
void PrintJson(const nlohmann::json& document);

}  // namespace vantrel::cli
