// The runs behind the main dialog's buttons: "Check All", the set selection, the editor, the
// status line and the display windows.
#include <QLabel>

#include "app/AppTestSupport.h"
#include "measure/AnzeigeDlg.h"
#include "measure/BlockmessungDlg.h"
#include "params/AnzeigeVorgabenDlg.h"

namespace {

// Passes everything to the test's script and notes the status line and modeless windows.
class RecordingHost final : public UiHost {
 public:
  explicit RecordingHost(ScriptedUiHost& inner) : m_inner(inner) {}
  int MessageBox(const CString& t, const CString& c, UINT type) override { return m_inner.MessageBox(t, c, type); }
  INT_PTR DoModal(CDialog& dlg) override { return m_inner.DoModal(dlg); }
  bool GetOpenFileName(const FileDialogRequest& r, CString& p) override { return m_inner.GetOpenFileName(r, p); }
  void ShowModeless(CDialog& dlg) override {
    titles.push_back(dlg.GetWindowText());
    toolWindows += (dlg.windowFlags() & Qt::WindowStaysOnTopHint) != 0;
    m_inner.ShowModeless(dlg);
  }
  void UpdateWindow(QWidget& w) override {
    if (auto* label = qobject_cast<QLabel*>(&w)) status.push_back(label->text().toStdString());
    m_inner.UpdateWindow(w);
  }
  std::vector<std::string> status;
  std::vector<CString> titles;
  int toolWindows = 0;

 private:
  ScriptedUiHost& m_inner;
};

class RunButtons : public MainDialogFixture {
 protected:
  CZORIX7CheckDlg& StartWithSets() {
    WriteConfig("[Init]\nParametersatz=1\nZyklen=200\n[Karte1-Satz1]\nActive=yes\n[Karte1-Satz2]\nActive=yes\n");
    CZORIX7CheckDlg& d = Start();
    for (const auto& row : TestColumn()) d.*row.autoCheck = FALSE;
    d.m_bEinzelmessung = d.m_bBlockmessung = TRUE;
    d.UpdateData(FALSE);
    return d;
  }
  std::vector<std::string> Lines() const {
    std::vector<std::string> out;
    for (const auto& l : dlg->ResultLines()) out.push_back(l.text.str());
    return out;
  }
};

TEST_F(RunButtons, CheckAllRunsShotAndBlockMeasurement) {
  CZORIX7CheckDlg& d = StartWithSets();
  host.QueueAnswer(IDCANCEL);  // "ASCAN?"
  d.OnCheckAll();
  EXPECT_EQ(Lines(), (std::vector<std::string>{"Einzelmessung Kanal 1: OK", "Blockmessung Kanal 1: 116 Bytes OK",
                                                "Alle Tests: 2 OK, 0 Fehler"}));
  EXPECT_EQ(d.ResultLines()[1].verdict, Verdict::Pass);
  ASSERT_EQ(host.Dialogs().size(), 2u);
  EXPECT_EQ(host.Dialogs()[0].className, "CAnzeigeDlg");
  EXPECT_EQ(host.Dialogs()[1].className, "CDataBlendenDlg");

  // Without a terminal the question is answered Cancel, so the manual loop ends at once.
  FILE* out = std::tmpfile();
  TerminalUiHost terminal(out, false, IDYES);
  EXPECT_EQ(terminal.MessageBox("ASCAN?", "Blockmessung", MB_YESNOCANCEL), IDCANCEL);
  std::fclose(out);
}

TEST_F(RunButtons, BlockMeasurementChoosesItsSetsAndEditorShoots) {
  CZORIX7CheckDlg& d = StartWithSets();
  d.m_bBlockmessung = d.m_bEinzelmessung = FALSE;
  d.UpdateData(FALSE);
  QueueDialog<CBlockmessungDlg>([](CBlockmessungDlg& sel) {
    EXPECT_FALSE(IsChecked(sel, CBlockmessungDlg::IDC_BLOCK));
    EXPECT_TRUE(IsChecked(sel, CBlockmessungDlg::IDC_BLOCK + 2));
    SetCheck(sel, CBlockmessungDlg::IDC_BLOCK + 3, true);
    return ScriptedUiHost::PressOk(sel);
  });
  host.QueueAnswer(IDCANCEL);
  Click(d, IDC_BLOCKMESSUNG);
  EXPECT_TRUE(d.m_active[0].flag[3]);
  EXPECT_EQ(zorix7sim::JournalOf("ActiveParam").back().args, "01110000");
  QueueDialog<CBlockmessungDlg>([](CBlockmessungDlg& sel) {
    SetCheck(sel, CBlockmessungDlg::IDC_BLOCK + 3, false);
    return ScriptedUiHost::PressCancel(sel);
  });
  Click(d, IDC_BLOCKMESSUNG);
  EXPECT_TRUE(d.m_active[0].flag[3]) << "Cancel leaves the flags";
  EXPECT_EQ(Lines().back(), "Blockmessung Kanal 1: ");
  EXPECT_EQ(d.ResultLines().back().verdict, Verdict::Fail);

  QueueDialog<CAnzeigeVorgabenDlg>([](CAnzeigeVorgabenDlg& editor) { return ScriptedUiHost::PressOk(editor); });
  QueueDialog<CAnzeigeDlg>([](CAnzeigeDlg& scan) {
    EXPECT_EQ(scan.m_nBytes, 6u + 3200u);
    EXPECT_NE(scan.m_pGateReadout, nullptr);
    return ScriptedUiHost::PressOk(scan);
  });
  Click(d, IDC_SHOT);
  EXPECT_EQ(Lines().back(), "Einzelmessung Kanal 1: OK");
  const size_t lines = Lines().size();
  QueueDialog<CAnzeigeVorgabenDlg>([](CAnzeigeVorgabenDlg& editor) { return ScriptedUiHost::PressCancel(editor); });
  Click(d, IDC_SHOT);
  EXPECT_EQ(Lines().size(), lines) << "no shot, no line";
}

TEST_F(RunButtons, DataRateButtonsShowTheCycleAndTheirWindows) {
  CZORIX7CheckDlg& d = StartWithSets();
  RecordingHost recording(host);
  ScopedUiHost scoped(recording);
  for (int id : {IDC_RATE11, IDC_RATEN1, IDC_RATE1N}) EXPECT_TRUE(d.IsButtonLive(id));
  d.m_nParamSet = 2;
  d.m_nZyklen = 300;
  d.UpdateData(FALSE);
  Click(d, IDC_RATEN1);
  EXPECT_EQ(d.ResultLines().back().verdict, Verdict::Pass) << Lines().back();
  EXPECT_EQ(recording.titles, (std::vector<CString>{"Karte 1 Parametersatz 1", "Karte 1 Parametersatz 2"}));
  EXPECT_EQ(recording.toolWindows, 2);
  ASSERT_GE(recording.status.size(), 3u);
  EXPECT_EQ(recording.status.front(), "Zyklus 1 / 300");
  EXPECT_EQ(recording.status[recording.status.size() - 2], "Zyklus 300 / 300");
  EXPECT_EQ(recording.status.back(), "") << "cleared when the run is over";
  EXPECT_LT(recording.status.size(), 40u) << "shown at most every 100 ms";

  d.m_nZyklen = 0;
  d.UpdateData(FALSE);
  Click(d, IDC_RATE11);
  EXPECT_EQ(d.ResultLines().back().verdict, Verdict::Info) << "no cycle, nothing measured";
  Click(d, IDC_RATE1N);
  EXPECT_EQ(Lines().back().find("1 Kanal: Datenrate 1600 Samples -> "), 0u) << Lines().back();
}

}  // namespace
