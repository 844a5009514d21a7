// "Karte n Satz n" without display against a virtual card with instant timing: the cycles
// per second the run itself manages (one Start, GetData and GetGates each), next to the shot
// rate that the PCI bus alone allows for a 1600-sample A-scan. The last line gives both and
// their ratio.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <unistd.h>
#include <vector>

#include "measure/MeasureRuns.h"
#include "sim/Zorix7Sim.h"

namespace {

constexpr int kCyclesPerRun = 20000;
constexpr double kPciBytesPerSecond = 133e6;  // bus master at 33 MHz x 4 bytes
constexpr double kAscanBytes = 1600 * 2;

// The main dialog as the run sees it, without windows.
class BenchHost final : public measure::RunHost {
 public:
  BenchHost() : m_buffer(0x20000) {
    zorix7sim::LoadBenchText("[Card 1]\nTiming=instant\n");
    m_card = ZORIX7Open(1);
    SetRandomLimitDefaults(m_limits);
    m_settings.card = 1;
    m_settings.set = 1;
    m_settings.dma = TRUE;
    m_settings.anzeige = FALSE;
    m_settings.zyklen = kCyclesPerRun;
  }
  bool Ready() const { return m_card != 0; }

  measure::RunSettings ReadControls() override { return m_settings; }
  UINT SelectedCard() override { return 1; }
  measure::RunCard Card(UINT) override { return {m_card, m_sets, &m_active, m_ident}; }
  UINT CardCount() override { return 1; }
  void SetParamSet(int) override {}
  const RandomLimits& Limits() override { return m_limits; }
  BYTE* DataBuffer() override { return m_buffer.data(); }
  DWORD* DataBytes() override { return &m_bytes; }
  int MessageBox(const CString& text, const CString& caption, UINT) override {
    std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
    return IDCANCEL;
  }
  bool EditParameters(HZORIX7, ParameterSet&) override { return false; }
  bool SelectBlockSets(ActiveSetFlags&) override { return false; }
  void ShowAscan(const measure::AscanShow&) override {}
  void ShowGateValues(const BYTE*, DWORD, const ActiveSetFlags&, BOOL) override {}
  int OpenDisplay(const measure::DisplayWindow&) override { return 0; }
  void UpdateDisplay(int, const measure::AscanShow&) override {}
  void CloseDisplay(int) override {}
  measure::ScreenArea Screen() override { return {}; }
  void Progress(int, int) override {}

 private:
  std::vector<BYTE> m_buffer;
  DWORD m_bytes = 0;
  HZORIX7 m_card = 0;
  measure::RunSettings m_settings;
  ParameterSet m_sets[8];
  ActiveSetFlags m_active{};
  int16_t m_ident[8] = {};
  RandomLimits m_limits;
};

double g_cyclesPerSecond = 0;

void BM_Rate11Instant(benchmark::State& state) {
  BenchHost host;
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
class Reporter : public benchmark::ConsoleReporter {
 public:
  Reporter() : ConsoleReporter(isatty(fileno(stdout)) ? OO_Defaults : OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      auto it = run.counters.find("cycles_per_s");
      if (it != run.counters.end() && run.run_type == Run::RT_Iteration) g_cyclesPerSecond = it->second;
    }
    ConsoleReporter::ReportRuns(runs);
  }
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  Reporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  const double pciShots = kPciBytesPerSecond / kAscanBytes;
  std::printf("Karte n Satz n, instant: %.0f Zyklen/s; PCI-Grenze 1600 Samples: %.0f Schuesse/s; Verhaeltnis %.1f\n",
              g_cyclesPerSecond, pciShots, g_cyclesPerSecond / pciShots);
  return 0;
}
