#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>

namespace vantrel::bench {

// The console report, then each benchmark's throughput against its named baseline.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  // `pairs` maps a benchmark name to the name of its baseline.
  explicit RatioReporter(std::map<std::string, std::string> pairs) : pairs_(std::move(pairs)) {}
  void ReportRuns(const std::vector<Run>& runs) override;
  void Finalize() override;

 private:
  std::map<std::string, std::string> pairs_;
  std::map<std::string, double> bytes_per_second_;
};

}  // namespace vantrel::bench
