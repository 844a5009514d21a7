#include "pci/PCIoperationRegisterDlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "pci/PciLayout.h"
#include "platform/TextParse.h"
#include "platform/UiHost.h"

using pci::kOperationRegisters;

CPCIoperationRegisterDlg::CPCIoperationRegisterDlg(HZORIX7 card, QWidget* parent)
    : CTestDialog(IDD, parent), m_hCard(card) {
  SetWindowText("PCI Operation Register");
}

void CPCIoperationRegisterDlg::CreateControls() {
  auto* outer = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  outer->addLayout(grid);
  for (size_t i = 0; i < kOperationRegisters.size(); ++i)
    pci::PlacePair(grid, static_cast<int>(i), 8, AddStatic(0, kOperationRegisters[i].label), AddEdit(kControls[i]));
  auto* buttons = new QHBoxLayout;
  outer->addLayout(buttons);
  buttons->addWidget(AddButton(IDC_WRITE, "Write", [this] { OnWrite(); }));
  buttons->addWidget(AddButton(IDOK, "OK"));
}

void CPCIoperationRegisterDlg::DoDataExchange(CDataExchange* pDX) {
  for (size_t i = 0; i < kControls.size(); ++i) DDX_Text(pDX, kControls[i], m_fields[i]);
}

BOOL CPCIoperationRegisterDlg::Check(CString& result) {
  result = "OK";
  return TRUE;
}

void CPCIoperationRegisterDlg::ReadRegisters() {
  for (size_t i = 0; i < kOperationRegisters.size(); ++i)
    m_fields[i] = text::FormatHex(ZORIX7ReadRegister(m_hCard, kOperationRegisters[i].offset), 8);
}

BOOL CPCIoperationRegisterDlg::OnInitDialog() {
  ReadRegisters();
  return CTestDialog::OnInitDialog();
}

void CPCIoperationRegisterDlg::OnWrite() {
  if (MessageBox("Wollen Sie wirklich schreiben?", "PCI Local Configuration Register", MB_YESNO | MB_ICONQUESTION) !=
      IDYES)
    return;
  UpdateData(TRUE);
  for (uint32_t offset : pci::kOperationWriteOrder) {
    // A field that holds no number leaves its register as it is.
    if (auto value = text::ParseHex(m_fields[pci::OperationIndex(offset)].str()))
      ZORIX7WriteRegister(m_hCard, offset, *value);
  }
  ReadRegisters();
  UpdateData(FALSE);
}
