#include <gtest/gtest.h>

#include <random>

#include "measure/BufferBuilder.h"
#include "measure/MeasureData.h"

using namespace measure;
using measure::test::Buf;

namespace {

// The packing rule written out step by step, as the reference for the fast unpacker.
std::vector<int16_t> unpackReference(const std::vector<uint16_t>& w, size_t maxSamples) {
  std::vector<int16_t> s;
  auto at = [&](size_t i) -> unsigned { return w[i]; };
  for (size_t i = 0; i < w.size() && s.size() < maxSamples; i += 3) {
    s.push_back(static_cast<int16_t>((at(i) << 4) & 0xFFFF));
    if (i + 1 >= w.size() || s.size() == maxSamples) break;
    s.push_back(static_cast<int16_t>(((at(i + 1) << 8) & 0xFF00) | ((at(i) >> 8) & 0x00F0)));
    if (i + 2 >= w.size() || s.size() == maxSamples) break;
    s.push_back(static_cast<int16_t>(((at(i + 2) << 12) & 0xF000) | ((at(i + 1) >> 4) & 0x0FF0)));
    if (s.size() == maxSamples) break;
    s.push_back(static_cast<int16_t>(at(i + 2) & 0xFFF0));
  }
  return s;
}

std::vector<int16_t> unpack(const std::vector<uint16_t>& w, size_t maxSamples) {
  Buf b;
  for (uint16_t x : w) b.u16(x);
  std::vector<uint8_t> exact(b.b);  // exact size, so ASan sees any over-read
  std::vector<int16_t> out(maxSamples + 4, 0x5555);
  size_t n = unpackPacked12(exact.data(), w.size(), out.data(), maxSamples);
  EXPECT_EQ(out[n], 0x5555) << "wrote past the samples it reported";
  out.resize(n);
  return out;
}

}  // namespace

TEST(PackedSamples, IncompleteLastGroupKeepsOnlySamplesWithAllTheirWords) {
  EXPECT_EQ(unpack({}, kMaxSamples).size(), 0u);
  EXPECT_EQ(unpack({0x0ABC}, kMaxSamples), (std::vector<int16_t>{static_cast<int16_t>(0xABC0)}));
  auto two = unpack({0x0ABC, 0x3DEF}, kMaxSamples);
  ASSERT_EQ(two.size(), 2u);
  EXPECT_EQ(static_cast<uint16_t>(two[1]), 0xEF00);
  EXPECT_EQ(packedSampleCount(4), 5u);
  EXPECT_EQ(packedSampleCount(5), 6u);
}

TEST(PackedSamples, FastPathMatchesTheRuleForEveryLengthAndCut) {
  std::mt19937 rng(7);
  for (size_t words : {3u, 4u, 5u, 6u, 7u, 8u, 29u, 30u, 31u, 300u}) {
    std::vector<uint16_t> w(words);
    for (auto& x : w) x = static_cast<uint16_t>(rng());
    for (size_t cut : {size_t{1}, size_t{3}, size_t{5}, size_t{6}, kMaxSamples})
      EXPECT_EQ(unpack(w, cut), unpackReference(w, cut)) << words << " words, cut " << cut;
  }
}

TEST(PackedSamples, FullBufferIsCutTo65536Samples) {
  std::vector<uint16_t> w(kDataBufferBytes / 2, 0x1234);  // 65536 words = 87381 samples
  auto s = unpack(w, kMaxSamples);
  EXPECT_EQ(s.size(), kMaxSamples);
  EXPECT_EQ(s, unpackReference(w, kMaxSamples));
}

TEST(SampleScale, AdcCountAndPercentAtTheLimits) {
  EXPECT_EQ(adcCount(0x7FC0), 511);
  EXPECT_NEAR(percentOfFullScale(0x7FC0), 99.8, 0.05);
  EXPECT_EQ(adcCount(static_cast<int16_t>(0x8000)), -512);
  EXPECT_DOUBLE_EQ(percentOfFullScale(static_cast<int16_t>(0x8000)), -100.0);
  EXPECT_EQ(adcCount(-63), 0);  // truncates toward zero, not down
  EXPECT_EQ(adcCount(-64), -1);
  EXPECT_DOUBLE_EQ(percentOfFullScale8(-128), -100.0);
}

TEST(SampleScale, TimeTableUsesLowThreeBitsAndFastCodesAbove3) {
  EXPECT_DOUBLE_EQ(sampleTimeMicroseconds(0), 0.0125);
  EXPECT_DOUBLE_EQ(sampleTimeMicroseconds(3), 0.1);
  for (uint8_t i : {4, 5, 6, 7}) EXPECT_DOUBLE_EQ(sampleTimeMicroseconds(i), 0.00625);
  EXPECT_DOUBLE_EQ(sampleTimeMicroseconds(0xF8), 0.0125);
}

TEST(Records, BlockHeaderHas24BitLengthAndSignedKennung) {
  Buf b;
  b.header(0x14, 0xABCDEF, -2);
  BlockHeader h = readBlockHeader(ByteView(b.data(), b.size()));
  EXPECT_EQ(h.type, 0x14);
  EXPECT_EQ(h.length, 0xABCDEFu);
  EXPECT_EQ(h.kennung, -2);
}

TEST(Records, CompactRecordJoinsTwentyBitFields) {
  Buf b;
  b.words({0x0001, 0xFFF5});              // d: high bits beyond bit 3 ignored
  b.words({0x1234, 0x0037 | (1023 << 6)});  // gate 0: t high 7, marker, present, v 1023
  b.words({0xFFFF, 0x000F});              // gate 1: not present
  b.zeros(12);
  CompactGateRecord r = readCompactGateRecord(ByteView(b.data(), b.size()), 0);
  EXPECT_EQ(r.d, 327681u);
  EXPECT_EQ(r.gate[0].time, 0x71234u);
  EXPECT_TRUE(r.gate[0].marker);
  EXPECT_TRUE(r.gate[0].present);
  EXPECT_EQ(r.gate[0].value, 1023);
  EXPECT_FALSE(r.gate[1].present);
  EXPECT_EQ(r.gate[1].time, 0xFFFFFu);
}

TEST(Records, GateReadoutFromBytes) {
  Buf b;
  b.u32(static_cast<uint32_t>(-5)).u32(0);
  for (int k = 0; k < 5; ++k) b.u32(static_cast<uint32_t>(100 * k - 1)).u16(400).u16(0).u32(k == 3);
  ASSERT_EQ(b.size(), kGateReadoutBytes);
  GateReadout r = readGateReadout(ByteView(b.data(), b.size()));
  EXPECT_EQ(r.d, -5);
  EXPECT_EQ(r.gate[0].t, -1);
  EXPECT_EQ(r.gate[4].t, 399);
  EXPECT_EQ(r.gate[2].amplitudeRaw, 400);
  EXPECT_EQ(r.gate[3].marker, 1u);
  EXPECT_EQ(r.gate[2].marker, 0u);
}

// The texts of the control words are pinned in the result listing (ResultTextTest).
TEST(ControlWords, RecognitionNeedsAllFourBytes) {
  Buf b;
  b.u32(0xFFFF0000).u16(0xFFFF);
  ByteView v(b.data(), b.size());
  EXPECT_TRUE(isControlWordAt(v, 0));
  EXPECT_FALSE(isControlWordAt(v, 3)) << "only three bytes left: no control word";
}
