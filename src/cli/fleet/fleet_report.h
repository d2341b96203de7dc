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
// Every outcome but "failed" and "unreachable".
bool FleetSucceeded(FleetOutcome outcome);

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
  std::int64_t ms = 0;
};

struct FleetSummary {
  std::size_t total = 0;  // printers started
  std::size_t succeeded = 0;
  std::size_t failed = 0;
  std::size_t unreachable = 0;
  std::size_t not_started = 0;  // left out by an interruption
  bool interrupted = false;
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
