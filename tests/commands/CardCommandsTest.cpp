// DSP commands on the virtual card: where the words land, what the card refuses, the reset
// command and the ADC readout of the bench.
#include <gtest/gtest.h>

#include "card/ControlLca.h"
#include "card/DspCommands.h"
#include "support/CardDialogFixture.h"

using namespace zorix7sim;

namespace {

class CardCommands : public CardDialogFixture {
 protected:
  DWORD Send(DWORD code, std::vector<DWORD> words = {}) {
    DWORD error = 0;
    const DWORD count = static_cast<DWORD>(words.size());
    return ZORIX7Command(card, code, count, count ? words.data() : nullptr, &error) ? 0 : error;
  }
};

TEST_F(CardCommands, WordsLandInTheControlLcaAndBadOnesAreRefused) {
  OpenBench("[Card 1]\nReg0x406=0x0005\nReg0x40A=0x00FF\nReg0x428=0x6000\nReg0x20=0x1234\n");
  EXPECT_EQ(Send(dsp::kInput, {0x10A}), 0u);
  EXPECT_EQ(Model().ReadRegister(lca::kAnalog), 0x010Au);
  EXPECT_EQ(Send(dsp::kHwConfig, {0xD}), 0u);
  EXPECT_EQ(Model().ReadRegister(lca::kAnalog), 0x510Au) << "filter kept to 3 bits";
  EXPECT_EQ(Send(dsp::kSender, {0x8302}), 0u);
  EXPECT_EQ(Model().ReadRegister(lca::kSender), 0xE302u) << "bits 13 and 14 are not the sender word's";
  EXPECT_EQ(Send(dsp::kCount, {0x3E800A0, 7}), 0u);
  EXPECT_EQ(Model().ReadRegister(lca::kDelayLow), 0xA0u);
  EXPECT_EQ(Model().ReadRegister(lca::kDelayHigh), 0u);
  EXPECT_EQ(Model().ReadRegister(lca::kTimeLow), 1000u);
  EXPECT_EQ(Send(dsp::kTrigger, {0x12345678, 0x1021}), 0u);
  EXPECT_EQ(Model().ReadRegister(lca::kMaxSapHigh), 0x1234u);
  EXPECT_EQ(Model().ReadRegister(lca::kTrigger), 0x0024u) << "internal trigger, single, output 2";
  EXPECT_EQ(Send(dsp::kShot, {0x5039}), 0u);  // automatic, 1/8 clock, average, TA
  EXPECT_EQ(Model().ReadRegister(lca::kCommand), 0x0030u);
  EXPECT_EQ(Model().ReadRegister(lca::kTrigger), 0x00A8u);
  EXPECT_EQ(Model().ReadRegister(lca::kDepthComp), 0x4000u);
  EXPECT_EQ(Send(dsp::kPowerUp), 0u);
  EXPECT_EQ(Send(dsp::kStart), 0u);
  EXPECT_EQ(Model().ReadRegister(lca::kCommand), 0x0FB1u);
  EXPECT_EQ(Send(dsp::kGain, {200}), 0u);
  EXPECT_EQ(Model().commandWords.at(dsp::kGain).words[0], 200u);
  EXPECT_EQ(Send(dsp::kSelfTest, {0}), 0u);

  const DWORD before = Model().ReadRegister(lca::kCommand);
  EXPECT_EQ(Send(0x7000), kErrUnknownCommand);
  EXPECT_EQ(Send(dsp::kShot), kErrUnknownCommand) << "a shot without its word";
  EXPECT_EQ(Send(dsp::kStart, {1}), kErrUnknownCommand);
  EXPECT_EQ(Send(dsp::kShot, {0x0051}), kErrBadParameter) << "clock 5";
  EXPECT_EQ(Send(dsp::kShot, {0x000D}), kErrBadParameter) << "measurement 3";
  EXPECT_EQ(Send(dsp::kSender, {0x0600}), kErrBadParameter) << "pulse width 6";
  EXPECT_EQ(Model().ReadRegister(lca::kCommand), before);

  // "Reset" brings the control LCA back to the bench's values, and nothing else.
  Model().warmedUp = true;
  EXPECT_EQ(Send(dsp::kReset), 0u);
  EXPECT_EQ(Model().ReadRegister(lca::kAnalog), 5u);
  EXPECT_EQ(Model().ReadRegister(lca::kDelayHigh), 0xFFu);
  EXPECT_EQ(Model().ReadRegister(lca::kCommand), 0u);
  EXPECT_EQ(Model().ReadRegister(0x20), 0x1234u);
  EXPECT_FALSE(Model().warmedUp);

  ZORIX7ResetCard(card);
  EXPECT_EQ(Send(dsp::kStart), kErrInReset);
}

// The SAP delay register and the ADC readout through the command dialog: CommandDlgTest.
TEST_F(CardCommands, AdcOfTheBenchNeedsSixNumbersInRange) {
  EXPECT_FALSE(LoadBenchText("[Card 1]\nAdc=1,2,3,4,5\n"));
  EXPECT_NE(BenchError().find("six values"), std::string::npos) << BenchError();
  EXPECT_FALSE(LoadBenchText("[Card 1]\nAdc=1,2,3,4,5,x\n"));
  EXPECT_FALSE(LoadBenchText("[Card 1]\nAdc=1,2,3,4,5,2000\n"));
}

}  // namespace
