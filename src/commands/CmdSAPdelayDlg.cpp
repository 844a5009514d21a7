#include "commands/CmdSAPdelayDlg.h"

CCmdSAPdelayDlg::CCmdSAPdelayDlg(QWidget* parent) : CCmdParamDlg(IDD, "SAP-Delay", {}, parent) {
  SetControls({Word(IDC_SAP_DELAY, "SAP-Delay", m_nSapDelay)});
}

void CCmdSAPdelayDlg::Preset(const regmap::Registers&) { m_nSapDelay = m_pSapDelay ? *m_pSapDelay : 0; }

std::optional<std::vector<DWORD>> CCmdSAPdelayDlg::Compose() {
  if (m_pSapDelay) *m_pSapDelay = m_nSapDelay;
  return std::vector<DWORD>{};
}
