#pragma once
#include "commands/CmdParamDlg.h"

// The input word: sender and input attenuation, single or dual probe.
class CCmdInputDlg : public CCmdParamDlg {
 public:
  enum : int { IDD = 152, IDC_SENDERDAEMPFUNG = 1000, IDC_EINGANGSDAEMPFUNG, IDC_SE };
  explicit CCmdInputDlg(QWidget* parent = nullptr);

  UINT m_nSenderdaempfung = 0;
  UINT m_nEingangsdaempfung = 0;
  BOOL m_bSE = FALSE;

 protected:
  void Preset(const regmap::Registers& regs) override;
  std::optional<std::vector<DWORD>> Compose() override;
};
