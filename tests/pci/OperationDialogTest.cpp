// The operation register dialog on a virtual card: its check, and "Write" with each register
// from its own field.
#include <gmock/gmock.h>

#include "pci/PCIoperationRegisterDlg.h"
#include "support/CardDialogFixture.h"

using ::testing::ElementsAre;
using zorix7sim::JournalOf;

namespace {
std::vector<std::string> WriteArgs() {
  std::vector<std::string> out;
  for (const auto& e : JournalOf("WriteRegister")) out.push_back(e.args);
  return out;
}
}  // namespace

using OperationDialog = CardDialogFixture;

TEST_F(OperationDialog, CheckPassesWithoutReadingAnything) {
  OpenBench();
  zorix7sim::AddFault({"ReadRegister", 1, 0, zorix7sim::kErrInjected});
  CPCIoperationRegisterDlg dlg(card);
  CString result;
  EXPECT_TRUE(dlg.Check(result));
  EXPECT_EQ(result, "OK");
  EXPECT_TRUE(JournalOf("ReadRegister").empty());
}

TEST_F(OperationDialog, WriteSetsEachRegisterFromItsOwnField) {
  OpenBench();
  using D = CPCIoperationRegisterDlg;
  CPCIoperationRegisterDlg dlg(card);
  dlg.InitDialog();
  EXPECT_EQ(dlg.GetDlgItemText(D::IDC_OUT_MAILBOX1), "00000207");
  EXPECT_EQ(dlg.GetDlgItemText(D::IDC_MAILBOX_STATUS), "000F0000");
  for (size_t i = 0; i < D::kControls.size(); ++i)
    SetEditText(dlg, D::kControls[i], CString::Formatted("%X", static_cast<unsigned>(0xA0 + i)));
  SetEditText(dlg, D::IDC_WRITE_ADDRESS, "0x12345677");
  SetEditText(dlg, D::IDC_READ_COUNT, "nix");
  host.QueueAnswer(IDNO);
  Click(dlg, D::IDC_WRITE);
  EXPECT_TRUE(JournalOf("WriteRegister").empty());
  EXPECT_EQ(dlg.GetDlgItemText(D::IDC_IN_MAILBOX2), "A1");
  host.QueueAnswer(IDYES);
  Click(dlg, D::IDC_WRITE);
  EXPECT_EQ(host.Boxes().back().caption, "PCI Local Configuration Register");
  EXPECT_THAT(WriteArgs(), ElementsAre("0x4, 0xA1", "0x8, 0xA2", "0xC, 0xA3", "0x24, 0x12345677", "0x28, 0xA9",
                                       "0x2C, 0xAA", "0x38, 0xAD", "0x3C, 0xAE"));
  EXPECT_EQ(dlg.GetDlgItemText(D::IDC_IN_MAILBOX1), "00000000");
  EXPECT_EQ(dlg.GetDlgItemText(D::IDC_WRITE_ADDRESS), "12345674");
  EXPECT_EQ(dlg.GetDlgItemText(D::IDC_MAILBOX_STATUS), "000FFFF0");
}
