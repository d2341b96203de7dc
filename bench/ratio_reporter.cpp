#include "ratio_reporter.h"

#include <cstdio>

namespace vantrel::bench {

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
  ConsoleReporter::ReportRuns(runs);
  for (const Run& run : runs) {
    const auto found = run.counters.find(counter_);
    if (found != run.counters.end() && run.run_type == Run::RT_Iteration) {
      rates_[run.run_name.function_name] = found->second.value;
    }
  }
}

void RatioReporter::Finalize() {
  ConsoleReporter::Finalize();
  for (const auto& [name, baseline] : pairs_) {
    const auto measured = rates_.find(name);
    const auto base = rates_.find(baseline);
    if (measured == rates_.end() || base == rates_.end()) continue;
    std::printf("%s: %.4g %s, %s: %.4g %s, ratio %.2f\n", name.c_str(), measured->second,
                counter_.c_str(), baseline.c_str(), base->second, counter_.c_str(),
                measured->second / base->second);
  }
}

int RunWithRatios(int argc, char** argv, std::map<std::string, std::string> pairs,
                  std::string counter) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter(std::move(pairs), std::move(counter));
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}

}  // namespace vantrel::bench
