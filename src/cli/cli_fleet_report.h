#pragma once

#include <cstdint>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "common/host_file.h"

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
  nlohmann::json values;             // what the operation read (status, identity), or null
  std::int64_t ms = 0;
};

struct FleetSummary {
  std::size_t total = 0;  // printers started
  std::size_t succeeded = 0;
  std::size_t failed = 0;
  std::size_t unreachable = 0;
  std::size_t not_started = 0;  // left out by an interruption
  bool interrupted = false;
  std::int64_t ms = 0;
};

FleetSummary Summarize(const std::vector<FleetResult>& results, std::size_t not_started,
                       bool interrupted, std::int64_t ms);

// 0 when every printer succeeded, 1 when none could be reached, 2 otherwise.
int FleetExitStatus(const FleetSummary& summary);

// One JSON line of the report, without its line end.
std::string FleetResultLine(const FleetResult& result);
std::string FleetSummaryLine(const FleetSummary& summary);

// The table of the human report and its summary line.
void PrintFleetTable(std::ostream& out, const std::vector<FleetResult>& results,
                     const FleetSummary& summary);

// The JSON lines and the summary, put in place whole or not at all.
HostFileResult WriteFleetReport(const std::filesystem::path& path,
                                const std::vector<FleetResult>& results,
                                const FleetSummary& summary);

}  // namespace vantrel::cli
