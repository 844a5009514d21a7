#include <gmock/gmock.h>

#include <cstring>

#include "params/ParameterSet.h"
#include "sim/CardModel.h"
#include "sim/Zorix7Sim.h"

namespace {
uint32_t U32(const ParamBlock& b, size_t off) {
  uint32_t v;
  std::memcpy(&v, reinterpret_cast<const BYTE*>(&b) + off, 4);
  return v;
}
uint16_t U16(const ParamBlock& b, size_t off) {
  uint16_t v;
  std::memcpy(&v, reinterpret_cast<const BYTE*>(&b) + off, 2);
  return v;
}
BYTE U8(const ParamBlock& b, size_t off) { return reinterpret_cast<const BYTE*>(&b)[off]; }

ParameterSet NonDefaultSet() {
  ParameterSet p;
  p.IFF = 0x11223344;
  p.TaLastIndex = 9;
  p.TaTablePointer = p.TaTable;
  p.b8Bit = TRUE;
  p.Average = 3;
  p.Samplerate = 6;
  p.Start = 0;
  p.PKVorlauf = 0x0102;
  p.Aufnahmelaenge = 0x0304;
  p.Aufnahmedelay = 0x05060708;
  p.ASCAN = TRUE;
  p.Faktor = 0x21;
  p.Gleichrichtung = 2;
  p.ExternerTrigger = TRUE;
  p.Triggereingangsmode = 3;
  p.Triggerausgangsmode = 6;
  p.Ausblenden = 0x44;
  p.TAVerzoegerung = 0x0A0B;
  p.TAAbstand = 0x0C0D;
  p.Sendersperre = TRUE;
  p.Sendeimpulsbreite = 7;
  p.Sendeenergie = 2;
  p.SEMode = TRUE;
  p.Senderdaempfung = 0x55;
  p.Eingangsdaempfung = 0x66;
  p.Filter = 0x77;
  p.Verstaerkung = 0x0888;
  for (int k = 0; k < 5; ++k) {
    p.Gates.gate[k] = {0x1000u + k, 0x2000u + k, static_cast<WORD>(0x300 + k)};
    p.Gates.enable[k] = k % 2;
  }
  return p;
}

TEST(ParamBlockBytes, EveryOffsetCarriesItsField) {
  ParameterSet p = NonDefaultSet();
  ParamBlock b = MakeParamBlock(p, 4);
  EXPECT_EQ(U32(b, 0), 0x11223344u);
  EXPECT_EQ(U8(b, 4), 9);
  EXPECT_NE(U32(b, 8), 0u);
  EXPECT_EQ(U32(b, 12), 1u);
  EXPECT_EQ(U8(b, 16), 3);
  EXPECT_EQ(U8(b, 17), 6);
  EXPECT_EQ(U8(b, 18), 4);
  EXPECT_EQ(U16(b, 20), 0x0102);
  EXPECT_EQ(U16(b, 22), 0x0304);
  EXPECT_EQ(U32(b, 24), 0x05060708u);
  EXPECT_EQ(U32(b, 28), 1u);
  EXPECT_EQ(U8(b, 32), 0x21);
  EXPECT_EQ(U8(b, 33), 2);
  EXPECT_EQ(U32(b, 36), 1u);
  EXPECT_EQ(U8(b, 40), 3);
  EXPECT_EQ(U8(b, 41), 6);
  EXPECT_EQ(U8(b, 42), 0x44);
  EXPECT_EQ(U16(b, 44), 0x0A0B);
  EXPECT_EQ(U16(b, 46), 0x0C0D);
  EXPECT_EQ(U32(b, 48), 1u);
  EXPECT_EQ(U8(b, 52), 7);
  EXPECT_EQ(U8(b, 53), 2);
  EXPECT_EQ(U32(b, 56), 1u);
  EXPECT_EQ(U8(b, 60), 0x55);
  EXPECT_EQ(U8(b, 61), 0x66);
  EXPECT_EQ(U8(b, 62), 0x77);
  EXPECT_EQ(U16(b, 64), 0x0888);
  for (int k = 0; k < 5; ++k) {
    EXPECT_EQ(U32(b, 68 + 12 * k), 0x1000u + k);
    EXPECT_EQ(U32(b, 72 + 12 * k), 0x2000u + k);
    EXPECT_EQ(U16(b, 76 + 12 * k), 0x300 + k);
    EXPECT_EQ(U16(b, 78 + 12 * k), 0);
    EXPECT_EQ(U32(b, 128 + 4 * k), static_cast<uint32_t>(k % 2));
  }
  // Padding is zero so that two blocks of equal sets compare equal byte for byte.
  for (size_t off : {5u, 6u, 7u, 19u, 34u, 35u, 43u, 54u, 55u, 63u, 66u, 67u}) EXPECT_EQ(U8(b, off), 0) << off;
}

TEST(ParamBlockBytes, StartModeIsNeverTheRecordsStartAndTableOffSendsZero) {
  ParameterSet p;
  p.Start = 0;
  ParamBlock b = MakeParamBlock(p);
  EXPECT_EQ(U8(b, 18), 1);
  EXPECT_EQ(U32(b, 8), 0u);
}

TEST(ParameterSetCopy, TablePointerFollowsTheCopyNotItsSource) {
  ParameterSet a;
  a.TaTablePointer = a.TaTable;
  a.TaTable[3] = 42;
  ParameterSet b = a;
  EXPECT_EQ(b.TaTablePointer, b.TaTable);
  EXPECT_EQ(b.TaTablePointer[3], 42);
  ParameterSet c;
  c = ParameterSet();
  EXPECT_EQ(c.TaTablePointer, nullptr);
}

TEST(PrepareSet, SendsTheBlockAsSetZeroWithStartModeOne) {
  zorix7sim::Reset();
  ASSERT_TRUE(zorix7sim::LoadBenchText("[Card 1]\nBus=1\nSlot=1\n"));
  HZORIX7 h = ZORIX7Open(1);
  ParameterSet p = NonDefaultSet();
  DWORD error = 0;
  EXPECT_TRUE(PrepareSetOnCard(p, h, &error));
  const ParamBlock& got = zorix7sim::Card(1)->sets[0].block;
  EXPECT_EQ(got.StartMode, 1);
  EXPECT_EQ(got.Aufnahmelaenge, 0x0304);
  zorix7sim::AddFault({"PrepAllGatesParam", 1, 0, 0x77});
  EXPECT_FALSE(PrepareSetOnCard(p, h, &error));
  EXPECT_EQ(error, 0x77u);
  zorix7sim::Reset();
}
}  // namespace
