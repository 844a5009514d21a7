#pragma once
#include "commands/CmdParamDlg.h"

// The trigger words: the maximum SAP count, and mode, trigger output, input and gate.
class CCmdTriggerDlg : public CCmdParamDlg {
 public:
  enum : int {
    IDD = 159,
    IDC_MASTER = 1000,
    IDC_EINZELN,
    IDC_BEI_START = 1010,
    IDC_BEI_STOP,
    IDC_SAP_EINZELN,
    IDC_EXT_AUSGANG,
    IDC_EXTERN = 1020,
    IDC_TRIGGERBLENDE,
    IDC_MAX_SAP,
  };
  explicit CCmdTriggerDlg(QWidget* parent = nullptr);

  int m_nMaster = 1, m_nEinzeln = 1;
  int m_nBeiStart = 1, m_nBeiStop = 1, m_nSapEinzeln = 1, m_nExtAusgang = 1;
  BOOL m_bExtern = FALSE;
  UINT m_nTriggerblende = 0;
  UINT m_nMaxSap = 0;
  const RadioField m_mode = {{IDC_MASTER, "Master", &m_nMaster}, {IDC_EINZELN, "einzeln", &m_nEinzeln}};
  const RadioField m_output = {{IDC_BEI_START, "bei Start", &m_nBeiStart},
                               {IDC_BEI_STOP, "bei Stop", &m_nBeiStop},
                               {IDC_SAP_EINZELN, "SAP einzeln", &m_nSapEinzeln},
                               {IDC_EXT_AUSGANG, "ext. Ausgang", &m_nExtAusgang}};

 protected:
  void Preset(const regmap::Registers& regs) override;
  std::optional<std::vector<DWORD>> Compose() override;
};
