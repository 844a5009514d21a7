// Every decoder on truncated, oversized and random buffers: no read outside the bytes
// given (each buffer is an exact-size heap block, so ASan reports any), no endless loop.
#include <gtest/gtest.h>

#include <random>

#include "measure/AscanCheck.h"
#include "measure/AscanGeometry.h"
#include "measure/BlockResultCheck.h"
#include "measure/BufferBuilder.h"
#include "measure/DataListText.h"
#include "measure/ResultText.h"

using namespace measure;
using measure::test::Buf;

namespace {

void decodeAll(const std::vector<uint8_t>& bytes) {
  std::unique_ptr<uint8_t[]> exact(bytes.empty() ? nullptr : new uint8_t[bytes.size()]);
  if (!bytes.empty()) std::copy(bytes.begin(), bytes.end(), exact.get());
  const uint8_t* d = exact.get();
  const size_t n = bytes.size();
  ActiveSetFlags all{};
  for (auto& f : all.flag) f = TRUE;
  headedResultLines(d, n);
  plainResultLines(d, n, all);
  for (bool headed : {false, true})
    for (bool eight : {false, true}) dataListLines(d, n, headed, eight, 0xFF);
  AscanHeaderCheck c = checkAscanHeader(d, n, 1);
  AscanSamples s = c.ok ? headedAscanSamples(d, n, c) : plainAscanSamples(d, n, false);
  PlotGeometry g = plotGeometry(700, 300);
  traceColumns(g, s.values.data(), s.values.size(), s.eightBit);
  int16_t ident[8] = {0, 1, 2, 3, 4, 5, 6, 7};
  GateLimits limits[8] = {};
  checkBlockResults(d, n, 0, ident, limits);
}

}  // namespace

TEST(Robustness, TruncatedRecordsPrefixesAtTheEndAndHugeLengths) {
  Buf full;
  full.stamp(3).gateRecord(1).u32(0xFFFFEFFF).stamp(4);
  for (size_t cut = 0; cut <= full.size(); ++cut)
    decodeAll(std::vector<uint8_t>(full.b.begin(), full.b.begin() + cut));

  for (uint8_t type : {0x10, 0x14, 0x40, 0x60}) {
    Buf huge;
    huge.header(type, 0xFFFFFF, 1).words({1, 2, 3});
    decodeAll(huge.b);
    Buf tiny;
    tiny.stamp(1).header(type, 2, 1);
    decodeAll(tiny.b);
  }
  decodeAll({0xFF});
}

TEST(Robustness, TruncatedRecordsEndTheListing) {
  Buf b;
  b.gateRecord(1).u32(0xFFFFEFFF).stamp(2);
  EXPECT_EQ(headedResultLines(b.data(), b.size()).size(), 4u) << "a prefix with nothing behind";
  b.gateRecord(2);
  b.b.resize(b.size() - 1);
  EXPECT_EQ(headedResultLines(b.data(), b.size()).size(), 4u) << "a record one byte short";
}

TEST(Robustness, RandomAndFullSizeBuffers) {
  std::mt19937 rng(3);
  for (int round = 0; round < 200; ++round) {
    std::vector<uint8_t> b(rng() % 600);
    for (auto& x : b) x = static_cast<uint8_t>(rng());
    if (!b.empty() && round % 2) b[0] = 0x40;
    decodeAll(b);
  }
  // A full buffer of packed samples: the listing is cut to 65536 samples.
  Buf packed;
  packed.header(0x10, 0x20000, 1);
  packed.zeros(0x20000 - 6);
  auto lines = dataListLines(packed.data(), packed.size(), true, false, 0);
  EXPECT_EQ(lines.size(), 3u + 65536u);
  decodeAll(packed.b);
  decodeAll(std::vector<uint8_t>(0x20000, 0xFF));
}
