#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::cli {

enum class FleetOutcome { kUnchanged, kChanged, kVerified, kFailed, kUnreachable };

// "unchanged", "changed", "verified", "failed", "unreachable".
std::string_view FleetOutcomeName(FleetOutcome outcome);
// The outcome a report line names; none for any other text.
std::optional<FleetOutcome> FleetOutcomeNamed(std::string_view name);
// Every outcome but "failed" and "unreachable".
bool FleetSucceeded(FleetOutcome outcome);
// "verified" and "unchanged": the printer is known to hold what it was meant to.
bool FleetVerified(FleetOutcome outcome);

// Why a run stopped starting printers before it had started all, other than an interruption.
enum class FleetStop { kNone, kCanary, kMaxFailures };
// "", "canary", "max-failures".
std::string_view FleetStopName(FleetStop stop);

// One item a configuration write would change: the printer's value (none when it does not
// report the item) and the value the write gives it.
struct PlannedChange {
  std::string item;
  std::optional<std::string> old_value;
  std::string new_value;
};

// What happened to one printer of a fleet run.
struct FleetResult {
  std::string target;
  std::string name;
  FleetOutcome outcome = FleetOutcome::kFailed;
  int code = 0;
  std::string detail;
  std::vector<std::string> changed;  // the items or files the operation changed or would change
  // What a reading operation (status, identity, config read) read, null when the read failed;
  // none for the others. `values_text` is how the table shows it.
  std::optional<nlohmann::json> values;
  std::string values_text;
  std::optional<bool> ready;  // a status read: whether "Ready" is lit
  // A plan's items with their values; none for a run that is not a plan.
  std::optional<std::vector<PlannedChange>> plan;
  std::string backup;  // the file the configuration was saved to before a write
  // The target's overrides from its hosts-file line, in the report so that a retry keeps them.
  std::vector<std::string> overrides;
  std::int64_t ms = 0;
};

struct FleetSummary {
  std::size_t total = 0;  // printers started
  std::size_t succeeded = 0;
  std::size_t failed = 0;
  std::size_t unreachable = 0;
  std::size_t not_started = 0;  // left out by an interruption or a stop
  bool interrupted = false;
  FleetStop stopped = FleetStop::kNone;
  std::optional<std::size_t> not_ready;  // printers whose status was read and is not Ready
  std::int64_t ms = 0;
};

FleetSummary Summarize(const std::vector<FleetResult>& results, std::size_t not_started,
                       bool interrupted, std::int64_t ms);

inline constexpr int kFleetNoneReached = 1;
inline constexpr int kFleetSomeFailed = 2;

// 0 when every printer succeeded, kFleetNoneReached when none could be reached,
// kFleetSomeFailed otherwise.
int FleetExitStatus(const FleetSummary& summary);

// One JSON line of the report, without its line end.
std::string FleetResultLine(const FleetResult& result);
std::string FleetSummaryLine(const FleetSummary& summary);

// A line of a report read back: the target, name, outcome and overrides of a printer's line
// (none for the summary line), or why the text is not a line of a report.
struct FleetReportLine {
  std::optional<FleetResult> result;
  std::string refusal;
};
FleetReportLine ReadFleetReportLine(std::string_view text);

// The table of the human report and its summary line.
void PrintFleetTable(std::ostream& out, const std::vector<FleetResult>& results,
                     const FleetSummary& summary);

// One CSV field: quoted when it holds a comma, a double quote, CR or LF, its quotes doubled.
std::string CsvField(std::string_view text);

// The inventory as CSV: a header row, then a row a printer with its target, name, outcome,
// code, detail and its values under `keys` (empty where null). Texts are escaped as the table
// shows them, so no control byte reaches the file; rows end in CR LF.
std::string FleetCsv(const std::vector<FleetResult>& results,
                     std::span<const std::string_view> keys);

}  // namespace vantrel::cli
