// The command dialog on a virtual card: reply lines, parameter dialogs, reset, SAP delay, ADC
// and the automatic command check.
#include <gmock/gmock.h>

#include "commands/CmdAverageDlg.h"
#include "commands/CmdGainDlg.h"
#include "commands/CmdSAPdelayDlg.h"
#include "commands/CmdShotDlg.h"
#include "commands/CommandDlg.h"
#include "support/CardDialogFixture.h"

using ::testing::ElementsAre;
using namespace zorix7sim;

namespace {

class CommandDlgTest : public CardDialogFixture {
 protected:
  CCommandDlg& Open(const char* bench = kOneZorix7F) {
    OpenBench(bench);
    dlg = std::make_unique<CCommandDlg>(card, &zorix9Mode, 120);
    dlg->EnsureControls();
    ClearJournal();
    return *dlg;
  }
  static std::vector<std::string> Args() {
    std::vector<std::string> args;
    for (const auto& e : JournalOf("Command")) args.push_back(e.args);
    return args;
  }
  BOOL zorix9Mode = TRUE;
  std::unique_ptr<CCommandDlg> dlg;
};

TEST_F(CommandDlgTest, PlainCommandsClearTheListParameterisedOnesAppend) {
  auto& d = Open();
  Click(d, CCommandDlg::IDC_START);
  Click(d, CCommandDlg::IDC_START);
  EXPECT_THAT(d.m_listReply.Lines(), ElementsAre("Start Messung: OK"));
  QueueDialog<CCmdShotDlg>(ScriptedUiHost::PressOk);
  QueueDialog<CCmdShotDlg>(ScriptedUiHost::PressOk);
  Click(d, CCommandDlg::IDC_SHOT);
  Click(d, CCommandDlg::IDC_SHOT);
  EXPECT_THAT(d.m_listReply.Lines(), ElementsAre("Start Messung: OK", "Shot: OK", "Shot: OK"));
  EXPECT_EQ(d.m_listReply.GetCurSel(), 2);

  // Cancel sends nothing and leaves the list alone.
  ClearJournal();
  QueueDialog<CCmdShotDlg>(ScriptedUiHost::PressCancel);
  Click(d, CCommandDlg::IDC_SHOT);
  EXPECT_TRUE(JournalOf("Command").empty());
  EXPECT_EQ(d.m_listReply.GetCount(), 3);

  // Refused commands show the error word; a plain one still clears first.
  AddFault({"Command", 1, 0, 0x1234});
  QueueDialog<CCmdShotDlg>(ScriptedUiHost::PressOk);
  Click(d, CCommandDlg::IDC_SHOT);
  EXPECT_EQ(d.m_listReply.GetText(3), "Shot: Error 1234");
  Click(d, CCommandDlg::IDC_POWER_DOWN);
  EXPECT_THAT(d.m_listReply.Lines(), ElementsAre("Power Down: Error 1234"));
  EXPECT_FALSE(d.GetDlgItem(CCommandDlg::IDC_SP_COMP)->isEnabled());
}

TEST_F(CommandDlgTest, StartWordsDefaultAverageAndGain) {
  auto& d = Open();
  EXPECT_EQ(d.Words(dsp::kShot)[0], 5u);
  EXPECT_EQ(d.Words(dsp::kCount), (std::array<DWORD, 2>{0x3E800A0, 0}));
  EXPECT_EQ(d.Words(dsp::kTrigger), (std::array<DWORD, 2>{20000, 0}));

  QueueDialog<CCmdAverageDlg>(ScriptedUiHost::PressOk);  // "Anzahl" 0
  Click(d, CCommandDlg::IDC_AVERAGE);
  EXPECT_THAT(d.m_listReply.Lines(), ElementsAre("Average:  = 0"));
  EXPECT_TRUE(JournalOf("Command").empty());
  QueueDialog<CCmdAverageDlg>([](CCmdAverageDlg& a) {
    SetEditText(a, CCmdAverageDlg::IDC_ANZAHL, "16");
    return ScriptedUiHost::PressOk(a);
  });
  Click(d, CCommandDlg::IDC_AVERAGE);
  EXPECT_EQ(d.m_listReply.GetText(1), "Average: OK");
  EXPECT_EQ(Model().commandWords.at(dsp::kAverage).words[0], 16u);

  QueueDialog<CCmdGainDlg>([](CCmdGainDlg& g) {
    SetEditText(g, CCmdGainDlg::IDC_VERSTAERKUNG, "20.7");
    return ScriptedUiHost::PressOk(g);
  });
  Click(d, CCommandDlg::IDC_GAIN);
  EXPECT_EQ(Model().commandWords.at(dsp::kGain).words[0], 200u);
  // A negative gain is refused in the dialog, which stays open for a better one.
  QueueDialog<CCmdGainDlg>([](CCmdGainDlg& g) {
    SetEditText(g, CCmdGainDlg::IDC_VERSTAERKUNG, "-3");
    g.OnOK();
    EXPECT_FALSE(g.IsEnded());
    return ScriptedUiHost::PressCancel(g);
  });
  Click(d, CCommandDlg::IDC_GAIN);
  EXPECT_EQ(host.Boxes().back().caption, "Gain Parameter");
  EXPECT_EQ(d.Words(dsp::kGain)[0], 200u);

  // "default" sends every start word, the zero average too, and writes no line.
  ClearJournal();
  Click(d, CCommandDlg::IDC_DEFAULT);
  EXPECT_EQ(Args(), (std::vector<std::string>{"0x4401, 1, 0x5", "0x4801, 1, 0x300", "0x4C01, 1, 0x4", "0x5001, 1, 0xC8",
                                               "0x5401, 1, 0x0", "0x5801, 1, 0x0", "0x5C02, 2, 0x4E20, 0x0",
                                               "0x6002, 2, 0x3E800A0, 0x0", "0x6801, 1, 0x0", "0x6C01, 1, 0x0"}));
  EXPECT_EQ(d.Words(dsp::kGain)[0], 200u);
  EXPECT_EQ(d.m_listReply.GetCount(), 3);
}

TEST_F(CommandDlgTest, ResetAllPollsWarmsUpAndClearsTheZorix9Mode) {
  auto& d = Open("[Card 1]\nResetMs=50\n");
  host.QueueAnswer(IDNO);
  Click(d, CCommandDlg::IDC_RESET_ALL);
  EXPECT_TRUE(JournalOf("ResetCard").empty());
  EXPECT_TRUE(zorix9Mode);
  EXPECT_EQ(host.Boxes()[0].text, "Hardware Reset?");
  EXPECT_EQ(host.Boxes()[0].caption, "Command");

  host.QueueAnswer(IDYES);
  Click(d, CCommandDlg::IDC_RESET_ALL);
  EXPECT_THAT(d.m_listReply.Lines(), ElementsAre("Reset OK nach 50 ms"));
  EXPECT_TRUE(Model().warmedUp);
  EXPECT_FALSE(zorix9Mode);

  // A warm-up refused after the reset.
  zorix9Mode = TRUE;
  AddFault({"WarmUp", 1, 0, 0xBEEF});
  host.QueueAnswer(IDYES);
  Click(d, CCommandDlg::IDC_RESET_ALL);
  EXPECT_EQ(d.m_listReply.GetText(1), "WarmUp Error BEEF");
  EXPECT_FALSE(zorix9Mode);
}

TEST_F(CommandDlgTest, ResetSeenAtTheFirstPollIsAnErrorAndTheWaitIsBounded) {
  auto& d = Open("[Card 1]\nResetMs=0\n");
  host.QueueAnswer(IDYES);
  Click(d, CCommandDlg::IDC_RESET_ALL);
  EXPECT_THAT(d.m_listReply.Lines(), ElementsAre("Reset Error"));
  EXPECT_TRUE(JournalOf("WarmUp").empty());
  EXPECT_FALSE(zorix9Mode);

  // Polls that never see the card ready end at the limit.
  ASSERT_TRUE(LoadBenchText("[Card 1]\nResetMs=50\n"));
  d.m_hCard = ZORIX7Open(1);
  ClearJournal();
  AddFault({"IsReseted", 1, 0, 0});
  host.QueueAnswer(IDYES);
  Click(d, CCommandDlg::IDC_RESET_ALL);
  EXPECT_EQ(JournalOf("IsReseted").size(), 1000u);
  EXPECT_EQ(clock.TotalSlept(), 9990u);
  EXPECT_EQ(d.m_listReply.GetText(1), "Reset OK nach 10000 ms");

  // A card still in reset then refuses its warm-up.
  ASSERT_TRUE(LoadBenchText("[Card 1]\nNeverReset=1\n"));
  d.m_hCard = ZORIX7Open(1);
  host.QueueAnswer(IDYES);
  Click(d, CCommandDlg::IDC_RESET_ALL);
  EXPECT_EQ(d.m_listReply.GetText(2), "WarmUp Error E0000005");
}

TEST_F(CommandDlgTest, SapDelayAndAdc) {
  auto& d = Open("[Card 1]\nAdc=41.25,5.1,4.9,150,5,2.49\n");
  QueueDialog<CCmdSAPdelayDlg>([](CCmdSAPdelayDlg& s) {
    EXPECT_EQ(s.GetWindowText(), "SAP-Delay");
    EXPECT_EQ(s.GetDlgItemText(CCmdSAPdelayDlg::IDC_SAP_DELAY), "120");
    SetEditText(s, CCmdSAPdelayDlg::IDC_SAP_DELAY, "300");
    return ScriptedUiHost::PressOk(s);
  });
  Click(d, CCommandDlg::IDC_SAP_DELAY);
  EXPECT_EQ(d.m_nSapDelay, 300);
  EXPECT_EQ(Model().ReadRegister(0x436), 300u);
  EXPECT_TRUE(host.Boxes().empty());

  AddFault({"SetSAPDelay", 1, 0, 0x77});
  QueueDialog<CCmdSAPdelayDlg>(ScriptedUiHost::PressOk);
  Click(d, CCommandDlg::IDC_SAP_DELAY);
  ASSERT_EQ(host.Boxes().size(), 1u);
  EXPECT_EQ(host.Boxes()[0].text, "SetSAPDelay Error 77");
  EXPECT_EQ(host.Boxes()[0].caption, "Test");

  // "No" reads again, "Yes" ends; a failed reading shows its error word.
  AddFault({"GetADC", 1, 2, 0x5A});
  host.QueueAnswer(IDNO);
  host.QueueAnswer(IDNO);
  host.QueueAnswer(IDYES);
  Click(d, CCommandDlg::IDC_ADC);
  ASSERT_EQ(host.Boxes().size(), 4u);
  EXPECT_EQ(host.Boxes()[1].caption, "Temperatur/Spannungen");
  EXPECT_THAT(host.Boxes()[1].text.str(), ::testing::StartsWith("Temperatur = 41.25 °C"));
  EXPECT_THAT(host.Boxes()[1].text.str(), ::testing::HasSubstr(" HS  =  150 V"));
  EXPECT_EQ(host.Boxes()[2].text, "Error 5A");
  EXPECT_EQ(host.Boxes()[3].text, host.Boxes()[1].text);
  EXPECT_EQ(JournalOf("GetADC").size(), 3u);
}

TEST_F(CommandDlgTest, AutomaticCheckSendsTheChainAndStopsAtTheFirstFailure) {
  auto& d = Open();
  CString result;
  EXPECT_TRUE(d.Check(result));
  EXPECT_EQ(result, "OK");
  // The chain, then Power Up again: the check leaves the card switched on.
  EXPECT_EQ(Args(), (std::vector<std::string>{"0xC00, 0, null", "0x1800, 0, null", "0x1000, 0, null", "0x1C00, 0, null",
                                              "0x4401, 1, 0x5", "0x400, 0, null", "0x800, 0, null", "0x1400, 0, null",
                                              "0x1800, 0, null"}));
  EXPECT_EQ(JournalOf("WarmUp").size(), 1u);
  EXPECT_TRUE(Model().analoguePowered);

  const char* labels[] = {"Reset: ", "Power Up: ",      "Offset: ",       "Sys Attenuation: ",
                          "Shot: ",  "Start Messung: ", "Stop Messung: ", "Power Down: "};
  for (unsigned step = 1; step <= 8; ++step) {
    ClearFaults();
    ClearJournal();
    AddFault({"Command", 1, step, 0xC0DE0 + step});
    EXPECT_FALSE(d.Check(result));
    EXPECT_EQ(result, CString(labels[step - 1]) + "Command Error");
    EXPECT_EQ(d.ErrorWord(), 0xC0DE0 + step);
    EXPECT_EQ(JournalOf("Command").size(), step + 1) << "after the failing step only the closing Power Up";
  }
  ClearFaults();
  AddFault({"WarmUp", 1, 0, 0x99});
  EXPECT_FALSE(d.Check(result));
  EXPECT_EQ(result, "Reset: Command Error");
  EXPECT_EQ(d.ErrorWord(), 0x99u);
}

}  // namespace
