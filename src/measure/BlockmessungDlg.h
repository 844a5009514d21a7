#pragma once
#include "card/zorix7dll.h"
#include "platform/CDialog.h"

// The sets a block measurement runs ("automatische Messung"): "Block" (set 0) and
// "Parametersatz 1" to "Parametersatz 7", on a copy of the card's active flags. OK writes
// all eight back; Cancel leaves them as they were.
class CBlockmessungDlg : public CDialog {
  Q_OBJECT

 public:
  enum : int { IDD = 165, IDC_BLOCK = 1320 };  // IDC_BLOCK + s: the box of set s
  explicit CBlockmessungDlg(ActiveSetFlags* flags, QWidget* parent = nullptr);
  BOOL OnInitDialog() override;
  void OnOK() override;

  BOOL m_bActive[8] = {};

 protected:
  void CreateControls() override;
  void DoDataExchange(CDataExchange* pDX) override;

 private:
  ActiveSetFlags* m_pFlags;
};
