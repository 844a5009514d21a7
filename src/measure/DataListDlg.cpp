#include "measure/DataListDlg.h"

#include "measure/AscanSaveMenu.h"
#include "measure/DataListText.h"

CDataListDlg::CDataListDlg(QWidget* parent) : CListingDlg(IDD, IDC_DATALIST, m_listData, parent) {
  SetWindowText("Data");
  // 249 x 259 dialog units.
  resize(498, 583);
}

BOOL CDataListDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_listData.ResetContent();
  m_listData.AddStrings(measure::dataListLines(m_pData, m_pData ? m_nBytes : 0, m_bHeader != FALSE,
                                               m_b8Bit != FALSE, m_nSampleRate));
  return TRUE;
}

void CDataListDlg::CreateControls() {
  CListingDlg::CreateControls();
  ascansave::Install(*this, {GetDlgItem(IDC_DATALIST)}, [this] { OnSavePng(); }, [this] { OnSaveCsv(); },
                     [this] { return m_pData != nullptr; });
}

void CDataListDlg::OnSavePng() { ascansave::SavePng(*this); }

void CDataListDlg::OnSaveCsv() {
  ascansave::SaveCsv(*this, {m_pData, m_pData ? m_nBytes : 0, m_bHeader != FALSE, m_b8Bit != FALSE, m_nSampleRate});
}
