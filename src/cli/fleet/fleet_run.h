#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "cli/fleet/fleet_report.h"
#include "cli/fleet/fleet_targets.h"
#include "link/link_layer.h"

namespace vantrel::cli {

// One printer's work: it gets its own link, bound to the printer, and reports what happened.
using FleetJob = std::function<FleetResult(const FleetTarget& target, LinkLayer& link)>;

// Whether a canary printer that ended so lets the others start.
using CanaryRule = bool (*)(FleetOutcome);

struct FleetRunSettings {
  std::size_t parallel = 32;
  bool progress = false;  // a bar on stderr
  // Silence that ends a network read; 0 keeps the link's own wait.
  std::chrono::milliseconds read_wait{0};
  // Called on the calling thread, in the order printers finish, once for each printer started.
  std::function<void(const FleetResult&)> on_result;
  // The first `canary` printers in target order are worked on first, and the others only when
  // every one of them passed.
  std::size_t canary = 0;
  CanaryRule canary_passed = FleetSucceeded;
  // No printer starts once this many have failed or were unreachable; 0: no limit.
  std::size_t max_failures = 0;
};

struct FleetRunEnd {
  std::vector<FleetResult> results;  // one per printer started, in the order of the targets
  std::size_t not_started = 0;
  bool interrupted = false;
  // Set only when the stop left printers not started.
  FleetStop stopped = FleetStop::kNone;
  std::int64_t ms = 0;
};

// Works on up to `parallel` printers at once, each over a network link of its own with the
// waits of a single run. The first SIGINT, SIGTERM or SIGHUP, or a SIGPIPE, stops starting
// printers and lets those in flight finish or fail; a second stop signal cancels those in
// flight, connection attempts included, which then fail at once. A failed canary and the
// failure limit stop starting printers as the first signal does.
FleetRunEnd RunFleet(const std::vector<FleetTarget>& targets, const FleetJob& job,
                     const FleetRunSettings& settings);

}  // namespace vantrel::cli
