// The main dialog's "DSP", "Test", "Steuer-LCA" and "Daten-LCA" buttons with the real dialogs.
#include <fstream>

#include "app/AppTestSupport.h"
#include "diag/DSPDlg.h"

using zorix7sim::JournalOf;

namespace {
class DiagButtons : public MainDialogFixture {
 protected:
  // Lines appended by one press of a button, with their verdicts.
  std::vector<std::pair<std::string, Verdict>> Press(int button, int checkBox, bool automatic) {
    const size_t before = dlg->ResultLines().size();
    SetCheck(*dlg, checkBox, automatic);
    Click(*dlg, button);
    std::vector<std::pair<std::string, Verdict>> lines;
    for (size_t i = before; i < dlg->ResultLines().size(); ++i)
      lines.emplace_back(dlg->ResultLines()[i].text.str(), dlg->ResultLines()[i].verdict);
    return lines;
  }
};
using Lines = std::vector<std::pair<std::string, Verdict>>;
}  // namespace

TEST_F(DiagButtons, SelfTestLogsItsLineThenOneIndentedLinePerChosenTest) {
  std::string config = "[Selbstest]\n";
  for (const char* key : {"DSP->PCI-FIFO", "Aufnahme-FIFO", "Daten-FIFO", "Daten-FIFO->PCI-FIFO", "DSP-RAM",
                          "EEPROM+Version", "DelayLine", "DAC", "SAP", "DS_FLAGsetzen", "DS_FLAGlöschen"})
    config += std::string(key) + "=no\n";
  WriteConfig(config);
  Start();
  // The heading line informs; only the tests' own lines carry verdicts.
  EXPECT_EQ(Press(IDC_TEST, IDC_CHECK_TEST, true), Lines({{"Selbsttest: ", Verdict::Info},
                                                          {"   PCI-FIFO->DSP: OK", Verdict::Pass},
                                                          {"   LCA + ADC: OK", Verdict::Pass}}));
  EXPECT_EQ(dlg->m_listResult.GetCurSel(), dlg->m_listResult.GetCount() - 1);

  WriteConfig(config + "PCI-FIFO->DSP=no\nLCA+ADC=no\n");
  EXPECT_EQ(Press(IDC_TEST, IDC_CHECK_TEST, true), Lines({{"Selbsttest: ", Verdict::Info}}));
}

TEST_F(DiagButtons, LcaButtonsCheckTheirLcaInAutomaticMode) {
  Start("[Card 1]\nReg0x404=0x0200\n[Card 2]\n");
  EXPECT_EQ(Press(IDC_LCA, IDC_CHECK_LCA, true), Lines({{"LCA-Register: Error Trigger Input", Verdict::Fail}}));
  EXPECT_EQ(Press(IDC_DATALCA, IDC_CHECK_DATALCA, true), Lines({{"Daten-LCA: OK", Verdict::Pass}}));
  EXPECT_EQ(Press(IDC_LCA, IDC_CHECK_LCA, false), Lines()) << "the view opens, nothing is logged";
  EXPECT_EQ(host.Dialogs().back().title, "Steuer-LCA-Register");
}

TEST_F(DiagButtons, DspLoadsAutomaticallyOrSendsTheIdentificationsAfterItsDialog) {
  Start();
  const std::string path = dir.path().toStdString() + "/dsp.hex";
  std::ofstream(path, std::ios::binary) << "1234\r\n";
  host.QueueFile(CString(path));
  EXPECT_EQ(Press(IDC_DSP, IDC_CHECK_DSP, true),
            Lines({{"DSP-Programm: Karte 1 OK (Reset nach 50 ms)", Verdict::Pass}}));

  dlg->m_bZorix9Mode = TRUE;
  zorix7sim::ClearJournal();
  QueueDialog<CDSPDlg>([](CDSPDlg& dsp) {
    EXPECT_EQ(dsp.m_nCard, 1u);
    return ScriptedUiHost::PressOk(dsp);
  });
  EXPECT_EQ(Press(IDC_DSP, IDC_CHECK_DSP, false), Lines());
  EXPECT_EQ(JournalOf("SetZORIX9").size(), 16u) << "every set of both cards";
}
