#pragma once
// The PCI EEPROM: its fields shown and written, and the check that compares them with the
// presets and repairs them.
#include <array>

#include "card/zorix7dll.h"
#include "pci/PciEepromCheck.h"
#include "platform/CTestDialog.h"

class CPCIeepromRegisterDlg : public CTestDialog {
 public:
  enum : int {
    IDD = 132,
    IDC_SIGNATURE = 1002,
    IDC_ENTRY = 1003,
    IDC_LENGTH = 1004,
    IDC_PCI_POINTER = 1005,
    IDC_VENDOR_ID = 1234,
    IDC_DEVICE_ID = 1235,
    IDC_REVISION_ID = 1236,
    IDC_CLASS_CODE = 1237,
    IDC_INTERRUPT_LINE = 1238,
    IDC_INTERRUPT_PIN = 1239,
    IDC_MINIMUM_GRANT = 1240,
    IDC_MAX_LATENCY = 1241,
    IDC_BASE0 = 1254,
    IDC_BASE1 = 1255,
    IDC_BASE2 = 1247,
    IDC_BASE3 = 1259,
    IDC_BASE4 = 1248,
    IDC_EXPANSION_ROM = 1261,
    IDC_PCI = 1263,
    IDC_ASYNC_RD = 1027,
    IDC_ASYNC_WR = 1028,
    IDC_WRITE = 1095,
    IDC_VORGABEN = 1202,
  };
  struct Control {
    int id;
    pci::EepromFieldId field;
  };
  // Every field with its control, in layout order; the four header values come first and
  // are shown, never edited.
  static const std::array<Control, pci::kEepromFieldCount>& Controls();
  static constexpr size_t kHeaderFields = 4;

  explicit CPCIeepromRegisterDlg(HZORIX7 card, QWidget* parent = nullptr);

  BOOL Check(CString& result) override;
  std::vector<CardWrite> WouldWrite() const override { return m_wouldWrite; }
  BOOL OnInitDialog() override;
  void OnWrite();
  void OnVorgaben();

  std::array<CString, pci::kEepromFieldCount> m_fields;  // parallel to Controls()
  BOOL m_bPci = FALSE;
  BOOL m_bAsyncRead = FALSE;
  BOOL m_bAsyncWrite = FALSE;

 protected:
  void CreateControls() override;
  void DoDataExchange(CDataExchange* pDX) override;

 private:
  void ReadFields();
  HZORIX7 m_hCard;
  std::vector<CardWrite> m_wouldWrite;
};
