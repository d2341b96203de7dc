#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/sim_command_registry.h"

namespace vantrel::sim {

// Helpers shared by the configuration commands.

// Sets a report answer; a printer ignores a command for a setting it does not know, and one
// for an unstored setting leaves it as it was.
void StoreReport(SimCommandContext& context, std::string_view name, std::string answer);
std::optional<std::string_view> Report(SimCommandContext& context, std::string_view name);

std::string_view TrimBlanks(std::string_view text);
// The leading number of a field such as "101.50 mm" or "-3 dot".
std::optional<double> LeadingNumber(std::string_view text);
std::vector<std::string_view> SplitFields(std::string_view text, char separator);
std::string WholeText(double value);

// The printer's resolution and its whole dots per millimetre (8 at 203 dpi).
double SimDpi(SimCommandContext& context);
double SimDotsPerMm(SimCommandContext& context);

// The Z and D emulation commands; part of the configuration family.
void RegisterEmulationCommands(SimCommandRegistry& registry);

}  // namespace vantrel::sim
