#include <QPlainTextEdit>

#include "card/DspCommands.h"
#include "diag/SelbsttestDlg.h"
#include "support/CardDialogFixture.h"

using zorix7sim::JournalOf;

namespace {
class SelfTest : public CardDialogFixture {
 protected:
  CSelbsttestDlg& Open(const std::string& cardKeys = "") {
    OpenBench(("[Card 1]\n" + cardKeys).c_str());
    zorix7sim::ClearJournal();
    dlg = std::make_unique<CSelbsttestDlg>(card);
    return *dlg;
  }
  CString Run(int test, BOOL expected) {
    CString text;
    EXPECT_EQ(dlg->RunTest(test, text), expected) << text.str();
    return text;
  }
  std::vector<std::string> CommandArgs() const {
    std::vector<std::string> args;
    for (const auto& e : JournalOf("Command")) args.push_back(e.args);
    return args;
  }
  std::unique_ptr<CSelbsttestDlg> dlg;
};
}  // namespace

TEST_F(SelfTest, FifoTestChecksThePatternAndTheEmptyFifo) {
  Open();
  EXPECT_EQ(Run(0, TRUE), "DSP->PCI-FIFO: OK");
  EXPECT_EQ(clock.TotalSlept(), 100u);

  Model().pciFifo = {1, 2, 3};  // left over from before: emptied first
  EXPECT_EQ(Run(0, TRUE), "DSP->PCI-FIFO: OK");
  EXPECT_TRUE(host.Boxes().empty());
}

TEST_F(SelfTest, FifoFaultsGiveTheirTexts) {
  Open("FifoWrongWords=2,6\n");
  const char* line = "\r\n %d: soll = FFFFFFFF, ist = FFFEFFFF";
  EXPECT_EQ(Run(0, FALSE), "DSP->PCI-FIFO: " + CString::Formatted(line, 2) + CString::Formatted(line, 6));
  ASSERT_EQ(host.Boxes().size(), 2u);
  EXPECT_EQ(host.Boxes()[0].caption, "DSP->PCI-FIFO");
  // The button shows every line in a read-only edit field, where it can be scrolled and copied.
  dlg->InitDialog();
  host.QueueAnswer(IDOK);
  host.QueueAnswer(IDOK);
  Click(*dlg, CSelbsttestDlg::IDC_FIRST_TEST);
  auto* shown = qobject_cast<QPlainTextEdit*>(dlg->GetDlgItem(CSelbsttestDlg::IDC_RESULT));
  ASSERT_NE(shown, nullptr);
  EXPECT_TRUE(shown->isReadOnly());
  EXPECT_EQ(shown->toPlainText().toStdString(),
            "DSP->PCI-FIFO: \n 2: soll = FFFFFFFF, ist = FFFEFFFF\n 6: soll = FFFFFFFF, ist = FFFEFFFF");

  Open("FifoExtraWords=1\n");
  EXPECT_EQ(Run(0, FALSE), "FIFO not empty");
  EXPECT_TRUE(Model().pciFifo.empty()) << "the ninth word is read away";

  Open("FifoNeverEmpty=1\n");
  EXPECT_EQ(Run(0, FALSE), "DSP->PCI-FIFO: FIFO not empty after 4096 reads");
  EXPECT_TRUE(JournalOf("Command").empty());
}

TEST_F(SelfTest, DacTestAsksTheOperatorAndAlwaysEndsTheRamps) {
  Open();
  host.QueueAnswer(IDNO);
  EXPECT_EQ(Run(9, FALSE), "DAC: nicht OK");
  EXPECT_EQ(CommandArgs(), std::vector<std::string>({"0x1800, 0, null", "0x4001, 1, 0x80000200", "0x4001, 1, 0x200"}));
  EXPECT_EQ(host.Boxes().back().text, "DAC-Rampen OK?");
  EXPECT_EQ(host.Boxes().back().caption, "DAC-Test");
  host.QueueAnswer(IDYES);
  EXPECT_EQ(Run(9, TRUE), "DAC: OK");

  zorix7sim::ClearJournal();
  ASSERT_TRUE(zorix7sim::AddFault({"Command", 1, 1}));
  EXPECT_EQ(Run(9, FALSE), "DAC: Power Up Error");
  EXPECT_EQ(JournalOf("Command").size(), 1u);
}

TEST_F(SelfTest, PlainTestsReportTheRefusalWord) {
  Open("SelfTestFail=3,9\n");
  EXPECT_EQ(Run(1, TRUE), "PCI-FIFO->DSP: OK");
  EXPECT_EQ(Model().lastCommand->words[0], 0x2u);
  EXPECT_EQ(Run(3, FALSE), "Aufnahme-FIFO: Error E0000103");
  EXPECT_EQ(Run(12, TRUE), "DS_FLAG löschen: OK");
  EXPECT_EQ(Model().lastCommand->words[0], 0x1000u);
  zorix7sim::ClearJournal();
  EXPECT_EQ(Run(9, FALSE), "DAC: Error E0000109");
  EXPECT_EQ(JournalOf("Command").size(), 2u) << "nothing after the refused ramps";
  EXPECT_EQ(Run(13, FALSE), "Test 13 not exist");
}

TEST_F(SelfTest, ChoicesComeFromTheConfigurationAndAreSavedAfterTheQuestion) {
  WriteConfig(
      "[Selbstest]\nDSP->PCI-FIFO=no\nPCI-FIFO->DSP=N\nLCA+ADC=nein\nAufnahme-FIFO=\nDAC=ja\n"
      "DS_FLAGl\xF6schen=No\nzyklisch=no\n");
  CSelbsttestDlg& d = Open();
  d.InitDialog();
  for (int n : {0, 1, 2, 12}) EXPECT_FALSE(IsChecked(d, CSelbsttestDlg::IDC_FIRST_CHOICE + n)) << n;
  for (int n : {3, 4, 9, 11}) EXPECT_TRUE(IsChecked(d, CSelbsttestDlg::IDC_FIRST_CHOICE + n)) << n;
  EXPECT_FALSE(IsChecked(d, CSelbsttestDlg::IDC_ZYKLISCH));

  Click(d, CSelbsttestDlg::IDC_FIRST_TEST + 1);
  EXPECT_EQ(d.GetDlgItemText(CSelbsttestDlg::IDC_RESULT), "PCI-FIFO->DSP: OK");

  SetCheck(d, CSelbsttestDlg::IDC_FIRST_CHOICE + 12, true);
  SetCheck(d, CSelbsttestDlg::IDC_FIRST_CHOICE + 3, false);
  host.QueueAnswer(IDYES);
  Click(d, CSelbsttestDlg::IDC_SAVE);
  EXPECT_EQ(host.Boxes().back().caption, "Selbstest");
  EXPECT_EQ(app.GetProfileString("Selbstest", "DS_FLAGlöschen"), "yes");
  EXPECT_EQ(app.GetProfileString("Selbstest", "Aufnahme-FIFO"), "no");
  EXPECT_EQ(app.GetProfileString("Selbstest", "zyklisch"), "no");
  EXPECT_EQ(app.GetProfileString("Selbstest", "DelayLine"), "yes") << "all fourteen keys are written";
}

TEST_F(SelfTest, AutomaticRunGivesOneLinePerChosenTest) {
  WriteConfig(
      "[Selbstest]\nDSP->PCI-FIFO=no\nLCA+ADC=no\nAufnahme-FIFO=no\nDaten-FIFO=no\n"
      "Daten-FIFO->PCI-FIFO=no\nDSP-RAM=no\nEEPROM+Version=no\nDelayLine=no\nDAC=no\nSAP=no\n"
      "DS_FLAGsetzen=no\n");
  CSelbsttestDlg& d = Open("SelfTestFail=12\n");
  CString result = "Kein Fehler";
  EXPECT_FALSE(d.Check(result));
  EXPECT_EQ(result, "");
  auto lines = d.FurtherLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].text, "   PCI-FIFO->DSP: OK");
  EXPECT_EQ(lines[0].verdict, Verdict::Pass);
  EXPECT_EQ(lines[1].text, "   DS_FLAG löschen: Error E000010C");
  EXPECT_EQ(lines[1].verdict, Verdict::Fail);

  WriteConfig("[Selbstest]\nPCI-FIFO->DSP=no\nDS_FLAGlöschen=no\n" +
              std::string("DSP->PCI-FIFO=no\nLCA+ADC=no\n"
                          "Aufnahme-FIFO=no\nDaten-FIFO=no\nDaten-FIFO->PCI-FIFO=no\nDSP-RAM=no\nEEPROM+Version=no\n"
                          "DelayLine=no\nDAC=no\nSAP=no\nDS_FLAGsetzen=no\n"));
  EXPECT_FALSE(d.Check(result)) << "a run that checked nothing is no success";
  EXPECT_TRUE(d.FurtherLines().empty());
}
