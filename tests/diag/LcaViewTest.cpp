#include "card/ControlLca.h"
#include "card/DataLca.h"
#include "diag/DataLCADlg.h"
#include "diag/LCADlg.h"
#include "support/CardDialogFixture.h"

using zorix7sim::JournalOf;

namespace {
int Id(int field, int button = 0) { return CRegisterDlg::FieldControlId(field, button); }

class LcaView : public CardDialogFixture {
 protected:
  template <typename Dlg>
  Dlg& Open(const std::string& cardKeys) {
    OpenBench(("[Card 1]\n" + cardKeys).c_str());
    auto* d = new Dlg(card);
    dlg.reset(d);
    d->InitDialog();
    return *d;
  }
  // Registers touched since the journal was cleared, by call name.
  static std::vector<DWORD> Registers(const char* call) {
    std::vector<DWORD> regs;
    for (const auto& e : JournalOf(call)) regs.push_back(std::stoul(e.args, nullptr, 16));
    return regs;
  }
  void Write(CRegisterDlg& d, int answer) {
    zorix7sim::ClearJournal();
    host.QueueAnswer(answer);
    Click(d, CRegisterDlg::IDC_WRITE);
  }
  DWORD Reg(DWORD address) { return Model().ReadRegister(address); }
  std::unique_ptr<CRegisterDlg> dlg;
};
}  // namespace

TEST_F(LcaView, ControlLcaShowsTheRegistersAndWritesThemBackInOrder) {
  using namespace lca;
  CLCADlg& d = Open<CLCADlg>("Reg0x402=0x0385\nReg0x410=0x0000\nReg0x404=0x0100\n");
  for (int f : {fMessung, fStart, fAdcEnable, fPrimaryOn, fSenderOn, fErrorTrigger})
    EXPECT_TRUE(IsChecked(d, Id(f))) << f;
  for (int f : {fReset, fResetError, fSecondaryOn, fEclOn}) EXPECT_FALSE(IsChecked(d, Id(f))) << f;
  EXPECT_TRUE(IsChecked(d, Id(fClock, 0)));  // "80 MHz"
  for (int b = 0; b < 3; ++b) EXPECT_FALSE(IsChecked(d, Id(fMeasurement, b)));
  EXPECT_FALSE(d.GetDlgItem(Id(fErrorTrigger))->isEnabled()) << "status is shown, not edited";

  SetEditText(d, Id(fDelay), "65537");
  Click(d, Id(fInputMode, 3));  // "Testsignal"
  Write(d, IDNO);
  EXPECT_TRUE(JournalOf("WriteRegister").empty());

  Write(d, IDYES);
  EXPECT_EQ(Registers("WriteRegister"),
            std::vector<DWORD>({0x402, 0x406, 0x434, 0x408, 0x40A, 0x40C, 0x40E, 0x410, 0x412, 0x414, 0x436,
                                0x416, 0x418, 0x41A, 0x41C, 0x41E, 0x420, 0x424, 0x428, 0x42A, 0x42C}));
  EXPECT_EQ(Reg(kDelayLow), 1u);
  EXPECT_EQ(Reg(kDelayHigh), 1u);
  EXPECT_EQ(Reg(kCommand), 0x0385u);
  EXPECT_EQ(Reg(kTrigger) & 0x0C, 0u) << "no measurement button selected writes 0";
  EXPECT_EQ(Reg(kAnalog) & 0xE0, 0xE0u) << "input mode in bits 5-7";
  EXPECT_EQ(Registers("ReadRegister"),
            std::vector<DWORD>({0x400, 0x402, 0x404, 0x406, 0x434, 0x408, 0x40A, 0x40C, 0x40E, 0x410, 0x412, 0x414, 0x436,
                                0x416, 0x418, 0x41A, 0x41C, 0x41E, 0x420, 0x422, 0x424, 0x428, 0x42A, 0x42C, 0x42E}))
      << "read again, in the view's order";
  EXPECT_EQ(d.GetDlgItemText(Id(fDelay)), "65537");
  EXPECT_TRUE(IsChecked(d, Id(fInputMode, 3)));
}

TEST_F(LcaView, DataLcaShowsGateResultsAndKeepsGateLimitsApart) {
  using namespace datalca;
  CDataLCADlg& d = Open<CDataLCADlg>("Reg0x602=0x4105\nReg0x610=0x7F80\nReg0x612=321\n");
  for (int f : {fFifo2, fAddition}) EXPECT_TRUE(IsChecked(d, Id(f)));
  for (int f : {fVirtuell, fClock16, fZorix9}) EXPECT_FALSE(IsChecked(d, Id(f)));
  EXPECT_TRUE(IsChecked(d, Id(fPacking, 1)));        // "2 x 8 Bit"
  EXPECT_TRUE(IsChecked(d, Id(fRectification, 1)));  // "positiv"
  EXPECT_EQ(d.GetDlgItemText(Id(fMaximum1)), "510");
  EXPECT_EQ(d.GetDlgItemText(Id(fTime1)), "321");
  EXPECT_EQ(d.GetDlgItemText(Id(fLcaId)), "7032");

  SetEditText(d, Id(fAverage), "9");
  SetEditText(d, Id(fStart1), "1234");
  SetEditText(d, Id(fTriggerDelay), "65538");
  Write(d, IDYES);
  EXPECT_EQ(Registers("WriteRegister"),
            std::vector<DWORD>({0x602, 0x604, 0x606, 0x608, 0x610, 0x612, 0x614, 0x616, 0x618, 0x61A, 0x61C, 0x61E}));
  EXPECT_EQ(Registers("ReadRegister"),
            std::vector<DWORD>({0x600, 0x602, 0x604, 0x608, 0x606, 0x60C, 0x60A, 0x610, 0x612, 0x614, 0x616, 0x618,
                                0x61A, 0x61C, 0x61E, 0x430, 0x432}));
  EXPECT_EQ((Reg(kMode) >> 3) & 7, 7u) << "Average 9 is written as 7";
  EXPECT_EQ(Reg(kTriggerDelayLow), 2u);
  EXPECT_EQ(Reg(kTriggerDelayHigh), 1u);
  EXPECT_EQ(Model().gateLimits.at(kGate1), 1234);
  EXPECT_EQ(d.GetDlgItemText(Id(fMaximum1)), "510") << "limits do not change the results";
  EXPECT_EQ(d.GetDlgItemText(Id(fStart1)), "1234") << "limits are not read back";

  Model().WriteRegister(kMode, 0x0300);
  Click(d, CRegisterDlg::IDC_READ);
  EXPECT_TRUE(IsChecked(d, Id(fPacking, 0))) << "3 shows as \"ungepackt\"";
}

TEST_F(LcaView, AutomaticChecksReportTheFirstFault) {
  auto check = [&](auto* type, const std::string& keys, BOOL expected) {
    auto& d = Open<std::remove_pointer_t<decltype(type)>>(keys);
    CString result;
    EXPECT_EQ(d.Check(result), expected) << result.str();
    return result;
  };
  CLCADlg* control = nullptr;
  CDataLCADlg* data = nullptr;
  EXPECT_EQ(check(control, "", TRUE), "OK");
  EXPECT_EQ(check(control, "Reg0x404=0x00FF\nReg0x422=0x0F00\n", FALSE), "DS1 Write Error");
  EXPECT_EQ(check(control, "Reg0x404=0x0300\nReg0x422=0x0100\n", FALSE), "Error Trigger");
  EXPECT_EQ(check(control, "Reg0x422=0x8000\n", FALSE), "AF Read Error");
  EXPECT_EQ(check(control, "Variant=ZORIX7\n", FALSE), "LCA-ID FFFF ungültig");
  EXPECT_EQ(check(data, "", TRUE), "OK");
  EXPECT_EQ(check(data, "Reg0x600=0\n", FALSE), "LCA-ID 0000 ungültig");
}
