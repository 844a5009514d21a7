// The main dialog's "Command" and "Blenden" buttons with their dialogs and automatic modes.
#include <gmock/gmock.h>

#include "app/AppTestSupport.h"
#include "commands/BlendenDlg.h"
#include "commands/CommandDlg.h"
#include "measure/AnzeigeDlg.h"
#include "sim/CardModel.h"

using ::testing::ElementsAre;

namespace {

class MainCommands : public MainDialogFixture {};

TEST_F(MainCommands, CommandRunsItsChainOrOpensOnTheSelectedCardAndSet) {
  auto& d = Start();
  d.m_param[1][2].SAPDelay = 77;
  SetEditText(d, IDC_KARTE, "2");
  SetEditText(d, IDC_PARAMSATZ, "2");
  SetCheck(d, IDC_CHECK_COMMAND, false);
  QueueDialog<CCommandDlg>([&d](CCommandDlg& c) {
    EXPECT_EQ(c.m_hCard, d.m_hCard[1]);
    EXPECT_EQ(c.m_nSapDelay, 77);
    EXPECT_EQ(c.m_pZorix9Mode, &d.m_bZorix9Mode);
    return ScriptedUiHost::PressOk(c);
  });
  Click(d, IDC_COMMAND);
  EXPECT_EQ(d.m_listResult.GetCount(), 0);

  SetCheck(d, IDC_CHECK_COMMAND, true);
  Click(d, IDC_COMMAND);
  zorix7sim::AddFault({"Command", 2, 2, 0x66});
  Click(d, IDC_COMMAND);
  EXPECT_THAT(d.m_listResult.Lines(), ElementsAre("Command: OK", "Command: Power Up: Command Error"));
  EXPECT_EQ(d.ResultLines()[0].verdict, Verdict::Pass);
  EXPECT_EQ(d.ResultLines()[1].verdict, Verdict::Fail);
}

TEST_F(MainCommands, BlendenReadsTheGateReadoutOrOpensOnTheSelectedSet) {
  auto& d = Start();
  SetEditText(d, IDC_PARAMSATZ, "3");
  QueueDialog<CBlendenDlg>([&d](CBlendenDlg& b) {
    EXPECT_EQ(b.m_pSet, &d.m_param[0][3]);
    EXPECT_EQ(b.m_pActive, &d.m_active[0]);
    EXPECT_EQ(b.m_pData, d.m_pDataBuffer);
    return ScriptedUiHost::PressCancel(b);
  });
  Click(d, IDC_BLENDEN);

  SetCheck(d, IDC_CHECK_BLENDEN, true);
  Click(d, IDC_BLENDEN);
  DWORD error = 0;
  ZORIX7Start(d.m_hCard[0], &error);
  Click(d, IDC_BLENDEN);
  EXPECT_THAT(d.m_listResult.Lines(), ElementsAre("Blenden: GetGates Error E0000007", "Blenden: OK"));
}

TEST_F(MainCommands, BlendenNeedsAZorix7F) {
  auto& d = Start("[Card 1]\nVariant=ZORIX7\nBus=2\nSlot=5\n");
  Click(d, IDC_BLENDEN);
  SetCheck(d, IDC_CHECK_BLENDEN, true);
  Click(d, IDC_BLENDEN);
  // By hand a box; in the automatic mode a skipped line, so the reports keep the test.
  EXPECT_THAT(BoxTexts(), ElementsAre("Blenden|Keine ZORIX7F!"));
  EXPECT_THAT(d.m_listResult.Lines(), ElementsAre("Blenden: Keine ZORIX7F!"));
  EXPECT_EQ(d.ResultLines()[0].verdict, Verdict::Skipped);
  EXPECT_TRUE(host.Dialogs().empty());
}

// The command check ends with "Power Down"; the checks after it must still find the card
// switched on, with the control LCA as the check found it. (The DSP check would ask for its
// file, and the self-test's DAC test switches the card on itself.)
TEST_F(MainCommands, CheckAllMeasuresAPoweredCardAfterTheCommandCheck) {
  auto& d = Start();
  for (const auto& row : TestColumn()) SetCheck(d, row.checkId, row.buttonId != IDC_DSP && row.buttonId != IDC_TEST);
  zorix7sim::CardModel& card = *zorix7sim::Card(1);
  std::map<DWORD, DWORD> before;
  for (DWORD reg = 0x400; reg < 0x440; reg += 2) before[reg] = ZORIX7ReadRegister(d.m_hCard[0], reg);
  bool shotSeen = false;
  QueueDialog<CAnzeigeDlg>([&](CAnzeigeDlg& a) {
    shotSeen = true;
    EXPECT_TRUE(card.analoguePowered);
    EXPECT_GT(card.Adc()[3], 100.0f) << "high voltage on";
    return ScriptedUiHost::PressOk(a);
  });
  Click(d, IDC_CHECK_ALL);
  EXPECT_TRUE(shotSeen);
  EXPECT_TRUE(card.analoguePowered);
  for (const auto& [reg, value] : before) EXPECT_EQ(ZORIX7ReadRegister(d.m_hCard[0], reg), value) << std::hex << reg;
  EXPECT_THAT(d.m_listResult.Lines(), ::testing::Contains("Command: OK"));
}
}  // namespace
