#pragma once
// Google Benchmark's console output, with every finished run shown to the benchmark first, so
// that it can print its figures as a ratio on its last line.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

using BenchmarkRun = benchmark::BenchmarkReporter::Run;

// Runs the benchmarks the command line selects, handing each run to take.
inline void RunBenchmarks(int argc, char** argv, std::function<void(const BenchmarkRun&)> take) {
  class Reporter : public benchmark::ConsoleReporter {
   public:
    explicit Reporter(std::function<void(const BenchmarkRun&)> f)
        : ConsoleReporter(isatty(fileno(stdout)) ? OO_Defaults : OO_Tabular), m_take(std::move(f)) {}
    void ReportRuns(const std::vector<Run>& runs) override {
      for (const Run& run : runs) m_take(run);
      ConsoleReporter::ReportRuns(runs);
    }

   private:
    std::function<void(const BenchmarkRun&)> m_take;
  };
  benchmark::Initialize(&argc, argv);
  Reporter reporter(std::move(take));
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
}
