#pragma once
// "Daten-LCA-Register": the data LCA's registers and gate results, gate limits written back.
#include "diag/RegisterDlg.h"

class CDataLCADlg : public CRegisterDlg {
 public:
  enum : int { IDD = 143 };
  explicit CDataLCADlg(HZORIX7 card);
  // Automatic mode: the data LCA answers with a valid ID.
  BOOL Check(CString& result) override;
};
