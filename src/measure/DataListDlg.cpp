#include "measure/DataListDlg.h"

#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "measure/DataListText.h"
#include "measure/ListFont.h"

CDataListDlg::CDataListDlg(QWidget* parent) : CDialog(IDD_DATALIST, parent) {
  SetWindowText("Data");
  // 249 x 259 dialog units.
  resize(498, 583);
}

void CDataListDlg::CreateControls() {
  auto* layout = new QVBoxLayout(this);
  QListWidget* list = AddListBox(IDC_DATALIST, m_listData);
  list->setFont(measure::fixedPitchListFont());
  layout->addWidget(list);
  layout->addWidget(AddButton(IDOK, "OK", [this] { OnOK(); }), 0, Qt::AlignRight);
}

BOOL CDataListDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_listData.ResetContent();
  m_listData.AddStrings(measure::dataListLines(m_pData, m_pData ? m_nBytes : 0, m_bHeader != FALSE,
                                               m_b8Bit != FALSE, m_nSampleRate));
  return TRUE;
}
