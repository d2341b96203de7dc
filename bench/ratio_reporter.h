#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>

namespace vantrel::bench {

// The console report, then each benchmark's throughput against its named baseline.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  // `pairs` maps a benchmark name to the name of its baseline; `counter` is the rate compared.
  explicit RatioReporter(std::map<std::string, std::string> pairs,
                         std::string counter = "bytes_per_second")
      : pairs_(std::move(pairs)), counter_(std::move(counter)) {}
  void ReportRuns(const std::vector<Run>& runs) override;
  void Finalize() override;

 private:
  std::map<std::string, std::string> pairs_;
  std::string counter_;
  std::map<std::string, double> rates_;
};

// Runs the registered benchmarks and prints each pair's ratio; the body of every bench main.
int RunWithRatios(int argc, char** argv, std::map<std::string, std::string> pairs,
                  std::string counter = "bytes_per_second");

}  // namespace vantrel::bench
