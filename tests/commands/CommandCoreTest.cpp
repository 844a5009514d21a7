// Parameter words, presets and gate units as plain functions.
#include <gtest/gtest.h>

#include "commands/CommandSet.h"
#include "commands/CommandWords.h"
#include "commands/GateEdit.h"

using namespace cmd;

TEST(CommandWords, PresetsAndCompositionsOfTheEdgeCases) {
  // The usual presets and words are pinned through the dialogs (ParamDialogs, CommandDlg).
  ShotFields shot = ShotPreset({{0x402, 0x0050}, {0x410, 0x808C}, {0x416, 0x4000}});
  EXPECT_EQ(shot.measurement, -1) << "3 in bits 2-3 selects no button";
  EXPECT_EQ(ComposeShot({2, 1, 4, true, true, true, true}), 0xF04Au);
  EXPECT_EQ(ComposeShot({-1, -1, -1}), 3u) << "neither A-Scan nor HF";

  EXPECT_EQ(SenderPreset({{0x428, 0x0600}}).pulseWidth, -1) << "pulse width 6 has no button";
  EXPECT_EQ(ComposeSender({0, -1, false}), 0x500u);

  EXPECT_EQ(ComposeTrigger({1, 3, false, 0x1F, 0})[1], 0x1F31u) << "gate masked to 4 bits";
  TriggerFields trigger = TriggerPreset({{0x410, 0x0A25}, {0x412, 0x5678}, {0x414, 0x1234}});
  EXPECT_EQ(trigger.mode, 1);
  EXPECT_EQ(trigger.output, 2);
  EXPECT_TRUE(trigger.external);
  EXPECT_EQ(trigger.triggerblende, 10u);
  EXPECT_EQ(trigger.maxSap, 0x12345678u);
  EXPECT_EQ(TriggerPreset({{0x410, 0x000C}}).mode, 0) << "3 in bits 2-3 is Master";

  EXPECT_EQ(ComposeCount({0x10000, 0, 7}), (std::array<DWORD, 2>{0x10000, 7})) << "added, not masked";
  CountFields count = CountPreset({{0x408, 0x0001}, {0x40A, 0x0001}, {0x40C, 0x03E8}, {0x40E, 0x0002}});
  EXPECT_EQ(count.vorlauf, 65537u);
  EXPECT_EQ(count.aufnahme, 0x203E8u);

  EXPECT_EQ(ComposeAScan({3, 2}), 0x200u) << "HF adds nothing";
  EXPECT_EQ(ComposeAScan({2, 1}), 0x103u);

  InputFields input = InputPreset({{0x406, 0x710E}});
  EXPECT_EQ(input.senderDaempfung, 2u);
  EXPECT_EQ(input.eingangsDaempfung, 3u);
  EXPECT_TRUE(input.se);
  EXPECT_EQ(FilterPreset({{0x406, 0x710E}}), 7u);
  EXPECT_EQ(ComposeInput({5, 6, true}), 0x109u);

  EXPECT_EQ(ComposeGain(0.9f), 0u);
  EXPECT_FALSE(ComposeGain(-1.0f));
  EXPECT_FALSE(ComposeGain(1e20f));
}

TEST(CommandSet, LinesAndTheAutomaticChain) {
  EXPECT_EQ(ReplyLine("Shot: ", true, 0), "Shot: OK");
  EXPECT_EQ(ReplyLine("Shot: ", false, 0xE00000FF), "Shot: Error E00000FF");
  EXPECT_EQ(ResetLine(0), "Reset Error");
  EXPECT_EQ(ResetLine(5), "Reset OK nach 50 ms");
  EXPECT_EQ(ResetLine(kResetPollLimit), "Reset OK nach 10000 ms");
  EXPECT_EQ(AdcText({38.5f, 5.02f, 4.97f, 148.0f, 5.01f, 2.5f}),
            "Temperatur = 38.50 °C\n\n Analogteil\n\n +5V = +5.02 V\n -5V  = -4.97 V\n HS  =  148 V\n\n"
            "Digitalteil\n\n -5V = -5.01 V\n\nADC-Referenz = 2.50 V");
}

TEST(GateEdit, UnitsRoundingAndStorage) {
  EXPECT_FLOAT_EQ(gates::TimingFor(3).samplePeriodUs, 0.1f);
  EXPECT_EQ(gates::TimingFor(0x15).granularity, 8) << "only the low 4 bits";
  EXPECT_EQ(gates::TimingFor(8).granularity, 1);
  for (BYTE code : {4, 9, 15}) EXPECT_EQ(gates::TimingFor(code).granularity, 16);

  // Units, the grid and thresholds round trip through the gates dialog (BlendenDlgTest).
  ParameterSet set;
  set.ESBLevel = 30;
  gates::GateEdit e = gates::LoadGateEdit(set);
  EXPECT_EQ(e.level, 7) << "30 / 4, remainder dropped";
  gates::StoreGateEdit(e, set);
  EXPECT_EQ(set.ESBLevel, 28);

  // The echo-start time goes to whole samples, not to the grid of 8.
  gates::GateEdit g;
  g.esbTime = 11.4f;
  gates::PositionsToUnit(g, 0.0125f);
  gates::PositionsToSamples(g, 0.0125f, 8);
  EXPECT_FLOAT_EQ(g.esbTime, 11);

  // Samples are stored truncated; nothing below 0 or beyond 32 bits.
  g.begin[3] = 13.9f, g.end[3] = -5, g.begin[4] = 1e12f;
  gates::StoreGateEdit(g, set);
  EXPECT_EQ(set.Gates.gate[3].start, 13u);
  EXPECT_EQ(set.Gates.gate[3].end, 0u);
  EXPECT_EQ(set.Gates.gate[4].start, 0xFFFFFFFFu);
}

TEST(GateEdit, ReadoutTexts) {
  GateReadout r{};
  r.d = 120;
  r.gate[0] = {250, 0x0190, 0, 1};
  r.gate[4] = {-3, 0x0003, 0, 0};
  gates::ReadoutTexts s = gates::ReadoutText(r, true, 0.1f);
  EXPECT_EQ(s.delay, "120");
  EXPECT_EQ(s.time[0], "250");
  EXPECT_EQ(s.maximum[0], "100^");
  EXPECT_EQ(s.time[4], "-3");
  EXPECT_EQ(s.maximum[4], "0");
  gates::ReadoutTexts u = gates::ReadoutText(r, false, 0.1f);
  EXPECT_EQ(u.delay, "12.000000");
  EXPECT_EQ(u.time[0], "25.000000");
  EXPECT_EQ(u.maximum[0], "100^");
}
