#pragma once
// The card's PCI configuration header: checked against the presets, shown, edited and
// written back.
#include <array>

#include "card/zorix7dll.h"
#include "pci/PciConfigCheck.h"
#include "platform/CTestDialog.h"

class CPCIconfigRegisterDlg : public CTestDialog {
 public:
  enum : int {
    IDD = 130,
    IDC_VENDOR_ID = 1226,
    IDC_DEVICE_ID = 1227,
    IDC_COMMAND = 1101,
    IDC_STATUS = 1106,
    IDC_BIST = 1117,
    IDC_REVISION_ID = 1228,
    IDC_CLASS_CODE = 1229,
    IDC_HEADER_TYPE = 1104,
    IDC_LATENCY_TIMER = 1108,
    IDC_CACHE_LINE_SIZE = 1103,
    IDC_BASE0 = 1113,
    IDC_BASE1 = 1114,
    IDC_BASE2 = 1115,
    IDC_BASE3 = 1116,
    IDC_BASE4 = 1121,
    IDC_BASE_ROM = 1120,
    IDC_SUBSYSTEM_ID = 1319,
    IDC_SUBVENDOR_ID = 1318,
    IDC_MAX_LATENCY = 1230,
    IDC_MINIMUM_GRANT = 1231,
    IDC_INTERRUPT_PIN = 1232,
    IDC_INTERRUPT_LINE = 1233,
    IDC_POSITION = 1223,
    IDC_WRITE = 1205,
    IDC_VORGABEN = 1095,
    IDC_EEPROM = 1151,
  };
  struct Field {
    int id;
    const char* label;
    pci::Register reg;
    int digits;
    bool readOnly;
  };
  static const std::array<Field, 22>& Fields();

  explicit CPCIconfigRegisterDlg(HZORIX7 card, QWidget* parent = nullptr);

  BOOL Check(CString& result) override;
  BOOL OnInitDialog() override;
  void OnWrite();
  void OnVorgaben();
  void OnEeprom();

  std::array<CString, 22> m_fields;  // parallel to Fields()
  CString m_strPosition;

 protected:
  void CreateControls() override;
  void DoDataExchange(CDataExchange* pDX) override;

 private:
  void FillFields(const PciConfigImage& image);
  HZORIX7 m_hCard;
  bool m_bReadable = false;  // the image was read when the dialog opened
  PciConfigImage m_read{};
  PciConfigImage m_write{};
};
