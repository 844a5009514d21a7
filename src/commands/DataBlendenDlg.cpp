#include "commands/DataBlendenDlg.h"

#include "measure/ResultText.h"

CDataBlendenDlg::CDataBlendenDlg(const void* data, UINT bytes, const ActiveSetFlags* active,
                                 BOOL zorix9Mode, QWidget* parent)
    : CListingDlg(IDD, IDC_BLENDENLIST, m_listBlenden, parent),
      m_pData(static_cast<const BYTE*>(data)),
      m_nBytes(bytes),
      m_pActive(active),
      m_bZorix9Mode(zorix9Mode) {
  SetWindowText("Blendenwerte");
  resize(700, 500);
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
