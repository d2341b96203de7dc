#include "commands/sim_config_values.h"

#include <charconv>
#include <cmath>

namespace vantrel::sim {

void StoreReport(SimCommandContext& context, std::string_view name, std::string answer) {
  SimConfigState& config = context.state().config;
  if (config.unstored.contains(name)) return;
  if (const auto found = config.reports.find(name); found != config.reports.end()) {
    found->second = std::move(answer);
  }
}

std::optional<std::string_view> Report(SimCommandContext& context, std::string_view name) {
  const auto& reports = context.state().config.reports;
  const auto found = reports.find(name);
  if (found == reports.end()) return std::nullopt;
  return found->second;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::optional<double> LeadingNumber(std::string_view text) {
  text = TrimBlanks(text);
  if (text.starts_with('+')) text.remove_prefix(1);
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::vector<std::string_view> SplitFields(std::string_view text, char separator) {
  std::vector<std::string_view> fields;
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find(separator, start);
    fields.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) return fields;
    start = end + 1;
  }
}

std::string WholeText(double value) {
  return std::to_string(std::llround(value));
}

double SimDpi(SimCommandContext& context) {
  const std::optional<std::string_view> dpi = Report(context, "DPI");
  const std::optional<double> value = dpi ? LeadingNumber(*dpi) : std::nullopt;
  return value && *value > 0 ? *value : 203;
}

double SimDotsPerMm(SimCommandContext& context) {
  return std::max(1.0, std::round(SimDpi(context) / 25.4));
}

}  // namespace vantrel::sim
