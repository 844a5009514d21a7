// A snapshot of sixteen cards, every register read and decoded, against the same library
// calls made bare on the instant virtual cards. The last line prints the calls' own cost over
// the snapshot's per card: 1 means the program adds nothing, 0.5 that it adds as much again.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "card/ControlLca.h"
#include "card/DataLca.h"
#include "pci/PciEepromCheck.h"
#include "pci/PciOperation.h"
#include "sim/Zorix7Sim.h"
#include "snapshot/CardSnapshot.h"

#include "RatioReporter.h"

namespace {
constexpr int kCards = 16;
double g_snapshotNs = 0;
double g_callsNs = 0;

struct Bench {
  std::vector<HZORIX7> cards;
  Bench() {
    std::string text;
    for (int n = 1; n <= kCards; ++n)
      text += "[Card " + std::to_string(n) + "]\nBus=" + std::to_string(n) + "\nSlot=1\nTiming=instant\n";
    zorix7sim::LoadBenchText(text, "snapshot_bench.ini");
    for (int n = 1; n <= kCards; ++n) cards.push_back(ZORIX7Open(n));
  }
  ~Bench() {
    for (HZORIX7 h : cards) ZORIX7Close(h);
  }
};

// The calls a snapshot makes, in its order, without decoding or formatting anything.
void BareCalls(HZORIX7 h, const std::vector<uint16_t>& lcaRegisters) {
  DWORD error = 0, bus = 0, slot = 0;
  ZORIX7GetCardPosition(h, &bus, &slot, &error);
  benchmark::DoNotOptimize(ZORIX7IsVersion3(h));
  PciConfigImage image{};
  ZORIX7ReadConfigData(h, &image);
  KennungRecord record{};
  ZORIX7GetKonfig(h, &record, &error);
  pci::CardEeprom eeprom(h);
  for (int i = 0; i < pci::kEepromFieldCount; ++i)
    benchmark::DoNotOptimize(pci::ReadField(eeprom, static_cast<pci::EepromFieldId>(i)));
  for (const pci::OperationRegister& r : pci::kOperationRegisters)
    benchmark::DoNotOptimize(ZORIX7ReadRegister(h, r.offset));
  for (uint16_t reg : lcaRegisters) benchmark::DoNotOptimize(ZORIX7ReadRegister(h, reg));
  benchmark::DoNotOptimize(image);
  benchmark::DoNotOptimize(record);
}

void BM_Snapshot16(benchmark::State& state) {
  Bench bench;
  for (auto _ : state) {
    zorix7sim::ClearJournal();
    for (int n = 1; n <= kCards; ++n) benchmark::DoNotOptimize(snapshot::TakeCardState(bench.cards[n - 1], n));
  }
  state.counters["ns_per_card"] = benchmark::Counter(static_cast<double>(state.iterations()) * kCards,
                                                     benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_Snapshot16)->Unit(benchmark::kMillisecond)->MinTime(0.5)->Repetitions(5);

// Writing the file's text of sixteen cards, beside the reading (not part of the ratio).
void BM_SnapshotText16(benchmark::State& state) {
  Bench bench;
  snapshot::Snapshot s;
  for (int n = 1; n <= kCards; ++n) s.cards.push_back(snapshot::TakeCardState(bench.cards[n - 1], n));
  for (auto _ : state) benchmark::DoNotOptimize(snapshot::ToJson(s));
  state.counters["text_ns_per_card"] = benchmark::Counter(static_cast<double>(state.iterations()) * kCards,
                                                          benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SnapshotText16)->Unit(benchmark::kMillisecond)->MinTime(0.5)->Repetitions(5);

void BM_BareCalls16(benchmark::State& state) {
  Bench bench;
  std::vector<uint16_t> lca = regmap::ReadOrder(lca::ControlLcaFields());
  for (uint16_t reg : regmap::ReadOrder(datalca::DataLcaFields())) lca.push_back(reg);
  // The reference must make the very calls of a snapshot, no fewer.
  zorix7sim::ClearJournal();
  snapshot::TakeCardState(bench.cards[0], 1);
  const size_t snapshotCalls = zorix7sim::Journal().size();
  zorix7sim::ClearJournal();
  BareCalls(bench.cards[0], lca);
  if (zorix7sim::Journal().size() != snapshotCalls) state.SkipWithError("the bare calls are not the snapshot's");
  for (auto _ : state) {
    zorix7sim::ClearJournal();
    for (HZORIX7 h : bench.cards) BareCalls(h, lca);
  }
  state.counters["ns_per_card"] = benchmark::Counter(static_cast<double>(state.iterations()) * kCards,
                                                     benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_BareCalls16)->Unit(benchmark::kMillisecond)->MinTime(0.5)->Repetitions(5);

}  // namespace

int main(int argc, char** argv) {
  RunBenchmarks(argc, argv, [](const BenchmarkRun& run) {
    auto it = run.counters.find("ns_per_card");
    if (it == run.counters.end() || run.run_type != BenchmarkRun::RT_Iteration) return;
    // The least disturbed repetition of each: the machine is shared.
    double& ns = run.benchmark_name().find("Snapshot") != std::string::npos ? g_snapshotNs : g_callsNs;
    ns = ns > 0 ? std::min(ns, it->second * 1e9) : it->second * 1e9;
  });
  std::printf("Zustand je Karte: %.1f us, ihre Bibliotheksaufrufe allein: %.1f us; Verhaeltnis %.2f\n",
              g_snapshotNs / 1e3, g_callsNs / 1e3, g_snapshotNs > 0 ? g_callsNs / g_snapshotNs : 0.0);
  return 0;
}
