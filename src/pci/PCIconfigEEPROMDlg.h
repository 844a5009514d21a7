#pragma once
// Read-only view of the configuration image the PCI EEPROM holds.
#include <array>

#include "card/zorix7dll.h"
#include "pci/PciEepromCheck.h"
#include "platform/CDialog.h"

class CPCIconfigEEPROMDlg : public CDialog {
 public:
  enum : int {
    IDD = 134,
    IDC_VENDOR_ID = 1100,
    IDC_DEVICE_ID = 1105,
    IDC_REVISION_ID = 1102,
    IDC_CLASS_CODE = 1107,
    IDC_BASE0 = 1116,
    IDC_BASE1 = 1115,
    IDC_BASE2 = 1114,
    IDC_BASE3 = 1113,
    IDC_BASE4 = 1117,
    IDC_BASE_ROM = 1103,
    IDC_INTERRUPT_LINE = 1109,
    IDC_INTERRUPT_PIN = 1110,
    IDC_MINIMUM_GRANT = 1111,
    IDC_MAX_LATENCY = 1112,
  };
  struct Control {
    int id;
    const char* label;
    pci::EepromFieldId field;
  };
  static const std::array<Control, 14>& Controls();

  explicit CPCIconfigEEPROMDlg(HZORIX7 card, QWidget* parent = nullptr);
  BOOL OnInitDialog() override;

  std::array<CString, 14> m_fields;  // parallel to Controls()

 protected:
  void CreateControls() override;
  void DoDataExchange(CDataExchange* pDX) override;

 private:
  HZORIX7 m_hCard;
};
