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

TEST(RandomDraw, FieldsAreDrawnInTheirOrderFromRand) {
  RandomLimits l;
  l.min.Aufnahmelaenge = l.min.Verstaerkung = 0;  // record defaults otherwise
  l.min.Samplerate = l.max.Samplerate = 3;        // no bits masked
  l.max.Average = 200;
  l.max.IFF = 0xFFFFFFFF;  // the full 32-bit range must not overflow the modulus
  l.max.PKVorlauf = l.max.Aufnahmelaenge = 60000;
  l.max.Aufnahmedelay = 50000;
  l.max.Faktor = 250;
  l.max.Gleichrichtung = l.max.Sendeimpulsbreite = l.max.Sendeenergie = 255;
  l.max.Verstaerkung = 65535;
  l.max.Senderdaempfung = l.max.Eingangsdaempfung = 1;
  l.min.Filter = 0;
  l.max.Filter = 255;
  for (int k = 0; k < 5; ++k) {
    l.min.Gates.gate[k] = {0, 0, 0};
    l.max.Gates.gate[k] = {30000u + k, 40000u + k, 0};
  }
  std::srand(7);
  std::vector<unsigned> r(24);
  for (unsigned& x : r) x = static_cast<unsigned>(std::rand());
  std::srand(7);
  ParamBlock b = Built();
  DrawRandomParamBlock(l, b);
  EXPECT_EQ(b.Average, r[0] % 201);
  EXPECT_EQ(b.Samplerate, 3);
  EXPECT_EQ(b.IFF, r[2] & 0xFFFF);
  EXPECT_EQ(b.PKVorlauf, r[3] % 60001);
  EXPECT_EQ(b.Aufnahmelaenge, r[4] % 60001);
  EXPECT_EQ(b.Aufnahmedelay, r[5] % 50001);
  const unsigned faktor = r[6] % 251;
  EXPECT_EQ(b.Faktor, b.Aufnahmelaenge < faktor ? (b.Aufnahmelaenge & 0xFF) : faktor);
  EXPECT_EQ(b.Gleichrichtung, r[7] % 256);
  EXPECT_EQ(b.Sendeimpulsbreite, r[8] % 256);
  EXPECT_EQ(b.Sendeenergie, r[9] % 256);
  EXPECT_EQ(b.Verstaerkung, r[10] % 65536);
  EXPECT_EQ(b.Senderdaempfung, r[11] & 1);
  EXPECT_EQ(b.Eingangsdaempfung, r[12] & 1);
  EXPECT_EQ(b.Filter, r[13] % 256);
  for (unsigned k = 0; k < 5; ++k) {
    const unsigned start = r[14 + 2 * k] % (30001 + k), width = r[15 + 2 * k] % (40001 + k);
    EXPECT_EQ(b.Gate[k].start, start);
    EXPECT_EQ(b.Gate[k].end, start + width > 0xFFFF ? 0xFFFFu : start + width);
  }
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
