#pragma once
// "Steuer-LCA-Register": the control LCA's registers decoded, and written back after a question.
#include "diag/RegisterDlg.h"

class CLCADlg : public CRegisterDlg {
 public:
  enum : int { IDD = 142, IDC_VORGABEN = 1302, IDC_ANZAHL = 1303 };
  explicit CLCADlg(HZORIX7 card);
  // Automatic mode: the LCA answers with a valid ID and no error flag is set.
  BOOL Check(CString& result) override;

 protected:
  void CreateControls() override;
};
