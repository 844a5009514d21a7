// The configuration and EEPROM dialogs on a virtual card: what they show, what "Write" and
// "Save" do, and that the checks read the presets at every run.
#include <gmock/gmock.h>

#include "pci/PCIconfigEEPROMDlg.h"
#include "pci/PCIconfigRegisterDlg.h"
#include "pci/PCIconfigVorgabenDlg.h"
#include "pci/PCIeepromRegisterDlg.h"
#include "pci/PCIeepromVorgabenDlg.h"
#include "support/CardDialogFixture.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using zorix7sim::JournalOf;

namespace {
std::vector<std::string> Args(const char* call) {
  std::vector<std::string> out;
  for (const auto& e : JournalOf(call)) out.push_back(e.args);
  return out;
}
size_t EepromWrites() {
  return JournalOf("WritePCIEEPROMbyte").size() + JournalOf("WritePCIEEPROMword").size() +
         JournalOf("WritePCIEEPROMdword").size();
}
}  // namespace

using ConfigDialog = CardDialogFixture;

TEST_F(ConfigDialog, ShowsTheHeaderWithItsDigitsAndThePosition) {
  OpenBench();
  CPCIconfigRegisterDlg dlg(card);
  dlg.InitDialog();
  using D = CPCIconfigRegisterDlg;
  const std::pair<int, const char*> shown[] = {{D::IDC_VENDOR_ID, "1E7A"},
                                               {D::IDC_CLASS_CODE, "118000"},
                                               {D::IDC_BIST, "00"},
                                               {D::IDC_BASE1, "0000D101"},
                                               {D::IDC_SUBSYSTEM_ID, "0071"},
                                               {D::IDC_SUBVENDOR_ID, "1E7A"},
                                               {D::IDC_POSITION, "Bus 2, Slot 5, ZORIX7F"}};
  for (auto [id, text] : shown) EXPECT_EQ(dlg.GetDlgItemText(id), text) << id;
  EXPECT_EQ(dlg.FieldLabel(D::IDC_SUBSYSTEM_ID), "SubsystemID");
  EXPECT_EQ(dlg.FieldLabel(D::IDC_SUBVENDOR_ID), "SubVendorID");

  OpenBench("[Card 1]\nVariant=ZORIX7\nBus=4\nSlot=9\n[Card 2]\n", 2);
  zorix7sim::AddFault({"GetCardPosition", 2, 0, 0xE0000042});
  CPCIconfigRegisterDlg second(card);
  second.InitDialog();
  EXPECT_EQ(second.GetDlgItemText(D::IDC_POSITION), "Error E0000042, ZORIX7F");
  OpenBench("[Card 1]\nVariant=ZORIX7\nBus=4\nSlot=9\n");
  CPCIconfigRegisterDlg plain(card);
  plain.InitDialog();
  EXPECT_EQ(plain.GetDlgItemText(D::IDC_POSITION), "Bus 4, Slot 9");
}

TEST_F(ConfigDialog, WriteAsksThenStoresTheFieldsAndShowsWhatTheCardTook) {
  // Bytes no field stands for carry marks, so "as read" is seen in the written image.
  OpenBench("[Card 1]\nBarSize4=0x100\nPciConfig.0x20=21 22 23 24 25 26 27 28\nPciConfig.0x28=A1 A2 A3 A4 B1 B2 B3 B4\n"
            "PciConfig.0x40=C0 C1\nPciConfig.0xFE=FE FF\n");
  std::array<BYTE, 256> expected = Model().Config();
  using D = CPCIconfigRegisterDlg;
  CPCIconfigRegisterDlg dlg(card);
  dlg.InitDialog();
  SetEditText(dlg, D::IDC_COMMAND, "0x0146");
  host.QueueAnswer(IDNO);
  Click(dlg, D::IDC_WRITE);
  EXPECT_TRUE(JournalOf("WriteConfigData").empty());
  EXPECT_EQ(dlg.GetDlgItemText(D::IDC_COMMAND), "0x0146");

  SetEditText(dlg, D::IDC_BASE0, "ffffffff");  // size bits of a 0x80-byte region stay 0
  SetEditText(dlg, D::IDC_LATENCY_TIMER, "40");
  SetEditText(dlg, D::IDC_INTERRUPT_LINE, "zz");  // no number: the register stays, the field shows it
  EXPECT_TRUE(dlg.GetDlgItem(D::IDC_INTERRUPT_LINE)->property("refused").toBool());
  EXPECT_FALSE(dlg.GetDlgItem(D::IDC_LATENCY_TIMER)->property("refused").toBool());
  EXPECT_EQ(dlg.GetDlgItem(D::IDC_INTERRUPT_LINE)->toolTip().toStdString(),
            "Erwartet: eine Hexadezimalzahl (bis FFFFFFFF)");
  host.QueueAnswer(IDYES);
  Click(dlg, D::IDC_WRITE);
  ASSERT_EQ(host.Boxes().size(), 2u);
  EXPECT_EQ(host.Boxes()[1].text,
            "Wollen Sie wirklich schreiben?\n\nDiese Felder sind ungültig und werden ignoriert:\n"
            "  Interrupt Line: \"zz\"");
  EXPECT_EQ(host.Boxes()[1].caption, "PCI Configuration Register");
  ASSERT_EQ(JournalOf("WriteConfigData").size(), 1u);
  // The image sent, byte for byte: the three edited fields, everything else as read.
  expected[0x04] = 0x46, expected[0x05] = 0x01, expected[0x0D] = 0x40;
  std::fill_n(&expected[0x10], 4, 0xFF);
  std::string image;
  for (BYTE b : expected) image += CString::Formatted(image.empty() ? "%02X" : " %02X", b).str();
  EXPECT_EQ(JournalOf("WriteConfigData")[0].args, image);
  EXPECT_EQ(dlg.GetDlgItemText(D::IDC_COMMAND), "0146");
  EXPECT_EQ(dlg.GetDlgItemText(D::IDC_BASE0), "FFFFFF80");
  EXPECT_EQ(dlg.GetDlgItemText(D::IDC_LATENCY_TIMER), "40");
  EXPECT_EQ(dlg.GetDlgItemText(D::IDC_INTERRUPT_LINE), "0A");
  EXPECT_EQ(Model().Config()[0x3C], 0x0A);
}

TEST_F(ConfigDialog, UnreadableConfigurationFailsTheCheckAndRefusesToWrite) {
  OpenBench();
  zorix7sim::AddFault({"ReadConfigData", 1, 0, zorix7sim::kErrInjected});
  CPCIconfigRegisterDlg dlg(card);
  CString result;
  EXPECT_FALSE(dlg.Check(result));
  EXPECT_EQ(result, "PCI-Konfiguration nicht lesbar");
  dlg.InitDialog();
  EXPECT_EQ(dlg.GetDlgItemText(CPCIconfigRegisterDlg::IDC_VENDOR_ID), "");
  SetEditText(dlg, CPCIconfigRegisterDlg::IDC_COMMAND, "0");
  Click(dlg, CPCIconfigRegisterDlg::IDC_WRITE);  // no question: nothing to answer
  ASSERT_EQ(host.Boxes().size(), 1u);
  EXPECT_THAT(host.Boxes()[0].text.str(), HasSubstr("nicht lesbar"));
  EXPECT_TRUE(JournalOf("WriteConfigData").empty());
}

TEST_F(ConfigDialog, PresetsAreSavedAsTypedAndReadAtEveryCheck) {
  OpenBench();
  CPCIconfigRegisterDlg dlg(card);
  dlg.InitDialog();
  CString result;
  EXPECT_FALSE(dlg.Check(result));
  EXPECT_EQ(result, "Keine Vorgabe für VendorID gespeichert");
  QueueDialog<CPCIconfigVorgabenDlg>([this](CPCIconfigVorgabenDlg& v) {
    EXPECT_EQ(v.GetDlgItemText(CPCIconfigVorgabenDlg::IDC_DEVICE_ID), "0");
    SetEditText(v, CPCIconfigVorgabenDlg::IDC_VENDOR_ID, "0x1e7a");
    SetEditText(v, CPCIconfigVorgabenDlg::IDC_BASE4, "beliebig");
    host.QueueAnswer(IDNO);
    Click(v, CPCIconfigVorgabenDlg::IDC_SAVE);
    EXPECT_EQ(ReadConfig(), "");
    host.QueueAnswer(IDYES);
    Click(v, CPCIconfigVorgabenDlg::IDC_SAVE);
    return ScriptedUiHost::PressOk(v);
  });
  Click(dlg, CPCIconfigRegisterDlg::IDC_VORGABEN);
  EXPECT_EQ(host.Boxes().back().caption, "PCI Configuration Vorgaben");
  EXPECT_THAT(host.Boxes().back().text.str(), HasSubstr("ignoriert:\n  Base Address 4: \"beliebig\""));
  EXPECT_EQ(ReadConfig(),
            "[PCIconfiguration]\r\nVendorID=0x1e7a\r\nDeviceID=0\r\nCommand=0\r\nStatus=0\r\nBIST=0\r\n"
            "RevisionID=0\r\nClass=0\r\nHeaderType=0\r\nLatencyTimer=0\r\nCacheLineSize=0\r\nBaseaddress0=0\r\n"
            "Baseaddress1=0\r\nBaseaddress2=0\r\nBaseaddress3=0\r\nBaseaddress4=beliebig\r\nBaseaddressROM=0\r\n"
            "SubsystemID=0\r\nSubVendorID=0\r\nMaximumLatency=0\r\nMinimumGrant=0\r\nInterruptPin=0\r\n"
            "InterruptLine=0\r\n");
  EXPECT_FALSE(dlg.Check(result));
  EXPECT_EQ(result, "DeviceID Soll: 0000 Ist: 7007");
}

TEST_F(ConfigDialog, EepromButtonShowsTheConfigurationImageOfTheEeprom) {
  OpenBench("[Card 1]\nEeprom.0x49=56 34 12\nEeprom.0x7C=0B 02 03 04\n");
  CPCIconfigRegisterDlg dlg(card);
  dlg.InitDialog();
  QueueDialog<CPCIconfigEEPROMDlg>([](CPCIconfigEEPROMDlg& e) {
    using E = CPCIconfigEEPROMDlg;
    const std::pair<int, const char*> shown[] = {{E::IDC_VENDOR_ID, "1E7A"},   {E::IDC_CLASS_CODE, "123456"},
                                                 {E::IDC_BASE0, "FEB01000"},   {E::IDC_INTERRUPT_LINE, "0B"},
                                                 {E::IDC_INTERRUPT_PIN, "02"}, {E::IDC_MINIMUM_GRANT, "03"},
                                                 {E::IDC_MAX_LATENCY, "04"}};
    for (auto [id, text] : shown) EXPECT_EQ(e.GetDlgItemText(id), text) << id;
    return ScriptedUiHost::PressOk(e);
  });
  Click(dlg, CPCIconfigRegisterDlg::IDC_EEPROM);
  EXPECT_EQ(EepromWrites(), 0u);
}

using EepromDialog = CardDialogFixture;

TEST_F(EepromDialog, ShowsTheFieldsAndTheConfigurationBits) {
  OpenBench("[Card 1]\nEeprom.0x44=00 60\n");
  using D = CPCIeepromRegisterDlg;
  CPCIeepromRegisterDlg dlg(card);
  dlg.InitDialog();
  const std::pair<int, const char*> shown[] = {{D::IDC_SIGNATURE, "55AA"},    {D::IDC_LENGTH, "01"},
                                               {D::IDC_ENTRY, "00003DE9"},    {D::IDC_PCI_POINTER, "001C"},
                                               {D::IDC_CLASS_CODE, "118000"}, {D::IDC_INTERRUPT_LINE, "0A"}};
  for (auto [id, text] : shown) EXPECT_EQ(dlg.GetDlgItemText(id), text) << id;
  EXPECT_FALSE(IsChecked(dlg, D::IDC_PCI));
  EXPECT_TRUE(IsChecked(dlg, D::IDC_ASYNC_RD));
  EXPECT_TRUE(IsChecked(dlg, D::IDC_ASYNC_WR));
}

TEST_F(EepromDialog, WriteChangesOnlyFieldsThatDifferAndTheConfigurationWordHoldsThreeBits) {
  OpenBench("[Card 1]\nEeprom.0x44=FF FF\n");
  using D = CPCIeepromRegisterDlg;
  CPCIeepromRegisterDlg dlg(card);
  dlg.InitDialog();
  SetEditText(dlg, D::IDC_VENDOR_ID, "1e7b");
  host.QueueAnswer(IDNO);
  Click(dlg, D::IDC_WRITE);
  EXPECT_EQ(EepromWrites(), 0u);
  EXPECT_EQ(dlg.GetDlgItemText(D::IDC_VENDOR_ID), "1e7b");

  SetEditText(dlg, D::IDC_DEVICE_ID, "kaputt");
  SetEditText(dlg, D::IDC_MAX_LATENCY, "0x40");
  SetCheck(dlg, D::IDC_ASYNC_RD, false);
  host.QueueAnswer(IDYES);
  Click(dlg, D::IDC_WRITE);
  EXPECT_EQ(host.Boxes().back().caption, "PCI EEPROM");
  EXPECT_THAT(Args("WritePCIEEPROMword"), ElementsAre("0x40, 0x1E7B", "0x44, 0xA000", "0x7E, 0x4000"));
  EXPECT_EQ(EepromWrites(), 3u);
  EXPECT_EQ(dlg.GetDlgItemText(D::IDC_VENDOR_ID), "1E7B");
  EXPECT_EQ(dlg.GetDlgItemText(D::IDC_DEVICE_ID), "7007");
  EXPECT_FALSE(IsChecked(dlg, D::IDC_ASYNC_RD));
}

TEST_F(EepromDialog, CheckReadsThePresetsSavedByThePresetsDialog) {
  OpenBench();
  CPCIeepromRegisterDlg dlg(card);
  dlg.InitDialog();
  QueueDialog<CPCIeepromVorgabenDlg>([this](CPCIeepromVorgabenDlg& v) {
    using D = CPCIeepromRegisterDlg;
    EXPECT_EQ(v.GetDlgItemText(D::IDC_SIGNATURE), "0");
    const std::pair<int, const char*> typed[] = {{D::IDC_VENDOR_ID, "1E7A"},    {D::IDC_DEVICE_ID, "7007"},
                                                 {D::IDC_REVISION_ID, "3"},     {D::IDC_CLASS_CODE, "118000"},
                                                 {D::IDC_BASE0, "FEB01000"},    {D::IDC_BASE1, "D101"},
                                                 {D::IDC_BASE2, "FC100000"},    {D::IDC_BASE3, "FBF10000"},
                                                 {D::IDC_INTERRUPT_LINE, "0A"}, {D::IDC_INTERRUPT_PIN, "1"}};
    for (const auto& [id, text] : typed) SetEditText(v, id, text);
    host.QueueAnswer(IDYES);
    Click(v, CPCIeepromVorgabenDlg::IDC_SAVE);
    return ScriptedUiHost::PressOk(v);
  });
  Click(dlg, CPCIeepromRegisterDlg::IDC_VORGABEN);
  EXPECT_EQ(host.Boxes().back().caption, "PCI Local Configuration Vorgaben");
  EXPECT_THAT(ReadConfig(), HasSubstr("[PCIEEPROM]\r\nSignature=0\r\nLength=0\r\nEntry=0\r\nPCIpointer=0\r\n"
                                      "DeviceID=7007\r\nVendorID=1E7A\r\n"));
  EXPECT_THAT(ReadConfig(), HasSubstr("InterruptLine=0A\r\nInterruptPin=1\r\nMaximumLatency=0\r\nMinimumGrant=0\r\n"));
  // The header presets of 0 are written into the part; the rest already matches.
  CString result;
  EXPECT_TRUE(dlg.Check(result));
  EXPECT_EQ(result, "nach Schreiben OK");
  EXPECT_EQ(ZORIX7ReadPCIEEPROMword(card, 0), 0u);
  EXPECT_TRUE(dlg.Check(result));
  EXPECT_EQ(result, "OK");
}
