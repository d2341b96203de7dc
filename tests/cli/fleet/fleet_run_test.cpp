// The fleet's waves: which printers a canary or a failure limit lets start, with jobs that
// only say how each printer ended.
#include "cli/fleet/fleet_run.h"

#include <gtest/gtest.h>

#include <mutex>
#include <set>
#include <thread>

namespace vantrel::cli {
namespace {

struct Wave {
  std::size_t parallel;
  std::size_t canary;
  std::size_t max_failures;
  std::string outcomes;  // a printer a letter, in target order, from kOutcomeLetters
  std::size_t started;   // always the first ones
  FleetStop stopped;
};

// The outcomes in their order: unchanged, changed, verified, failed, unreachable.
constexpr std::string_view kOutcomeLetters = "ucvfx";

// The rules the runs over simulated printers leave out.
TEST(FleetRunTest, ACanaryOrAFailureLimitStopsTheRest) {
  const Wave waves[] = {
      // The canary holds the others back however many may run at once.
      {2, 3, 0, "vvxv", 3, FleetStop::kCanary},
      {8, 2, 0, "cvfv", 4, FleetStop::kNone},
      // A stop that leaves nobody out is no stop.
      {8, 5, 0, "vf", 2, FleetStop::kNone},
      {1, 0, 2, "fvvf", 4, FleetStop::kNone},
      // The first reason is the one reported.
      {1, 2, 1, "fvv", 1, FleetStop::kCanary},
  };
  for (const Wave& wave : waves) {
    std::vector<FleetTarget> targets(wave.outcomes.size());
    for (std::size_t i = 0; i < targets.size(); ++i) {
      targets[i].text = std::to_string(i);
      targets[i].overrides = {"Common.Speed=" + targets[i].text};
    }
    std::mutex mutex;
    std::set<std::size_t> started;
    const FleetJob job = [&](const FleetTarget& target, LinkLayer&) {
      const std::size_t index = std::stoul(target.text);
      {
        const std::lock_guard lock(mutex);
        started.insert(index);
      }
      // Time for the other workers to start printers, were the canary not holding them back.
      if (index < wave.canary) std::this_thread::sleep_for(std::chrono::milliseconds(20));
      FleetResult result;
      result.target = target.text;
      result.outcome = static_cast<FleetOutcome>(kOutcomeLetters.find(wave.outcomes[index]));
      return result;
    };
    FleetRunSettings settings;
    settings.parallel = wave.parallel;
    settings.canary = wave.canary;
    settings.max_failures = wave.max_failures;
    const FleetRunEnd end = RunFleet(targets, job, settings);
    const std::string row = "wave " + std::to_string(&wave - waves);
    EXPECT_EQ(started.size(), wave.started) << row;
    EXPECT_EQ(started.empty() ? 0 : *started.rbegin() + 1, wave.started) << row;
    ASSERT_EQ(end.results.size(), wave.started) << row;
    // Each line carries its target's overrides, for a retry to keep.
    EXPECT_EQ(end.results.back().overrides, targets[wave.started - 1].overrides) << row;
    EXPECT_EQ(end.not_started, targets.size() - wave.started) << row;
    EXPECT_EQ(end.stopped, wave.stopped) << row;
    EXPECT_FALSE(end.interrupted) << row;
  }
}

}  // namespace
}  // namespace vantrel::cli
