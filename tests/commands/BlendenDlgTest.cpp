// The gates dialog on a virtual card: units and rounding, OK as the only way back into the
// set, the coupling of gate 0 and the echo-start gate, readouts, results and the data list.
#include <gmock/gmock.h>

#include "commands/BlendenDlg.h"
#include "commands/DataBlendenDlg.h"
#include "measure/DataListDlg.h"
#include "support/CardDialogFixture.h"

namespace {
using D = CBlendenDlg;

class BlendenDlgTest : public CardDialogFixture {
 protected:
  // Opens the dialog on set `set`; with shoot the card has fired once, so it has a readout.
  D& Open(bool shoot = true, BOOL zorix9 = FALSE) {
    OpenBench();
    DWORD error = 0;
    if (zorix9) ZORIX7SetZORIX9(card, 0, -11, &error);
    if (shoot) ZORIX7Start(card, &error);
    dlg = std::make_unique<D>(card, &set, &active, zorix9, data.data(), 6);
    dlg->InitDialog();
    return *dlg;
  }
  CString Text(int id) { return dlg->GetDlgItemText(id); }

  ParameterSet set;
  ActiveSetFlags active{};
  std::vector<BYTE> data = std::vector<BYTE>(kDataBufferBytes);
  std::unique_ptr<D> dlg;
};

TEST_F(BlendenDlgTest, MicrosecondsAndMillimetresRoundTripIntoSamples) {
  set.Samplerate = 3;  // 0.1 µs, granularity 1
  set.Gates.gate[1].start = 1000;
  set.Gates.gate[2].start = 1000;
  set.Gates.gate[3].threshold = 400;
  auto& d = Open();
  GateReadout r{};
  DWORD error = 0;
  ASSERT_TRUE(ZORIX7GetGates(card, &r, &error));
  EXPECT_EQ(Text(D::IDC_DELAY), CString::Formatted("%d", r.d));
  EXPECT_EQ(Text(D::IDC_TIME0 + 1), CString::Formatted("%d", r.gate[1].t));
  EXPECT_EQ(Text(D::IDC_SCHWELLE0 + 3), "100");
  EXPECT_EQ(Text(D::IDC_FEHLER), "");

  Click(d, D::IDC_US);
  EXPECT_EQ(Text(D::IDC_ANFANG0 + 1), "100");
  EXPECT_EQ(Text(D::IDC_TIME0 + 1), CString::Formatted("%f", static_cast<double>(r.gate[1].t * 0.1f)));
  Click(d, D::IDC_MM);
  EXPECT_EQ(Text(D::IDC_ANFANG0 + 2), "296");
  Click(d, D::IDC_US);
  SetEditText(d, D::IDC_ANFANG0 + 1, "100.04");
  SetEditText(d, D::IDC_SCHWELLE0 + 3, "120");
  Click(d, IDOK);
  EXPECT_EQ(set.Gates.gate[1].start, 1000u);
  EXPECT_EQ(set.Gates.gate[2].start, 1000u);
  EXPECT_EQ(set.Gates.gate[3].threshold, 480);

  // A velocity of 0 has no millimetres.
  auto& again = Open();
  SetEditText(again, D::IDC_VELOCITY, "0");
  Click(again, D::IDC_MM);
  EXPECT_EQ(host.Boxes().back().caption, "Blenden");
  EXPECT_EQ(Text(D::IDC_ANFANG0 + 1), "1000");
}

TEST_F(BlendenDlgTest, GatesOneToFourKeepTheirGridOnlyCancelLeavesTheSet) {
  set.Samplerate = 0;  // granularity 8
  set.Gates.gate[1].start = 13;
  set.Gates.gate[1].end = 11;
  set.Gates.gate[0].start = 13;
  set.ESBTime = 13;
  auto& d = Open();
  Click(d, D::IDC_US);
  Click(d, D::IDC_SAMPLES);
  EXPECT_EQ(Text(D::IDC_ANFANG0 + 1), "16");
  EXPECT_EQ(Text(D::IDC_ENDE0 + 1), "8");
  EXPECT_EQ(Text(D::IDC_ANFANG0), "13");
  EXPECT_EQ(Text(D::IDC_ESB_TIME), "13");
  SetEditText(d, D::IDC_ENDE0 + 2, "37.9");
  Click(d, IDCANCEL);
  EXPECT_EQ(set.Gates.gate[1].start, 13u) << "the set changes on OK only";
  EXPECT_EQ(set.Gates.gate[2].end, ParameterSet().Gates.gate[2].end);

  auto& ok = Open();
  SetEditText(ok, D::IDC_ENDE0 + 2, "37.9");
  SetCheck(ok, D::IDC_ENABLE0 + 4, false);
  SetCheck(ok, D::IDC_RELATIV, true);
  Click(ok, IDOK);
  EXPECT_EQ(set.Gates.gate[2].end, 37u) << "samples are stored truncated, off the grid";
  EXPECT_FALSE(set.Gates.enable[4]);
  EXPECT_TRUE(set.ESBrelativ);
}

TEST_F(BlendenDlgTest, EsbFollowsGateZeroWhileCoupled) {
  auto& d = Open();
  EXPECT_TRUE(IsChecked(d, D::IDC_ESB_B0));
  SetEditText(d, D::IDC_ANFANG0, "350");
  SetEditText(d, D::IDC_SCHWELLE0, "12");
  EXPECT_EQ(Text(D::IDC_ESB_TIME), "350");
  EXPECT_EQ(Text(D::IDC_LEVEL), "12");
  SetCheck(d, D::IDC_ESB_B0, false);
  SetEditText(d, D::IDC_ANFANG0, "400");
  EXPECT_EQ(Text(D::IDC_ESB_TIME), "350");
  Click(d, IDOK);
  EXPECT_EQ(set.ESBTime, 350u);
  EXPECT_EQ(set.ESBLevel, 48);
  EXPECT_EQ(set.Gates.gate[0].start, 400u);
  EXPECT_EQ(set.Gates.gate[0].threshold, 48);
}

TEST_F(BlendenDlgTest, ReadoutFailuresAndTheAutomaticCheck) {
  auto& d = Open(false);
  EXPECT_EQ(Text(D::IDC_FEHLER), " B: E0000007") << "no shot yet";
  EXPECT_EQ(Text(D::IDC_TIME0), "");
  EXPECT_EQ(Text(D::IDC_MAXIMUM0 + 4), "");
  Click(d, D::IDC_US);
  EXPECT_EQ(Text(D::IDC_DELAY), "") << "no readout, nothing to convert";
  CString result;
  EXPECT_FALSE(d.Check(result));
  EXPECT_EQ(result, "GetGates Error E0000007");

  DWORD error = 0;
  ZORIX7Start(card, &error);
  EXPECT_TRUE(d.Check(result));
  EXPECT_EQ(result, "OK");
  zorix7sim::AddFault({"GetGates", 1, 0, 0xAB});
  EXPECT_FALSE(d.Check(result));
  EXPECT_EQ(result, "GetGates Error AB");
  d.InitDialog();
  EXPECT_EQ(Text(D::IDC_FEHLER), " B: AB");
}

TEST_F(BlendenDlgTest, ResultsAndDataList) {
  auto& d = Open(true, TRUE);
  QueueDialog<CDataBlendenDlg>([](CDataBlendenDlg& v) {
    EXPECT_EQ(v.GetWindowText(), "Blendenwerte");
    EXPECT_GT(v.m_listBlenden.GetCount(), 2);
    EXPECT_EQ(v.m_listBlenden.GetText(0), CString::Formatted("%u Bytes", v.m_nBytes));
    return ScriptedUiHost::PressOk(v);
  });
  Click(d, D::IDC_RESULTS);
  EXPECT_THAT(Text(D::IDC_FEHLER).str(), ::testing::MatchesRegex("[0-9]+ Bytes OK"));

  zorix7sim::AddFault({"GetResults", 1, 1, 0x42});
  Click(d, D::IDC_RESULTS);
  EXPECT_EQ(Text(D::IDC_FEHLER), "GetResults Error 42");

  // Plain framing: a shot of set 0 leaves no record.
  auto& plain = Open();
  Click(plain, D::IDC_RESULTS);
  EXPECT_EQ(Text(D::IDC_FEHLER), "GetResults no Data ");

  set.b8Bit = TRUE;
  set.Samplerate = 2;
  QueueDialog<CDataListDlg>([this](CDataListDlg& l) {
    EXPECT_EQ(l.m_pData, data.data());
    EXPECT_EQ(l.m_nBytes, 6u);
    EXPECT_TRUE(l.m_b8Bit);
    EXPECT_FALSE(l.m_bHeader);
    EXPECT_EQ(l.m_nSampleRate, 2);
    EXPECT_EQ(l.m_listData.GetCount(), 7);
    return ScriptedUiHost::PressOk(l);
  });
  Click(plain, D::IDC_DATA_LIST);
}

}  // namespace
