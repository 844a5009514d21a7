#include "measure/DataBlendenDlg.h"

#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "measure/ListFont.h"
#include "measure/ResultText.h"

CDataBlendenDlg::CDataBlendenDlg(const void* data, UINT bytes, const ActiveSetFlags* active,
                                 BOOL zorix9Mode, QWidget* parent)
    : CDialog(IDD_DATABLENDEN, parent),
      m_pData(static_cast<const BYTE*>(data)),
      m_nBytes(bytes),
      m_pActive(active),
      m_bZorix9Mode(zorix9Mode) {
  SetWindowText("Blendenwerte");
  resize(700, 500);
}

void CDataBlendenDlg::CreateControls() {
  auto* layout = new QVBoxLayout(this);
  QListWidget* list = AddListBox(IDC_BLENDENLIST, m_listBlenden);
  list->setFont(measure::fixedPitchListFont());
  layout->addWidget(list);
  layout->addWidget(AddButton(IDOK, "OK", [this] { OnOK(); }), 0, Qt::AlignRight);
}

BOOL CDataBlendenDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_listBlenden.ResetContent();
  // Without the card's flags no set counts as active: plain framing then lists the count only.
  const ActiveSetFlags none{};
  m_listBlenden.AddStrings(measure::resultLines(m_pData, m_pData ? m_nBytes : 0, m_bZorix9Mode != FALSE,
                                                m_pActive ? *m_pActive : none));
  return TRUE;
}
