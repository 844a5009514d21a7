// "Karte n Satz n" without display against a virtual card with instant timing: the cycles
// per second the run itself manages (one Start, GetData and GetGates each), next to the shot
// rate that the PCI bus alone allows for a 1600-sample A-scan. The last line gives both and
// their ratio.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <unistd.h>
#include <vector>

#include "BenchRunHost.h"

#include "RatioReporter.h"

namespace {

constexpr int kCyclesPerRun = 20000;
constexpr double kPciBytesPerSecond = 133e6;  // bus master at 33 MHz x 4 bytes
constexpr double kAscanBytes = 1600 * 2;

double g_cyclesPerSecond = 0;

void BM_Rate11Instant(benchmark::State& state) {
  BenchRunHost host("[Card 1]\nTiming=instant\n", 1);
  host.settings.zyklen = kCyclesPerRun;
  if (!host.Ready()) {
    state.SkipWithError("no virtual card");
    return;
  }
  for (auto _ : state) {
    zorix7sim::ClearJournal();
    measure::RunLine line = measure::RunRateOneSet(host);
    if (!line.ok) state.SkipWithError(line.text.c_str());
  }
  state.counters["cycles_per_s"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kCyclesPerRun, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Rate11Instant)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Keeps the rate for the last line.

}  // namespace

int main(int argc, char** argv) {
  RunBenchmarks(argc, argv, [](const BenchmarkRun& run) {
    auto it = run.counters.find("cycles_per_s");
    if (it != run.counters.end() && run.run_type == BenchmarkRun::RT_Iteration) g_cyclesPerSecond = it->second;
  });
  const double pciShots = kPciBytesPerSecond / kAscanBytes;
  std::printf("Karte n Satz n, instant: %.0f Zyklen/s; PCI-Grenze 1600 Samples: %.0f Schuesse/s; Verhaeltnis %.1f\n",
              g_cyclesPerSecond, pciShots, g_cyclesPerSecond / pciShots);
  return 0;
}
