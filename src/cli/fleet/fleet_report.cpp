#include "cli/fleet/fleet_report.h"

#include <algorithm>
#include <array>
#include <iomanip>

#include "cli/common/terminal_text.h"
#include "cli/fleet/planned_changes.h"
#include "config/config_item_text.h"

namespace vantrel::cli {
namespace {

constexpr std::array<std::string_view, 5> kOutcomeNames = {"unchanged", "changed", "verified",
                                                           "failed", "unreachable"};

// Texts that came from a printer or a file may hold any byte: an invalid sequence is replaced
// rather than end the report.
std::string Line(const nlohmann::json& document) {
  return document.dump(-1, ' ', true, nlohmann::json::error_handler_t::replace);
}

std::string Joined(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) text += (text.empty() ? "" : ", ") + item;
  return text;
}

// "Paper Width 4.00in (812) -> 4.06in (825)" for each planned item, else the changed items.
std::string ChangedText(const FleetResult& result) {
  if (!result.plan) return Joined(result.changed);
  std::vector<std::string> items;
  for (const PlannedChange& change : *result.plan) {
    items.push_back(PlannedChangeText(change));
  }
  return Joined(items);
}

std::string CsvValue(const nlohmann::json& value) {
  if (value.is_null()) return "";
  if (value.is_string()) {
    // JSON holds a printer text as Latin-1 code points (PrinterText): back to its bytes.
    const std::string text = value.get<std::string>();
    return CsvField(PrintableText(Latin1FromUtf8(text).value_or(text)));
  }
  return CsvField(value.dump());
}

std::string CsvRow(const std::vector<std::string>& fields) {
  std::string row;
  for (const std::string& field : fields) row += (row.empty() ? "" : ",") + field;
  return row + "\r\n";
}

}  // namespace

bool FleetSucceeded(FleetOutcome outcome) {
  return outcome != FleetOutcome::kFailed && outcome != FleetOutcome::kUnreachable;
}

bool FleetVerified(FleetOutcome outcome) {
  return outcome == FleetOutcome::kVerified || outcome == FleetOutcome::kUnchanged;
}

std::string_view FleetOutcomeName(FleetOutcome outcome) {
  return kOutcomeNames[static_cast<std::size_t>(outcome)];
}

std::optional<FleetOutcome> FleetOutcomeNamed(std::string_view name) {
  const auto found = std::find(kOutcomeNames.begin(), kOutcomeNames.end(), name);
  if (found == kOutcomeNames.end()) return std::nullopt;
  return static_cast<FleetOutcome>(found - kOutcomeNames.begin());
}

std::string_view FleetStopName(FleetStop stop) {
  constexpr std::array<std::string_view, 3> kNames = {"", "canary", "max-failures"};
  return kNames[static_cast<std::size_t>(stop)];
}

FleetSummary Summarize(const std::vector<FleetResult>& results, std::size_t not_started,
                       bool interrupted, std::int64_t ms) {
  FleetSummary summary;
  summary.total = results.size();
  for (const FleetResult& result : results) {
    if (result.ready) summary.not_ready = summary.not_ready.value_or(0) + (*result.ready ? 0 : 1);
    if (FleetSucceeded(result.outcome)) ++summary.succeeded;
    if (result.outcome == FleetOutcome::kFailed) ++summary.failed;
    if (result.outcome == FleetOutcome::kUnreachable) ++summary.unreachable;
  }
  summary.not_started = not_started;
  summary.interrupted = interrupted;
  summary.ms = ms;
  return summary;
}

int FleetExitStatus(const FleetSummary& summary) {
  if (summary.unreachable == summary.total + summary.not_started) return kFleetNoneReached;
  const bool all = summary.succeeded == summary.total && summary.not_started == 0;
  return all && !summary.interrupted ? 0 : kFleetSomeFailed;
}

std::string FleetResultLine(const FleetResult& result) {
  nlohmann::json line = {{"target", result.target},
                         {"name", result.name},
                         {"outcome", FleetOutcomeName(result.outcome)},
                         {"code", result.code},
                         {"detail", result.detail},
                         {"changed", result.changed},
                         {"ms", result.ms}};
  if (result.values) line["values"] = *result.values;
  if (result.plan) {
    nlohmann::json plan = nlohmann::json::array();
    for (const PlannedChange& change : *result.plan) {
      plan.push_back({{"item", change.item},
                      {"old", change.old_value ? nlohmann::json(*change.old_value) : nullptr},
                      {"new", change.new_value}});
    }
    line["plan"] = plan;
  }
  if (!result.backup.empty()) line["backup"] = result.backup;
  if (!result.overrides.empty()) line["overrides"] = result.overrides;
  return Line(line);
}

std::string FleetSummaryLine(const FleetSummary& summary) {
  nlohmann::json fields = {{"total", summary.total},
                           {"succeeded", summary.succeeded},
                           {"failed", summary.failed},
                           {"unreachable", summary.unreachable},
                           {"ms", summary.ms}};
  if (summary.interrupted) fields["interrupted"] = true;
  if (summary.stopped != FleetStop::kNone) fields["stopped"] = FleetStopName(summary.stopped);
  if (summary.interrupted || summary.stopped != FleetStop::kNone) {
    fields["not_started"] = summary.not_started;
  }
  return Line({{"summary", fields}});
}

FleetReportLine ReadFleetReportLine(std::string_view text) {
  const nlohmann::json line = nlohmann::json::parse(text, nullptr, false);
  if (!line.is_object()) return {std::nullopt, "not a JSON object"};
  if (line.contains("summary")) return {};
  const auto target = line.find("target");
  const auto outcome = line.find("outcome");
  if (target == line.end() || !target->is_string() || outcome == line.end() ||
      !outcome->is_string()) {
    return {std::nullopt, "no \"target\" and \"outcome\""};
  }
  FleetResult result;
  const std::optional<FleetOutcome> named = FleetOutcomeNamed(outcome->get<std::string>());
  if (!named) return {std::nullopt, "no outcome is named " + outcome->dump()};
  result.outcome = *named;
  result.target = target->get<std::string>();
  const auto name = line.find("name");
  if (name != line.end() && name->is_string()) result.name = name->get<std::string>();
  const auto overrides = line.find("overrides");
  if (overrides != line.end()) {
    if (!overrides->is_array()) return {std::nullopt, "\"overrides\" is not a list"};
    for (const nlohmann::json& edit : *overrides) {
      if (!edit.is_string()) return {std::nullopt, "\"overrides\" holds " + edit.dump()};
      result.overrides.push_back(edit.get<std::string>());
    }
  }
  return {std::move(result), ""};
}

void PrintFleetTable(std::ostream& out, const std::vector<FleetResult>& results,
                     const FleetSummary& summary) {
  out << std::left << std::setw(24) << "TARGET" << std::setw(20) << "NAME" << std::setw(12)
      << "OUTCOME" << std::setw(5) << "CODE" << std::setw(8) << "MS"
      << "DETAIL\n";
  for (const FleetResult& result : results) {
    std::string detail;
    const std::string backup = result.backup.empty() ? "" : "backup " + result.backup;
    for (const std::string& part :
         {result.values_text, ChangedText(result), result.detail, backup}) {
      if (!part.empty()) detail += (detail.empty() ? "" : "; ") + part;
    }
    out << std::setw(23) << PrintableText(result.target) << ' ' << std::setw(19)
        << PrintableText(result.name) << ' ' << std::setw(12) << FleetOutcomeName(result.outcome)
        << std::setw(5) << result.code << std::setw(8) << result.ms << PrintableText(detail)
        << '\n';
  }
  out << summary.total << (summary.total == 1 ? " printer: " : " printers: ") << summary.succeeded
      << " succeeded, " << summary.failed << " failed, " << summary.unreachable << " unreachable, "
      << summary.ms << " ms";
  if (summary.not_ready) out << "; " << *summary.not_ready << " not Ready";
  std::string stops = summary.interrupted ? "interrupted" : "";
  if (summary.stopped != FleetStop::kNone) {
    stops += (stops.empty() ? "" : ", ") + std::string(summary.stopped == FleetStop::kCanary
                                                           ? "the canary failed"
                                                           : "too many failures");
  }
  if (!stops.empty()) out << "; " << stops << ", " << summary.not_started << " not started";
  out << '\n';
}

std::string CsvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + '"';
}

std::string FleetCsv(const std::vector<FleetResult>& results,
                     std::span<const std::string_view> keys) {
  std::vector<std::string> header = {"target", "name", "outcome", "code", "detail"};
  header.insert(header.end(), keys.begin(), keys.end());
  std::string csv = CsvRow(header);
  for (const FleetResult& result : results) {
    std::vector<std::string> row = {
        CsvField(PrintableText(result.target)), CsvField(PrintableText(result.name)),
        std::string(FleetOutcomeName(result.outcome)), std::to_string(result.code),
        CsvField(PrintableText(result.detail))};
    for (const std::string_view key : keys) {
      const bool held = result.values && result.values->is_object() && result.values->contains(key);
      row.push_back(held ? CsvValue((*result.values)[std::string(key)]) : "");
    }
    csv += CsvRow(row);
  }
  return csv;
}

}  // namespace vantrel::cli
