#include "app/ZORIX9Dlg.h"

#include <QLabel>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>

CZORIX9Dlg::CZORIX9Dlg(ZorixIdent* ident, QWidget* parent) : CDialog(IDD_ZORIX9, parent), m_pIdent(ident) {
  SetWindowText("ZORIX9");
}

void CZORIX9Dlg::CreateControls() {
  auto* grid = new QGridLayout(this);
  grid->addWidget(AddStatic(0, "Kennung"), 0, 0);
  grid->addWidget(AddEdit(IDC_ZORIX9_KENNUNG), 0, 1);
  grid->addWidget(AddButton(IDOK, "OK", [this] { OnOK(); }), 1, 0);
  grid->addWidget(AddButton(IDCANCEL, "Cancel", [this] { OnCancel(); }), 1, 1);
}

void CZORIX9Dlg::DoDataExchange(CDataExchange* pDX) { DDX_Text(pDX, IDC_ZORIX9_KENNUNG, m_nKennung); }

BOOL CZORIX9Dlg::OnInitDialog() {
  m_nKennung = static_cast<short>(-*m_pIdent);
  return CDialog::OnInitDialog();
}

void CZORIX9Dlg::OnOK() {
  if (!UpdateData(TRUE)) return;
  *m_pIdent = static_cast<ZorixIdent>(-m_nKennung);
  EndDialog(IDOK);
}
