#include "ratio_reporter.h"

#include <cstdio>

namespace vantrel::bench {

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
  ConsoleReporter::ReportRuns(runs);
  for (const Run& run : runs) {
    const auto found = run.counters.find("bytes_per_second");
    if (found != run.counters.end() && run.run_type == Run::RT_Iteration) {
      bytes_per_second_[run.run_name.function_name] = found->second.value;
    }
  }
}

void RatioReporter::Finalize() {
  ConsoleReporter::Finalize();
  for (const auto& [name, baseline] : pairs_) {
    const auto measured = bytes_per_second_.find(name);
    const auto base = bytes_per_second_.find(baseline);
    if (measured == bytes_per_second_.end() || base == bytes_per_second_.end()) continue;
    std::printf("%s: %.1f MiB/s, %s: %.1f MiB/s, ratio %.2f\n", name.c_str(),
                measured->second / (1 << 20), baseline.c_str(), base->second / (1 << 20),
                measured->second / base->second);
  }
}

}  // namespace vantrel::bench
