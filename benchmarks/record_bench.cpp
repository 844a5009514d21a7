// A data-rate run of 10 000 cycles (Start, GetData, GetGates on one instant virtual card) recorded
// through libzorix7-record, on the built-in bench's noisy A-scans and on shots that repeat exactly;
// then read back, and replayed by the virtual cards with every A-scan compared to the recorded
// run. The last line gives the session's size against the bytes it carries, and the replay's
// throughput against reading and decompressing the same file.
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

#include "record/CallList.h"
#include "record/Session.h"
#include "sim/Replay.h"
#include "sim/Zorix7Sim.h"

#include "RatioReporter.h"

namespace {

using session::CallId;
constexpr size_t kCycles = 10000;

struct Library {
  void* handle = nullptr;
  template <CallId id>
  typename session::CallFn<id>::type Fn() const {
    return reinterpret_cast<typename session::CallFn<id>::type>(dlsym(handle, session::kCallNames[static_cast<size_t>(id)]));
  }
};

struct Bench {
  const char* name;
  const char* text;
  std::string path;
  std::vector<std::vector<BYTE>> ascans;  // every cycle's A-scan as recorded
  double carried = 0, fileBytes = 0;
};
Bench g_noisy{"verrauscht", "[Card 1]\nTiming=instant\n", {}, {}};
Bench g_repeating{"wiederholt", "[Card 1]\nTiming=instant\nNoise=0\n", {}, {}};
double g_readSeconds = 0, g_replaySeconds = 0;

// The cycles of a data-rate run. Records every A-scan into seen, or compares each with the one
// in seen; false when a call failed or an A-scan differs in any bit.
bool Run(const Library& lib, std::vector<std::vector<BYTE>>& seen, bool compare) {
  std::vector<BYTE> buffer(0x20000);
  DWORD error = 0;
  const HZORIX7 h = lib.Fn<CallId::Open>()(1);
  if (!h || (compare && seen.size() != kCycles)) return false;
  for (size_t i = 0; i < kCycles; ++i) {
    DWORD count = static_cast<DWORD>(buffer.size());
    GateReadout gates{};
    if (!lib.Fn<CallId::Start>()(h, &error) || !lib.Fn<CallId::GetData>()(h, &count, buffer.data(), &error) ||
        !lib.Fn<CallId::GetGates>()(h, &gates, &error))
      return false;
    if (!compare)
      seen.emplace_back(buffer.begin(), buffer.begin() + count);
    else if (seen[i].size() != count || std::memcmp(seen[i].data(), buffer.data(), count) != 0)
      return false;
  }
  return lib.Fn<CallId::Close>()(h);
}

void Record(benchmark::State& state, Bench& bench) {
  bench.path = (std::filesystem::temp_directory_path() / ("record_bench-" + std::to_string(getpid()) + "-" + bench.name + ".zx7")).string();
  for (auto _ : state) {
    zorix7sim::LoadBenchText(bench.text);
    setenv("ZORIX7_DRIVER", ZORIX7_CARDS, 1);
    setenv("ZORIX7_RECORD", bench.path.c_str(), 1);
    void* recorder = dlopen(ZORIX7_RECORDER, RTLD_NOW | RTLD_LOCAL);
    if (!recorder) return state.SkipWithError(dlerror());
    bench.ascans.clear();
    const bool ran = Run({recorder}, bench.ascans, false);
    dlclose(recorder);  // closes the session
    if (!ran) return state.SkipWithError("a call failed while recording");
  }
  std::ifstream in(bench.path, std::ios::binary);
  session::SessionReader reader(in);
  session::CallRecord call;
  if (!reader.Open()) return state.SkipWithError(reader.message().c_str());
  bench.carried = 0;
  while (reader.Read(call) == session::SessionReader::Next::kCall)
    for (const auto* list : {&call.in, &call.out})
      for (const session::Value& v : *list) bench.carried += v.kind == session::Value::kNumber ? 4 : v.bytes.size();
  bench.fileBytes = static_cast<double>(std::filesystem::file_size(bench.path));
  state.counters["session_per_carried"] = bench.fileBytes / bench.carried;
}
void BM_RecordNoisy(benchmark::State& state) { Record(state, g_noisy); }
void BM_RecordRepeating(benchmark::State& state) { Record(state, g_repeating); }
BENCHMARK(BM_RecordNoisy)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_RecordRepeating)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_ReadSession(benchmark::State& state) {
  for (auto _ : state) {
    std::ifstream in(g_noisy.path, std::ios::binary);
    session::SessionReader reader(in);
    session::CallRecord call;
    if (!reader.Open()) return state.SkipWithError(reader.message().c_str());
    while (reader.Read(call) == session::SessionReader::Next::kCall) benchmark::DoNotOptimize(call);
  }
}
BENCHMARK(BM_ReadSession)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_Replay(benchmark::State& state) {
  const Library cards{dlopen(ZORIX7_CARDS, RTLD_NOW | RTLD_NOLOAD)};
  for (auto _ : state) {
    if (!zorix7sim::StartReplay(g_noisy.path, true)) return state.SkipWithError(zorix7sim::ReplayMessage().c_str());
    if (!Run(cards, g_noisy.ascans, true)) return state.SkipWithError("replayed A-scans differ from the recorded ones");
  }
  zorix7sim::StopReplay();
}
BENCHMARK(BM_Replay)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// Keeps the mean time of the read and the replay for the last line.

}  // namespace

int main(int argc, char** argv) {
  RunBenchmarks(argc, argv, [](const BenchmarkRun& run) {
    if (run.run_type != BenchmarkRun::RT_Iteration || run.error_occurred) return;
    const double seconds = run.GetAdjustedRealTime() / 1e3;  // reported in milliseconds
    if (run.run_name.function_name == "BM_ReadSession") g_readSeconds = seconds;
    if (run.run_name.function_name == "BM_Replay") g_replaySeconds = seconds;
  });
  for (const Bench* b : {&g_noisy, &g_repeating}) std::filesystem::remove(b->path);
  std::printf("Sitzung/getragene Bytes: %s %.3f (Ziel <= 0.5), %s %.4f (Ziel <= 0.05); "
              "Wiedergabe/Lesen der Datei: %.2f (Ziel >= 0.5)\n",
              g_noisy.name, g_noisy.fileBytes / g_noisy.carried, g_repeating.name,
              g_repeating.fileBytes / g_repeating.carried, g_replaySeconds > 0 ? g_readSeconds / g_replaySeconds : 0.0);
  return 0;
}
