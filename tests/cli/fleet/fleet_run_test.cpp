// The fleet's waves: which printers a canary or a failure limit lets start, with jobs that
// only say how each printer ended.
#include "cli/fleet/fleet_run.h"

#include <gtest/gtest.h>

#include <mutex>
#include <set>
#include <thread>

namespace vantrel::cli {
namespace {

using enum FleetOutcome;

struct Wave {
  std::size_t parallel;
  std::size_t canary;
  bool (*canary_passed)(FleetOutcome);
  std::size_t max_failures;
  std::vector<FleetOutcome> outcomes;  // one a printer, in target order
  std::size_t started;                 // always the first ones
  FleetStop stopped;
};

TEST(FleetRunTest, ACanaryOrAFailureLimitStopsTheRest) {
  const Wave waves[] = {
      // The canary holds the others back however many may run at once.
      {8, 2, FleetSucceeded, 0, {kVerified, kFailed, kVerified, kVerified}, 2, FleetStop::kCanary},
      {2,
       3,
       FleetSucceeded,
       0,
       {kVerified, kVerified, kUnreachable, kVerified},
       3,
       FleetStop::kCanary},
      {8, 2, FleetSucceeded, 0, {kChanged, kVerified, kFailed, kVerified}, 4, FleetStop::kNone},
      {8, 1, FleetVerified, 0, {kChanged, kVerified, kVerified}, 1, FleetStop::kCanary},
      {8, 1, FleetVerified, 0, {kUnchanged, kVerified, kVerified}, 3, FleetStop::kNone},
      // A canary of the whole fleet leaves nobody out.
      {8, 5, FleetSucceeded, 0, {kVerified, kFailed}, 2, FleetStop::kNone},
      {1,
       0,
       FleetSucceeded,
       2,
       {kFailed, kVerified, kUnreachable, kFailed, kVerified},
       3,
       FleetStop::kMaxFailures},
      {1, 0, FleetSucceeded, 2, {kFailed, kVerified, kVerified, kFailed}, 4, FleetStop::kNone},
      // The canary's failure counts towards the limit; the first reason is the one reported.
      {1, 2, FleetSucceeded, 1, {kFailed, kVerified, kVerified}, 1, FleetStop::kCanary},
      {1, 1, FleetSucceeded, 1, {kVerified, kFailed, kVerified}, 2, FleetStop::kMaxFailures},
  };
  for (const Wave& wave : waves) {
    std::vector<FleetTarget> targets(wave.outcomes.size());
    for (std::size_t i = 0; i < targets.size(); ++i) targets[i].text = std::to_string(i);
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
      result.outcome = wave.outcomes[index];
      return result;
    };
    FleetRunSettings settings;
    settings.parallel = wave.parallel;
    settings.canary = wave.canary;
    settings.canary_passed = wave.canary_passed;
    settings.max_failures = wave.max_failures;
    const FleetRunEnd end = RunFleet(targets, job, settings);
    const std::string row = "wave " + std::to_string(&wave - waves);
    EXPECT_EQ(started.size(), wave.started) << row;
    EXPECT_EQ(started.empty() ? 0 : *started.rbegin() + 1, wave.started) << row;
    EXPECT_EQ(end.results.size(), wave.started) << row;
    EXPECT_EQ(end.not_started, targets.size() - wave.started) << row;
    EXPECT_EQ(end.stopped, wave.stopped) << row;
    EXPECT_FALSE(end.interrupted) << row;
  }
}

}  // namespace
}  // namespace vantrel::cli
