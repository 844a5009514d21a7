#include "diag/LCADlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "card/ControlLca.h"
#include "diag/LcaCheck.h"

CLCADlg::CLCADlg(HZORIX7 card) : CRegisterDlg(IDD, card, lca::ControlLcaFields(), "Steuer-LCA-Register") {}

BOOL CLCADlg::Check(CString& result) {
  std::string text;
  BOOL ok = diag::CheckControlLca(CardReader(), text) ? TRUE : FALSE;
  result = text;
  return ok;
}

void CLCADlg::CreateControls() {
  CRegisterDlg::CreateControls();
  // "Anzahl" and "Vorgaben" have no register and no action: shown, but not to be used.
  QGridLayout* trigger = GroupLayout("SAP Trigger");
  const int row = trigger->rowCount();
  trigger->addWidget(AddStatic(0, "Anzahl"), row, 0);
  QLineEdit* anzahl = AddEdit(IDC_ANZAHL);
  anzahl->setEnabled(false);
  trigger->addWidget(anzahl, row, 1);
  QPushButton* vorgaben = AddButton(IDC_VORGABEN, "Vorgaben");
  vorgaben->setEnabled(false);
  ButtonRow()->insertWidget(2, vorgaben);
}
