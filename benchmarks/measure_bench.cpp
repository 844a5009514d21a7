// Decoders over a full 0x20000-byte card buffer, each against memcpy of the same bytes:
// compare the bytes_per_second columns.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "measure/BlockResultCheck.h"
#include "measure/DataListText.h"
#include "measure/MeasureData.h"

using namespace measure;

namespace {

constexpr size_t kBytes = kDataBufferBytes;

std::vector<uint8_t> randomBytes() {
  std::vector<uint8_t> b(kBytes);
  std::mt19937 rng(1);
  for (auto& x : b) x = static_cast<uint8_t>(rng());
  return b;
}

void put16(std::vector<uint8_t>& b, size_t o, uint16_t v) {
  b[o] = static_cast<uint8_t>(v);
  b[o + 1] = static_cast<uint8_t>(v >> 8);
}

// GateRecords of sets 1..7 in turn, each followed by an end-of-cycle control word, all
// slots present and inside their limits.
std::vector<uint8_t> gateRecordBuffer(int16_t ident[8], GateLimits limits[8]) {
  for (int s = 0; s < 8; ++s) {
    ident[s] = static_cast<int16_t>(100 + s);
    for (int k = 0; k < 5; ++k) limits[s].start[k] = 10, limits[s].end[k] = 2000, limits[s].enable[k] = 1;
  }
  std::vector<uint8_t> b(kBytes, 0);
  size_t pos = 0;
  for (int n = 0; pos + 60 <= kBytes; ++n, pos += 60) {
    put16(b, pos, 0x40 | (56 << 8));
    put16(b, pos + 4, static_cast<uint16_t>(100 + 1 + n % 7));
    for (int k = 0; k < 5; ++k) {
      size_t o = pos + 8 + 8 * k;
      put16(b, o, 400);
      put16(b, o + 4, static_cast<uint16_t>(100 + 20 * k + n % 50));
      put16(b, o + 6, 0x8000);
    }
    put16(b, pos + 56, 0xEFFF);
    put16(b, pos + 58, 0xFFFF);
  }
  return b;
}

void BM_Memcpy(benchmark::State& state) {
  auto src = randomBytes();
  std::vector<uint8_t> dst(kBytes);
  for (auto _ : state) {
    std::memcpy(dst.data(), src.data(), kBytes);
    benchmark::DoNotOptimize(dst.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBytes));
}
BENCHMARK(BM_Memcpy);

// The whole buffer as packed words (no 65536-sample cut) so that every input byte is read.
void BM_Unpack12(benchmark::State& state) {
  auto src = randomBytes();
  const size_t words = kBytes / 2;
  std::vector<int16_t> out(packedSampleCount(words));
  for (auto _ : state) {
    size_t n = unpackPacked12(src.data(), words, out.data(), out.size());
    benchmark::DoNotOptimize(n);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBytes));
}
BENCHMARK(BM_Unpack12);

void BM_BlockResultCheck(benchmark::State& state) {
  int16_t ident[8];
  GateLimits limits[8];
  auto buf = gateRecordBuffer(ident, limits);
  for (auto _ : state) {
    BlockCheckResult r = checkBlockResults(buf.data(), buf.size(), 0, ident, limits);
    if (r.status != BlockCheckStatus::Ok) state.SkipWithError("records should pass");
    benchmark::DoNotOptimize(r);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBytes));
}
BENCHMARK(BM_BlockResultCheck);

// Listing 65536 samples: how long the data list takes to fill.
void BM_DataList65536(benchmark::State& state) {
  auto src = randomBytes();
  for (auto _ : state) {
    auto lines = dataListLines(src.data(), src.size(), false, false, 0);
    benchmark::DoNotOptimize(lines.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBytes));
}
BENCHMARK(BM_DataList65536)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
