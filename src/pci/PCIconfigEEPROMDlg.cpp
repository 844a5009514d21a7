#include "pci/PCIconfigEEPROMDlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "pci/PciLayout.h"
#include "platform/TextParse.h"

using namespace pci;

const std::array<CPCIconfigEEPROMDlg::Control, 14>& CPCIconfigEEPROMDlg::Controls() {
  static const std::array<Control, 14> controls = {{
      {IDC_VENDOR_ID, "Vendor ID", eVendorId},
      {IDC_DEVICE_ID, "Device ID", eDeviceId},
      {IDC_REVISION_ID, "Revision ID", eRevisionId},
      {IDC_CLASS_CODE, "Class Code", eClassCode},
      {IDC_BASE0, "Baseaddress 0", eBase0},
      {IDC_BASE1, "Baseaddress 1", eBase1},
      {IDC_BASE2, "Baseaddress 2", eBase2},
      {IDC_BASE3, "Baseaddress 3", eBase3},
      {IDC_BASE4, "Baseaddress 4", eBase4},
      {IDC_BASE_ROM, "Base Address ROM", eExpansionRom},
      {IDC_INTERRUPT_LINE, "Interrupt Line", eInterruptLine},
      {IDC_INTERRUPT_PIN, "Interrupt Pin", eInterruptPin},
      {IDC_MINIMUM_GRANT, "Minimum Grant", eMinimumGrant},
      {IDC_MAX_LATENCY, "Max Latency", eMaximumLatency},
  }};
  return controls;
}

CPCIconfigEEPROMDlg::CPCIconfigEEPROMDlg(HZORIX7 card, QWidget* parent) : CDialog(IDD, parent), m_hCard(card) {
  SetWindowText("PCI Configuration EEPROM");
}

void CPCIconfigEEPROMDlg::CreateControls() {
  auto* outer = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  outer->addLayout(grid);
  int index = 0;
  for (const Control& c : Controls()) {
    QLineEdit* edit = AddEdit(c.id);
    edit->setReadOnly(true);
    PlacePair(grid, index++, 7, AddStatic(0, c.label), edit);
  }
  outer->addWidget(AddButton(IDOK, "OK"));
}

void CPCIconfigEEPROMDlg::DoDataExchange(CDataExchange* pDX) {
  for (size_t i = 0; i < Controls().size(); ++i) DDX_Text(pDX, Controls()[i].id, m_fields[i]);
}

BOOL CPCIconfigEEPROMDlg::OnInitDialog() {
  CardEeprom eeprom(m_hCard);
  for (size_t i = 0; i < Controls().size(); ++i) {
    const EepromFieldId id = Controls()[i].field;
    m_fields[i] = text::FormatHex(ReadField(eeprom, id), EepromFieldOf(id).digits);
  }
  return CDialog::OnInitDialog();
}
