#include "diag/DataLCADlg.h"

#include "card/DataLca.h"
#include "diag/LcaCheck.h"

CDataLCADlg::CDataLCADlg(HZORIX7 card) : CRegisterDlg(IDD, card, datalca::DataLcaFields(), "Daten-LCA-Register") {}

BOOL CDataLCADlg::Check(CString& result) {
  std::string text;
  BOOL ok = diag::CheckDataLca(CardReader(), text) ? TRUE : FALSE;
  result = text;
  return ok;
}
