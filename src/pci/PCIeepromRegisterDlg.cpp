#include "pci/PCIeepromRegisterDlg.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "card/PciInterface.h"
#include "pci/PCIeepromVorgabenDlg.h"
#include "pci/PciLayout.h"
#include "pci/PresetsDlg.h"
#include "platform/TextParse.h"
#include "platform/UiHost.h"

using namespace pci;

const std::array<CPCIeepromRegisterDlg::Control, kEepromFieldCount>& CPCIeepromRegisterDlg::Controls() {
  static const std::array<Control, kEepromFieldCount> controls = {{
      {IDC_SIGNATURE, eSignature},
      {IDC_LENGTH, eLength},
      {IDC_ENTRY, eEntry},
      {IDC_PCI_POINTER, ePciPointer},
      {IDC_VENDOR_ID, eVendorId},
      {IDC_DEVICE_ID, eDeviceId},
      {IDC_REVISION_ID, eRevisionId},
      {IDC_CLASS_CODE, eClassCode},
      {IDC_BASE0, eBase0},
      {IDC_BASE1, eBase1},
      {IDC_BASE2, eBase2},
      {IDC_BASE3, eBase3},
      {IDC_BASE4, eBase4},
      {IDC_EXPANSION_ROM, eExpansionRom},
      {IDC_INTERRUPT_LINE, eInterruptLine},
      {IDC_INTERRUPT_PIN, eInterruptPin},
      {IDC_MINIMUM_GRANT, eMinimumGrant},
      {IDC_MAX_LATENCY, eMaximumLatency},
  }};
  return controls;
}

CPCIeepromRegisterDlg::CPCIeepromRegisterDlg(HZORIX7 card, QWidget* parent) : CTestDialog(IDD, parent), m_hCard(card) {
  SetWindowText("PCI EEPROM Register");
}

void CPCIeepromRegisterDlg::CreateControls() {
  auto* outer = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  outer->addLayout(grid);
  int index = 0;
  for (const Control& c : Controls()) {
    QWidget* field =
        index < static_cast<int>(kHeaderFields) ? static_cast<QWidget*>(AddStatic(c.id, "")) : AddEdit(c.id);
    PlacePair(grid, index++, 9, AddStatic(0, EepromFieldOf(c.field).label), field);
  }
  auto* bits = new QGroupBox("Configuration Bits", this);
  auto* bitsRow = new QHBoxLayout(bits);
  bitsRow->addWidget(AddCheck(IDC_PCI, "PCI"));
  bitsRow->addWidget(AddCheck(IDC_ASYNC_RD, "Async.RD"));
  bitsRow->addWidget(AddCheck(IDC_ASYNC_WR, "Async.WR"));
  outer->addWidget(bits);
  auto* buttons = new QHBoxLayout;
  outer->addLayout(buttons);
  buttons->addWidget(AddButton(IDC_WRITE, "Write", [this] { OnWrite(); }));
  buttons->addWidget(AddButton(IDC_VORGABEN, "Vorgaben", [this] { OnVorgaben(); }));
  buttons->addWidget(AddButton(IDOK, "OK"));
}

void CPCIeepromRegisterDlg::DoDataExchange(CDataExchange* pDX) {
  for (size_t i = 0; i < Controls().size(); ++i) DDX_Text(pDX, Controls()[i].id, m_fields[i]);
  DDX_Check(pDX, IDC_PCI, m_bPci);
  DDX_Check(pDX, IDC_ASYNC_RD, m_bAsyncRead);
  DDX_Check(pDX, IDC_ASYNC_WR, m_bAsyncWrite);
}

BOOL CPCIeepromRegisterDlg::Check(CString& result) {
  CardEeprom eeprom(m_hCard);
  return CheckEeprom(eeprom, ProfilePresets(kEepromSection), CurrentUiHost().MayChangeCard(), result, m_wouldWrite);
}

void CPCIeepromRegisterDlg::ReadFields() {
  CardEeprom eeprom(m_hCard);
  for (size_t i = 0; i < Controls().size(); ++i) {
    const EepromFieldId id = Controls()[i].field;
    m_fields[i] = text::FormatHex(ReadField(eeprom, id), EepromFieldOf(id).digits);
  }
}

BOOL CPCIeepromRegisterDlg::OnInitDialog() {
  ReadFields();
  const uint32_t bits = CardEeprom(m_hCard).Read(pcieeprom::kConfigBits, 2);
  m_bPci = (bits & pcieeprom::kBitPci) != 0;
  m_bAsyncRead = (bits & pcieeprom::kBitAsyncRead) != 0;
  m_bAsyncWrite = (bits & pcieeprom::kBitAsyncWrite) != 0;
  return CTestDialog::OnInitDialog();
}

void CPCIeepromRegisterDlg::OnWrite() {
  if (MessageBox("Wollen Sie wirklich schreiben?", "PCI EEPROM", MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  UpdateData(TRUE);
  EepromEdits edits;
  for (size_t i = kHeaderFields; i < Controls().size(); ++i)
    edits[Controls()[i].field] = text::ParseHex(m_fields[i].str());
  CardEeprom eeprom(m_hCard);
  WriteChangedFields(eeprom, edits, ConfigBitsWord(m_bPci, m_bAsyncRead, m_bAsyncWrite));
  // The part shows what it took; the check-boxes keep their state.
  ReadFields();
  UpdateData(FALSE);
}

void CPCIeepromRegisterDlg::OnVorgaben() {
  CPCIeepromVorgabenDlg dlg(this);
  dlg.DoModal();
}
