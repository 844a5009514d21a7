#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "params/ParamEditor.h"

using namespace params;

namespace {

ParameterSet RoundTrip(const ParameterSet& in, bool zorix7F = true) {
  ParameterSet out = in;
  StoreEditorValues(EditorValuesFromSet(in, zorix7F, 0), out, zorix7F);
  return out;
}

TEST(ParamEditor, SampleRateCodesAndUnchangedSetsReadBackUnchanged) {
  ParameterSet p;
  p.Samplerate = 6;
  EditorValues v = EditorValuesFromSet(p, true, 0);
  EXPECT_EQ(v.rate, 1);  // "40 (2.50) MHz"
  EXPECT_TRUE(v.takt16);
  for (BYTE code : {0, 1, 2, 3, 4, 5, 6, 7, 8}) {
    p.Samplerate = code;
    EXPECT_EQ(RoundTrip(p).Samplerate, code);
  }
  p.Samplerate = 9;  // the virtual 160 MHz, without "Takt/16"
  EXPECT_EQ(RoundTrip(p).Samplerate, 4);

  // Every field the editor shows comes back as it was.
  ParameterSet q;
  q.IFF = 123456, q.Start = 5, q.PKVorlauf = 24, q.Aufnahmedelay = 100000, q.ESBTime = 70000;
  q.ASCAN = TRUE, q.Faktor = 7, q.Gleichrichtung = 3, q.Triggereingangsmode = 3, q.Triggerausgangsmode = 6;
  q.Sendeimpulsbreite = 7, q.Sendeenergie = 2, q.Verstaerkung = 205, q.ESBLevel = 120;
  q.Gates.enable[0] = q.TriggerExtern = q.b8Bit = q.SEMode = q.ESBrelativ = TRUE;
  ParameterSet r = RoundTrip(q);
  const ParamBlock rb = MakeParamBlock(r), qb = MakeParamBlock(q);
  EXPECT_EQ(std::memcmp(&rb, &qb, sizeof rb), 0);
  EXPECT_EQ(r.Start, 5);
  EXPECT_TRUE(r.ESBLevel == 120 && r.ESBTime == 70000 && r.ESBrelativ && r.TriggerExtern);
  EXPECT_EQ(RoundTrip(q, false).Start, 1);  // no gate measurement without a ZORIX7F
}

TEST(ParamEditor, GainLevelAndAScanTakeTheirFieldWidths) {
  ParameterSet p;
  EditorValues v = EditorValuesFromSet(p, true, 0);
  v.verstaerkung = 20.5;
  v.esbLevel = 7;  // shown for 30: the remainder is dropped
  v.ascan = 256;   // low 8 bits go to Faktor, but A-scans stay on
  StoreEditorValues(v, p, true);
  EXPECT_EQ(p.Verstaerkung, 205);
  EXPECT_EQ(p.ESBLevel, 28);
  EXPECT_EQ(p.Faktor, 0);
  EXPECT_TRUE(p.ASCAN);
  EXPECT_EQ(EditorValuesFromSet(p, true, 0).esbLevel, 7u);
  v.esbLevel = 20000;  // x 4 in 16 bits
  v.verstaerkung = 1e9;
  v.pos.vorlauf = -5;
  v.pos.aufnahme = NAN;
  v.pos.delay = 1e12;
  StoreEditorValues(v, p, true);
  EXPECT_EQ(p.ESBLevel, static_cast<WORD>(80000));
  EXPECT_EQ(p.Verstaerkung, 65535);
  EXPECT_EQ(p.PKVorlauf, 0);
  EXPECT_EQ(p.Aufnahmelaenge, 0);
  EXPECT_EQ(p.Aufnahmedelay, 0xFFFFFFFFu);
}

TEST(ParamEditor, DepthCompensationEnableReachesTheBlock) {
  ParameterSet p;
  EditorValues v = EditorValuesFromSet(p, true, 0);
  EXPECT_FALSE(v.taEnable);
  EXPECT_EQ(v.stuetzstellen, 2u);
  v.taEnable = TRUE;
  v.stuetzstellen = 12;
  v.pos.taDelay = 16.9;
  v.pos.taAbstand = 40;
  StoreEditorValues(v, p, true);
  EXPECT_EQ(p.TaTablePointer, p.TaTable);
  EXPECT_EQ(p.TaLastIndex, 11);
  EXPECT_EQ(p.TAVerzoegerung, 16);
  ParamBlock on = MakeParamBlock(p);
  EXPECT_NE(on.TaTablePointer, 0u);
  EXPECT_EQ(on.TaLastIndex, 11);
  EXPECT_EQ(on.TAAbstand, 40);

  v = EditorValuesFromSet(p, true, 0);
  EXPECT_TRUE(v.taEnable);
  v.taEnable = FALSE;
  v.pos.taAbstand = 999;  // not taken over while off
  StoreEditorValues(v, p, true);
  EXPECT_EQ(p.TaTablePointer, nullptr);
  EXPECT_EQ(MakeParamBlock(p).TaTablePointer, 0u);
  EXPECT_EQ(p.TAAbstand, 40);
}

TEST(ParamEditor, UnitsShowTimesAndLengthsAndComeBackAsSamples) {
  EditorPositions p;
  p.aufnahme = 1600;
  p.taAbstand = 40;
  p.esbTime = 200;
  EditorScale s{SampleRateRowFor(1), DisplayUnit::Samples, 1};
  double velocity = 5920;
  ChooseUnit(p, s, DisplayUnit::Microseconds, velocity);
  EXPECT_DOUBLE_EQ(p.aufnahme, 40);
  EXPECT_DOUBLE_EQ(p.taAbstand, 0.5);  // TA step 0.0125 us
  EXPECT_DOUBLE_EQ(p.esbTime, 5);
  ChooseUnit(p, s, DisplayUnit::Millimetres, velocity);
  EXPECT_NEAR(p.aufnahme, 118.4, 1e-9);
  p.aufnahme = 59.2;  // typed in mm: 20 us, 800 samples
  EditorPositions back = p;
  ToSamples(back, s);
  EXPECT_DOUBLE_EQ(back.aufnahme, 800);
  EXPECT_DOUBLE_EQ(back.taAbstand, 40);
  ChooseUnit(p, s, DisplayUnit::Samples, velocity);
  EXPECT_DOUBLE_EQ(p.aufnahme, 800);
  EXPECT_DOUBLE_EQ(s.factor, 1);

  // A velocity that is no positive number counts as the default.
  velocity = 0;
  ChooseUnit(p, s, DisplayUnit::Millimetres, velocity);
  EXPECT_EQ(velocity, kDefaultVelocity);
  EXPECT_TRUE(std::isfinite(p.aufnahme));
}

TEST(ParamEditor, GridOfPositionsInBothDirections) {
  EditorPositions p;
  p.vorlauf = 13;
  p.aufnahme = 11;
  p.delay = 12;  // a tie goes up
  p.esbTime = 12.5;
  p.esbDelay = 12.4;
  EditorScale s{SampleRateRowFor(0), DisplayUnit::Samples, 1};
  double velocity = 5920;
  ChooseUnit(p, s, DisplayUnit::Samples, velocity);
  EXPECT_EQ(p.vorlauf, 16);
  EXPECT_EQ(p.aufnahme, 8);
  EXPECT_EQ(p.delay, 16);
  EXPECT_EQ(p.esbTime, 13);
  EXPECT_EQ(p.esbDelay, 12);

  // A sample-rate click puts them on the grid the same way (AnzeigeVorgabenDlgTest).

  // 40 -> 80 MHz: the spacing keeps its time in sample periods, then the new divisor applies.
  EditorPositions q;
  q.taAbstand = 40;
  q.vorlauf = 13;
  EditorScale s40{SampleRateRowFor(1), DisplayUnit::Samples, 1};
  ChooseSampleRate(q, s40, 0);
  EXPECT_EQ(q.taAbstand, 80);
  EXPECT_EQ(q.vorlauf, 16);
  EXPECT_EQ(s40.row.divisor, 8u);
  ChooseSampleRate(q, s40, 2);  // 20 MHz: divisor 2
  EXPECT_EQ(q.taAbstand, 20);
  EXPECT_EQ(q.vorlauf, 16);

  // In "µs" a sample-rate click works on the sample counts and shows them again.
  EditorPositions t;
  t.aufnahme = 1600;
  EditorScale su{SampleRateRowFor(1), DisplayUnit::Samples, 1};
  ChooseUnit(t, su, DisplayUnit::Microseconds, velocity);
  ChooseSampleRate(t, su, 0);
  EXPECT_DOUBLE_EQ(t.aufnahme, 20);  // 1600 samples of 12.5 ns
}

}  // namespace
