#include "pci/PCIconfigRegisterDlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "card/PciConfig.h"
#include "pci/PCIconfigEEPROMDlg.h"
#include "pci/PCIconfigVorgabenDlg.h"
#include "pci/PciLayout.h"
#include "pci/PresetsDlg.h"
#include "platform/TextParse.h"
#include "platform/UiHost.h"

using namespace pci;

namespace {
constexpr const char* kCaption = "PCI Configuration Register";
}

const std::array<CPCIconfigRegisterDlg::Field, 22>& CPCIconfigRegisterDlg::Fields() {
  static const std::array<Field, 22> fields = {{
      {IDC_VENDOR_ID, "Vendor ID", {kVendorId, 16}, 4, true},
      {IDC_DEVICE_ID, "Device ID", {kDeviceId, 16}, 4, true},
      {IDC_COMMAND, "Command", {kCommand, 16}, 4, false},
      {IDC_STATUS, "Status", {kStatus, 16}, 4, false},
      {IDC_BIST, "BIST", {kBist, 8}, 2, false},
      {IDC_REVISION_ID, "Revision ID", {kRevisionId, 8}, 2, true},
      {IDC_CLASS_CODE, "Class Code", {kClassCode, 24}, 6, true},
      {IDC_HEADER_TYPE, "Header Type", {kHeaderType, 8}, 2, true},
      {IDC_LATENCY_TIMER, "Latency Timer", {kLatencyTimer, 8}, 2, false},
      {IDC_CACHE_LINE_SIZE, "Cache Line Size", {kCacheLineSize, 8}, 2, true},
      {IDC_BASE0, "Base Address 0", {kBaseAddress0, 32}, 8, false},
      {IDC_BASE1, "Base Address 1", {kBaseAddress1, 32}, 8, false},
      {IDC_BASE2, "Base Address 2", {kBaseAddress2, 32}, 8, false},
      {IDC_BASE3, "Base Address 3", {kBaseAddress3, 32}, 8, false},
      // As on Windows, "Base Address 4" shows and writes the dword at 0x28.
      {IDC_BASE4, "Base Address 4", {kCardbusCis, 32}, 8, false},
      {IDC_BASE_ROM, "Base Address ROM", {kExpansionRom, 32}, 8, false},
      // Unlabelled on Windows: the two halves of the dword at 0x2C.
      {IDC_SUBSYSTEM_ID, "SubsystemID", {kSubsystemId, 16}, 4, false},
      {IDC_SUBVENDOR_ID, "SubVendorID", {kSubsystemVendorId, 16}, 4, false},
      {IDC_MAX_LATENCY, "Max Latency", {kMaximumLatency, 8}, 2, true},
      {IDC_MINIMUM_GRANT, "Minimum Grant", {kMinimumGrant, 8}, 2, true},
      {IDC_INTERRUPT_PIN, "Interrupt Pin", {kInterruptPin, 8}, 2, true},
      {IDC_INTERRUPT_LINE, "Interrupt Line", {kInterruptLine, 8}, 2, false},
  }};
  return fields;
}

CPCIconfigRegisterDlg::CPCIconfigRegisterDlg(HZORIX7 card, QWidget* parent) : CTestDialog(IDD, parent), m_hCard(card) {
  SetWindowText("PCI Config Register");
}

void CPCIconfigRegisterDlg::CreateControls() {
  auto* outer = new QVBoxLayout(this);
  outer->addWidget(AddStatic(IDC_POSITION, ""));
  auto* grid = new QGridLayout;
  outer->addLayout(grid);
  int index = 0;
  for (const Field& f : Fields()) {
    QLineEdit* edit = AddEdit(f.id);
    edit->setReadOnly(f.readOnly);
    PlacePair(grid, index++, 11, AddStatic(0, f.label), edit);
    if (!f.readOnly) SetFieldRule(f.id, {FieldRule::Kind::Hex});
  }
  auto* buttons = new QHBoxLayout;
  outer->addLayout(buttons);
  buttons->addWidget(AddButton(IDC_WRITE, "Write", [this] { OnWrite(); }));
  buttons->addWidget(AddButton(IDC_VORGABEN, "Vorgaben", [this] { OnVorgaben(); }));
  buttons->addWidget(AddButton(IDC_EEPROM, "EEPROM", [this] { OnEeprom(); }));
  buttons->addWidget(AddButton(IDOK, "OK"));
}

void CPCIconfigRegisterDlg::DoDataExchange(CDataExchange* pDX) {
  for (size_t i = 0; i < Fields().size(); ++i) DDX_Text(pDX, Fields()[i].id, m_fields[i]);
  DDX_Text(pDX, IDC_POSITION, m_strPosition);
}

BOOL CPCIconfigRegisterDlg::Check(CString& result) {
  PciConfigImage image{};
  if (!ZORIX7ReadConfigData(m_hCard, &image)) {
    result = kConfigUnreadable;
    return FALSE;
  }
  return CheckConfig(ByteView(image.bytes, sizeof image.bytes), ProfilePresets(kConfigSection), result);
}

void CPCIconfigRegisterDlg::FillFields(const PciConfigImage& image) {
  const ByteView view(image.bytes, sizeof image.bytes);
  for (size_t i = 0; i < Fields().size(); ++i)
    m_fields[i] = text::FormatHex(RegisterValue(view, Fields()[i].reg), Fields()[i].digits);
}

BOOL CPCIconfigRegisterDlg::OnInitDialog() {
  m_bReadable = ZORIX7ReadConfigData(m_hCard, &m_read) != FALSE;
  if (!m_bReadable) return CTestDialog::OnInitDialog();
  m_write = m_read;
  FillFields(m_read);
  DWORD bus = 0, slot = 0, error = 0;
  if (ZORIX7GetCardPosition(m_hCard, &bus, &slot, &error))
    m_strPosition.Format("Bus %d, Slot %d", static_cast<int>(bus), static_cast<int>(slot));
  else
    m_strPosition.Format("Error %X", error);
  if (ZORIX7IsVersion3(m_hCard)) m_strPosition += ", ZORIX7F";
  return CTestDialog::OnInitDialog();
}

void CPCIconfigRegisterDlg::OnWrite() {
  // Without an image read from the card, writing would put blank registers on it.
  if (!m_bReadable) {
    MessageBox("PCI-Konfiguration war beim Öffnen nicht lesbar: es wird nichts geschrieben.", kCaption,
               MB_OK | MB_ICONERROR);
    return;
  }
  // A field that is no hexadecimal number leaves its register as it is; the question says which.
  if (MessageBox(WithIgnoredFields("Wollen Sie wirklich schreiben?"), kCaption, MB_YESNO | MB_ICONQUESTION) != IDYES)
    return;
  UpdateData(TRUE);
  ByteWriter image(m_write.bytes, sizeof m_write.bytes);
  for (size_t i = 0; i < Fields().size(); ++i)
    if (auto value = text::ParseHex(m_fields[i].str())) StoreRegister(image, Fields()[i].reg, *value);
  ZORIX7WriteConfigData(m_hCard, &m_write);
  if (ZORIX7ReadConfigData(m_hCard, &m_write)) {
    FillFields(m_write);
    UpdateData(FALSE);
  }
}

void CPCIconfigRegisterDlg::OnVorgaben() {
  CPCIconfigVorgabenDlg dlg(this);
  dlg.DoModal();
}

void CPCIconfigRegisterDlg::OnEeprom() {
  CPCIconfigEEPROMDlg dlg(m_hCard, this);
  dlg.DoModal();
}
