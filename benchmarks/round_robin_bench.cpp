// "Karten 1..n Satz n" over 16 instant virtual cards, alone and with one card whose shots take
// ten times as long as a fast card's cycle: the fast cards' cycles per second must not follow
// the slow one. The last line gives the fast cards' rate in both runs and their ratio.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "BenchRunHost.h"

namespace {

constexpr int kCards = 16;
constexpr int kCycles = 300;

double g_alone = 0;    // cycles per second of a fast card, all cards fast
double g_withSlow = 0;  // the same with card 16 slow

std::string Bench(DWORD slowShotUs) {
  std::string text;
  for (int n = 1; n <= kCards; ++n) {
    text += "[Card " + std::to_string(n) + "]\n";
    if (n == kCards && slowShotUs)
      text += "ShotPeriodUs=" + std::to_string(slowShotUs) + "\n";
    else
      text += "Timing=instant\n";
  }
  return text;
}

// Mean cycles per second of the fast cards 1..15 over the iterations.
void RunCards(benchmark::State& state, DWORD slowShotUs, double& rate) {
  BenchRunHost host(Bench(slowShotUs), kCards);
  if (!host.Ready()) {
    state.SkipWithError("no virtual cards");
    return;
  }
  host.settings.zyklen = kCycles;
  host.settings.anzeige = TRUE;  // a card's display closes at its last cycle
  double sum = 0;
  int runs = 0;
  for (auto _ : state) {
    zorix7sim::ClearJournal();
    measure::RunLine line = measure::RunRateCards(host);
    if (!line.ok) state.SkipWithError(line.text.c_str());
    for (size_t c = 0; c + 1 < kCards; ++c) sum += host.CardRate(c);
    ++runs;
  }
  rate = runs ? sum / (runs * (kCards - 1)) : 0;
  state.counters["fast_cycles_per_s"] = rate;
}

void BM_AllFast(benchmark::State& state) { RunCards(state, 0, g_alone); }
BENCHMARK(BM_AllFast)->Unit(benchmark::kMillisecond)->Iterations(3);

// The slow card's shot lasts ten fast cycles as the fast cards see them alone.
void BM_OneSlow(benchmark::State& state) {
  const double fastCycleUs = g_alone > 0 ? 1e6 / g_alone : 100;
  RunCards(state, static_cast<DWORD>(std::max(1.0, 10 * fastCycleUs)), g_withSlow);
}
BENCHMARK(BM_OneSlow)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::printf("Karten 1..16 Satz 1, schnelle Karten: %.0f Zyklen/s allein, %.0f mit einer langsamen Karte; Verhaeltnis %.2f\n",
              g_alone, g_withSlow, g_alone > 0 ? g_withSlow / g_alone : 0.0);
  return 0;
}
