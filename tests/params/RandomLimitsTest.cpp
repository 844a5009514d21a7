#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "params/RandomLimits.h"

namespace {

RandomLimits Defaults() {
  RandomLimits l;
  SetRandomLimitDefaults(l);
  return l;
}

// The block a caller has built; its undrawn fields must survive the draw.
ParamBlock Built() {
  ParameterSet p;
  p.TaTablePointer = p.TaTable;
  p.Ausblenden = 0x5A;
  return MakeParamBlock(p, 3);
}

TEST(RandomDraw, DefaultsKeepFaktorWithinTheRecordAndPositionsOnTheirMask) {
  const RandomLimits l = Defaults();
  const ParamBlock before = Built();
  std::srand(1);
  for (int i = 0; i < 2000; ++i) {
    ParamBlock b = before;
    DrawRandomParamBlock(l, b);
    const WORD mask = RandomPositionMask(b.Samplerate);
    ASSERT_LE(b.Samplerate, 4);
    ASSERT_LE(b.Faktor, b.Aufnahmelaenge);
    ASSERT_EQ(b.ASCAN, b.Faktor != 0 ? 1 : 0);
    ASSERT_EQ(b.Aufnahmelaenge & ~mask, 0);
    ASSERT_EQ(b.Aufnahmedelay & ~DWORD{mask}, 0u);
    for (int k = 0; k < 5; ++k) {
      ASSERT_EQ(b.Gate[k].start & ~DWORD{mask}, 0u);
      ASSERT_LE(b.Gate[k].start, 6000u);
      ASSERT_GE(b.Gate[k].end - b.Gate[k].start, 96u);  // a width of 100 masked
      ASSERT_EQ(b.Gate[k].threshold, before.Gate[k].threshold);
      ASSERT_EQ(b.GateEnable[k], before.GateEnable[k]);
    }
    ASSERT_EQ(b.TaTablePointer, before.TaTablePointer);
    ASSERT_EQ(b.StartMode, 3);
    ASSERT_EQ(b.Ausblenden, 0x5A);
  }
}

// max - min + 1 of the full 32-bit range must not wrap to a modulus of 0.
TEST(RandomDraw, FullThirtyTwoBitRangeDoesNotOverflow) {
  RandomLimits l = Defaults();
  l.max.IFF = 0xFFFFFFFF;
  std::srand(7);
  bool nonzero = false;
  for (int i = 0; i < 20; ++i) {
    ParamBlock b = Built();
    DrawRandomParamBlock(l, b);
    ASSERT_LE(b.IFF, 0xFFFFu) << "the position mask keeps 16 bits";
    nonzero |= b.IFF != 0;
  }
  EXPECT_TRUE(nonzero);
}

TEST(RandomDraw, MasksEqualAndCrossedLimitsAndTheGateEndClamp) {
  RandomLimits l = Defaults();
  l.min.Aufnahmelaenge = l.max.Aufnahmelaenge = 12345;
  const std::pair<BYTE, WORD> masks[] = {{0, 0xFFF8}, {5, 0xFFF8}, {1, 0xFFFC}, {6, 0xFFFC}, {2, 0xFFFE},
                                         {7, 0xFFFE}, {3, 0xFFFF}, {4, 0xFFF0}, {8, 0xFFF0}, {200, 0xFFF0}};
  for (auto [code, mask] : masks) {
    l.min.Samplerate = l.max.Samplerate = code;
    ParamBlock b = Built();
    DrawRandomParamBlock(l, b);
    EXPECT_EQ(b.Samplerate, code);
    EXPECT_EQ(b.Aufnahmelaenge, 12345 & mask) << int(code);
  }

  // Start 65000 and width 1000 end beyond 16 bits: the end becomes the mask value.
  l.min.Samplerate = l.max.Samplerate = 0;
  l.min.Gates.gate[2].start = l.max.Gates.gate[2].start = 65000;
  l.min.Gates.gate[2].end = l.max.Gates.gate[2].end = 1000;
  ParamBlock b = Built();
  DrawRandomParamBlock(l, b);
  EXPECT_EQ(b.Gate[2].start, 65000u);
  EXPECT_EQ(b.Gate[2].end, 0xFFF8u);

  // A minimum above its maximum counts as the minimum alone, for every kind of field.
  l.min.Average = 9;
  l.max.Average = 2;
  l.min.IFF = 0x12345678;
  l.max.IFF = 5;
  l.min.Senderdaempfung = 3;
  l.max.Senderdaempfung = 1;
  l.min.Filter = 200;
  l.max.Filter = 255;
  l.min.Faktor = 9;
  l.max.Faktor = 0;
  for (int i = 0; i < 50; ++i) {
    b = Built();
    DrawRandomParamBlock(l, b);
    EXPECT_EQ(b.Average, 9);
    EXPECT_EQ(b.IFF, 0x5678u & 0xFFF8u);
    EXPECT_EQ(b.Senderdaempfung, 3);
    EXPECT_GE(b.Filter, 200);
    EXPECT_EQ(b.Faktor, 9);
  }
}

TEST(RandomDraw, EveryRunDrawsTheSameSequence) {
  // A program run starts as after srand(1); the draw never seeds.
  const RandomLimits l = Defaults();
  auto run = [&] {
    std::srand(1);
    std::vector<ParamBlock> blocks(5, Built());
    for (ParamBlock& b : blocks) DrawRandomParamBlock(l, b);
    return blocks;
  };
  auto first = run(), second = run();
  EXPECT_EQ(std::memcmp(first.data(), second.data(), first.size() * sizeof(ParamBlock)), 0);
  EXPECT_NE(std::memcmp(&first[0], &first[1], sizeof(ParamBlock)), 0);
}

}  // namespace
