// The three PCI buttons of the main dialog: silent checks with their lines and verdicts, or
// their dialogs.
#include <gmock/gmock.h>

#include "AppTestSupport.h"
#include "pci/PCIconfigRegisterDlg.h"

using PciButtons = MainDialogFixture;

TEST_F(PciButtons, AutomaticModesLogTheirVerdictsAndManualModeOpensTheDialog) {
  WriteConfig(
      "[PCIEEPROM]\r\nSignature=55AA\r\nLength=1\r\nEntry=3DE9\r\nPCIpointer=1C\r\nVendorID=1E7A\r\n"
      "DeviceID=7007\r\nRevisionID=3\r\nClass=118000\r\nBaseaddress0=FEB01000\r\nBaseaddress1=D101\r\n"
      "Baseaddress2=FC100000\r\nBaseaddress3=FBF10000\r\nBaseaddress4=0\r\nBaseaddressROM=0\r\nInterruptLine=A\r\n"
      "InterruptPin=1\r\nMinimumGrant=0\r\nMaximumLatency=0\r\n");
  auto& d = Start();
  for (int id : {IDC_CHECK_PCICONFIG, IDC_CHECK_PCIEEPROM, IDC_CHECK_PCIOPERATION}) SetCheck(d, id, true);
  for (int id : {IDC_PCICONFIG, IDC_PCIEEPROM, IDC_PCIOPERATION}) Click(d, id);
  ASSERT_EQ(d.ResultLines().size(), 3u);
  EXPECT_EQ(d.ResultLines()[0].text, "PCI Configuration: Keine Vorgabe für VendorID gespeichert");
  EXPECT_EQ(d.ResultLines()[0].verdict, Verdict::Fail);
  EXPECT_EQ(d.ResultLines()[1].text, "PCI EEPROM: OK");
  EXPECT_EQ(d.ResultLines()[1].verdict, Verdict::Pass);
  EXPECT_EQ(d.ResultLines()[2].text, "PCI Operation: OK");
  EXPECT_EQ(d.m_listResult.GetCurSel(), 2);

  SetCheck(d, IDC_CHECK_PCICONFIG, false);
  int opened = 0;
  QueueDialog<CPCIconfigRegisterDlg>([&opened](CPCIconfigRegisterDlg& dlg) {
    ++opened;
    EXPECT_EQ(dlg.GetDlgItemText(CPCIconfigRegisterDlg::IDC_POSITION), "Bus 2, Slot 5, ZORIX7F");
    return ScriptedUiHost::PressOk(dlg);
  });
  Click(d, IDC_PCICONFIG);
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(d.ResultLines().size(), 3u);
}
