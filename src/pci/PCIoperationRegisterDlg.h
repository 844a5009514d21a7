#pragma once
// The operation registers of the card's PCI interface: mailboxes, bus-master addresses and
// counts, status registers; shown and written. No presets exist for them.
#include <array>

#include "card/zorix7dll.h"
#include "pci/PciOperation.h"
#include "platform/CTestDialog.h"

class CPCIoperationRegisterDlg : public CTestDialog {
 public:
  enum : int {
    IDD = 135,
    IDC_IN_MAILBOX1 = 1004,
    IDC_IN_MAILBOX2 = 1005,
    IDC_IN_MAILBOX3 = 1006,
    IDC_IN_MAILBOX4 = 1007,
    IDC_OUT_MAILBOX1 = 1000,
    IDC_OUT_MAILBOX2 = 1001,
    IDC_OUT_MAILBOX3 = 1002,
    IDC_OUT_MAILBOX4 = 1003,
    IDC_WRITE_ADDRESS = 1008,
    IDC_WRITE_COUNT = 1009,
    IDC_READ_ADDRESS = 1010,
    IDC_READ_COUNT = 1011,
    IDC_MAILBOX_STATUS = 1012,
    IDC_INTERRUPT_STATUS = 1013,
    IDC_MASTER_STATUS = 1014,
    IDC_WRITE = 1206,
  };
  // The control of each register of pci::kOperationRegisters, in that order.
  static constexpr std::array<int, 15> kControls = {
      IDC_IN_MAILBOX1,  IDC_IN_MAILBOX2,  IDC_IN_MAILBOX3,    IDC_IN_MAILBOX4,      IDC_OUT_MAILBOX1,
      IDC_OUT_MAILBOX2, IDC_OUT_MAILBOX3, IDC_OUT_MAILBOX4,   IDC_WRITE_ADDRESS,    IDC_WRITE_COUNT,
      IDC_READ_ADDRESS, IDC_READ_COUNT,   IDC_MAILBOX_STATUS, IDC_INTERRUPT_STATUS, IDC_MASTER_STATUS};

  explicit CPCIoperationRegisterDlg(HZORIX7 card, QWidget* parent = nullptr);

  // Nothing to compare: "OK" without reading the card.
  BOOL Check(CString& result) override;
  BOOL OnInitDialog() override;
  void OnWrite();

  std::array<CString, 15> m_fields;  // parallel to pci::kOperationRegisters

 protected:
  void CreateControls() override;
  void DoDataExchange(CDataExchange* pDX) override;

 private:
  void ReadRegisters();
  HZORIX7 m_hCard;
};
