#include "measure/BlockmessungDlg.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

CBlockmessungDlg::CBlockmessungDlg(ActiveSetFlags* flags, QWidget* parent) : CDialog(IDD, parent), m_pFlags(flags) {
  SetWindowText("automatische Messung");
}

void CBlockmessungDlg::CreateControls() {
  auto* column = new QVBoxLayout(this);
  column->addWidget(AddCheck(IDC_BLOCK, "Block"));
  for (int s = 1; s < 8; ++s) column->addWidget(AddCheck(IDC_BLOCK + s, CString::Formatted("Parametersatz %d", s)));
  auto* buttons = new QHBoxLayout();
  buttons->addWidget(AddButton(IDOK, "OK"));
  buttons->addWidget(AddButton(IDCANCEL, "Abbrechen"));
  column->addLayout(buttons);
}

void CBlockmessungDlg::DoDataExchange(CDataExchange* pDX) {
  for (int s = 0; s < 8; ++s) DDX_Check(pDX, IDC_BLOCK + s, m_bActive[s]);
}

BOOL CBlockmessungDlg::OnInitDialog() {
  for (int s = 0; s < 8; ++s) m_bActive[s] = m_pFlags->flag[s] ? TRUE : FALSE;
  return CDialog::OnInitDialog();
}

void CBlockmessungDlg::OnOK() {
  if (!UpdateData(TRUE)) return;
  for (int s = 0; s < 8; ++s) m_pFlags->flag[s] = m_bActive[s];
  EndDialog(IDOK);
}
