// The parameter dialogs: presets from the card's control-LCA registers, radio fields, the words
// on OK, and a command sent through the virtual card read back by the reopened dialog.
#include <gmock/gmock.h>

#include "commands/CmdAScanDlg.h"
#include "commands/CmdCountDlg.h"
#include "commands/CmdHWconfigDlg.h"
#include "commands/CmdInputDlg.h"
#include "commands/CmdSWconfigDlg.h"
#include "commands/CmdSenderDlg.h"
#include "commands/CmdShotDlg.h"
#include "commands/CmdTriggerDlg.h"
#include "commands/CommandDlg.h"
#include "support/CardDialogFixture.h"

namespace {

class ParamDialogs : public CardDialogFixture {
 protected:
  // Opens the dialog on the card as the command dialog does, lets act change it, presses OK.
  template <typename Dlg, typename Act>
  std::vector<DWORD> RunOk(Act act) {
    Dlg dlg;
    dlg.m_hCard = card;
    QueueDialog<Dlg>([&](Dlg& d) {
      act(d);
      return ScriptedUiHost::PressOk(d);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    return dlg.Words();
  }
};

TEST_F(ParamDialogs, ShotOpensFromTheRegistersAndComposesItsWord) {
  OpenBench("[Card 1]\nReg0x402=0x0050\nReg0x410=0x8084\nReg0x416=0x4000\n");
  auto words = RunOk<CCmdShotDlg>([](CCmdShotDlg& d) {
    EXPECT_EQ(d.GetWindowText(), "Parameter Shot");
    EXPECT_TRUE(IsChecked(d, CCmdShotDlg::IDC_VIRTUELL));
    EXPECT_TRUE(IsChecked(d, CCmdShotDlg::IDC_EINZELMESSUNG));
    EXPECT_TRUE(IsChecked(d, CCmdShotDlg::IDC_ASCAN));
    EXPECT_TRUE(IsChecked(d, CCmdShotDlg::IDC_AVERAGE) && IsChecked(d, CCmdShotDlg::IDC_IFF) &&
                IsChecked(d, CCmdShotDlg::IDC_TA));
    EXPECT_FALSE(IsChecked(d, CCmdShotDlg::IDC_8BIT));
    // A click selects its button and clears the others of its field only.
    Click(d, CCmdShotDlg::IDC_CLOCK_1);
    EXPECT_FALSE(IsChecked(d, CCmdShotDlg::IDC_VIRTUELL));
    EXPECT_TRUE(IsChecked(d, CCmdShotDlg::IDC_EINZELMESSUNG));
    for (int id : {CCmdShotDlg::IDC_AVERAGE, CCmdShotDlg::IDC_IFF, CCmdShotDlg::IDC_TA}) SetCheck(d, id, false);
  });
  EXPECT_EQ(words, std::vector<DWORD>{5});
}

TEST_F(ParamDialogs, SenderTriggerCountAndAScanEdgeCases) {
  OpenBench("[Card 1]\nReg0x428=0x8302\nReg0x410=0x0001\n");
  EXPECT_EQ(RunOk<CCmdSenderDlg>([](CCmdSenderDlg& d) {
              EXPECT_TRUE(IsChecked(d, CCmdSenderDlg::IDC_ENERGIE3));
              EXPECT_TRUE(IsChecked(d, CCmdSenderDlg::IDC_150NS));
              EXPECT_TRUE(IsChecked(d, CCmdSenderDlg::IDC_SPERRE));
            }),
            std::vector<DWORD>{0x8302});
  auto trigger = [this](bool external) {
    return RunOk<CCmdTriggerDlg>([external](CCmdTriggerDlg& d) {
      EXPECT_TRUE(IsChecked(d, CCmdTriggerDlg::IDC_EXTERN));
      EXPECT_TRUE(IsChecked(d, CCmdTriggerDlg::IDC_MASTER));
      EXPECT_TRUE(IsChecked(d, CCmdTriggerDlg::IDC_BEI_START));
      SetCheck(d, CCmdTriggerDlg::IDC_EXTERN, external);
    });
  };
  EXPECT_EQ(trigger(true), (std::vector<DWORD>{0, 0}));
  EXPECT_EQ(trigger(false), (std::vector<DWORD>{0, 1}));
  EXPECT_EQ(RunOk<CCmdCountDlg>([](CCmdCountDlg& d) {
              SetEditText(d, CCmdCountDlg::IDC_VORLAUF, "160");
              SetEditText(d, CCmdCountDlg::IDC_AUFNAHME, "1000");
            }),
            (std::vector<DWORD>{0x3E800A0, 0}));
  EXPECT_EQ(RunOk<CCmdAScanDlg>([](CCmdAScanDlg& d) { EXPECT_FALSE(IsChecked(d, CCmdAScanDlg::IDC_HF)); }),
            std::vector<DWORD>{0});
  // Dialogs without a register read nothing from the card.
  zorix7sim::ClearJournal();
  RunOk<CCmdAScanDlg>([](CCmdAScanDlg&) {});
  RunOk<CCmdSWconfigDlg>([](CCmdSWconfigDlg& d) { SetCheck(d, CCmdSWconfigDlg::IDC_ECHO, true); });
  EXPECT_TRUE(zorix7sim::JournalOf("ReadRegister").empty());
}

// Every field of the parameter dialogs that has a register is sent through the command dialog
// and shows again when its dialog is reopened.
TEST_F(ParamDialogs, CommandsSentShowAgainWhenTheirDialogReopens) {
  OpenBench();
  BOOL zorix9 = FALSE;
  CCommandDlg cmd(card, &zorix9, 0);
  QueueDialog<CCmdShotDlg>([](CCmdShotDlg& d) {
    for (int id :
         {CCmdShotDlg::IDC_AUTOMATISCH, CCmdShotDlg::IDC_CLOCK_8, CCmdShotDlg::IDC_AVERAGE, CCmdShotDlg::IDC_TA})
      Click(d, id);
    return ScriptedUiHost::PressOk(d);
  });
  QueueDialog<CCmdSenderDlg>([](CCmdSenderDlg& d) {
    Click(d, CCmdSenderDlg::IDC_250NS);
    Click(d, CCmdSenderDlg::IDC_ENERGIE2);
    return ScriptedUiHost::PressOk(d);
  });
  QueueDialog<CCmdInputDlg>([](CCmdInputDlg& d) {
    SetEditText(d, CCmdInputDlg::IDC_SENDERDAEMPFUNG, "3");
    SetEditText(d, CCmdInputDlg::IDC_EINGANGSDAEMPFUNG, "1");
    SetCheck(d, CCmdInputDlg::IDC_SE, true);
    return ScriptedUiHost::PressOk(d);
  });
  QueueDialog<CCmdHWconfigDlg>([](CCmdHWconfigDlg& d) {
    SetEditText(d, CCmdHWconfigDlg::IDC_FILTER, "13");  // the card keeps 3 bits
    return ScriptedUiHost::PressOk(d);
  });
  QueueDialog<CCmdCountDlg>([](CCmdCountDlg& d) {
    SetEditText(d, CCmdCountDlg::IDC_VORLAUF, "160");
    SetEditText(d, CCmdCountDlg::IDC_AUFNAHME, "1000");
    return ScriptedUiHost::PressOk(d);
  });
  QueueDialog<CCmdTriggerDlg>([](CCmdTriggerDlg& d) {
    Click(d, CCmdTriggerDlg::IDC_SAP_EINZELN);
    SetEditText(d, CCmdTriggerDlg::IDC_TRIGGERBLENDE, "9");
    SetEditText(d, CCmdTriggerDlg::IDC_MAX_SAP, "305419896");
    return ScriptedUiHost::PressOk(d);
  });
  for (int id : {CCommandDlg::IDC_SHOT, CCommandDlg::IDC_SENDER, CCommandDlg::IDC_INPUT, CCommandDlg::IDC_HW_CONFIG,
                 CCommandDlg::IDC_COUNT, CCommandDlg::IDC_TRIGGER})
    Click(cmd, id);
  EXPECT_EQ(cmd.m_listReply.GetCount(), 6);
  EXPECT_EQ(cmd.m_listReply.GetText(5), "Trigger: OK");

  auto shot = RunOk<CCmdShotDlg>([](CCmdShotDlg& d) {
    EXPECT_TRUE(IsChecked(d, CCmdShotDlg::IDC_AUTOMATISCH));
    EXPECT_TRUE(IsChecked(d, CCmdShotDlg::IDC_CLOCK_8));
    EXPECT_TRUE(IsChecked(d, CCmdShotDlg::IDC_AVERAGE) && IsChecked(d, CCmdShotDlg::IDC_TA));
    EXPECT_FALSE(IsChecked(d, CCmdShotDlg::IDC_IFF));
  });
  EXPECT_EQ(shot[0], cmd.Words(dsp::kShot)[0]);
  RunOk<CCmdSenderDlg>([](CCmdSenderDlg& d) {
    EXPECT_TRUE(IsChecked(d, CCmdSenderDlg::IDC_250NS));
    EXPECT_FALSE(IsChecked(d, CCmdSenderDlg::IDC_25NS));
    EXPECT_TRUE(IsChecked(d, CCmdSenderDlg::IDC_ENERGIE2));
    EXPECT_FALSE(IsChecked(d, CCmdSenderDlg::IDC_SPERRE));
  });
  RunOk<CCmdInputDlg>([](CCmdInputDlg& d) {
    EXPECT_EQ(d.GetDlgItemText(CCmdInputDlg::IDC_SENDERDAEMPFUNG), "3");
    EXPECT_EQ(d.GetDlgItemText(CCmdInputDlg::IDC_EINGANGSDAEMPFUNG), "1");
    EXPECT_TRUE(IsChecked(d, CCmdInputDlg::IDC_SE));
  });
  RunOk<CCmdHWconfigDlg>([](CCmdHWconfigDlg& d) { EXPECT_EQ(d.GetDlgItemText(CCmdHWconfigDlg::IDC_FILTER), "5"); });
  RunOk<CCmdCountDlg>([](CCmdCountDlg& d) {
    EXPECT_EQ(d.GetDlgItemText(CCmdCountDlg::IDC_VORLAUF), "160");
    EXPECT_EQ(d.GetDlgItemText(CCmdCountDlg::IDC_AUFNAHME), "1000");
  });
  // The trigger was sent after the shot's automatic mode: "Master" keeps it.
  RunOk<CCmdTriggerDlg>([](CCmdTriggerDlg& d) {
    EXPECT_TRUE(IsChecked(d, CCmdTriggerDlg::IDC_MASTER));
    EXPECT_TRUE(IsChecked(d, CCmdTriggerDlg::IDC_SAP_EINZELN));
    EXPECT_FALSE(IsChecked(d, CCmdTriggerDlg::IDC_EXTERN));
    EXPECT_EQ(d.GetDlgItemText(CCmdTriggerDlg::IDC_TRIGGERBLENDE), "9");
    EXPECT_EQ(d.GetDlgItemText(CCmdTriggerDlg::IDC_MAX_SAP), "305419896");
  });
  // "einzeln" sent is the single measurement the shot dialog shows.
  QueueDialog<CCmdTriggerDlg>([](CCmdTriggerDlg& d) {
    Click(d, CCmdTriggerDlg::IDC_EINZELN);
    return ScriptedUiHost::PressOk(d);
  });
  Click(cmd, CCommandDlg::IDC_TRIGGER);
  RunOk<CCmdShotDlg>([](CCmdShotDlg& d) { EXPECT_TRUE(IsChecked(d, CCmdShotDlg::IDC_EINZELMESSUNG)); });
}

}  // namespace
