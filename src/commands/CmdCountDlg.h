#pragma once
#include "commands/CmdParamDlg.h"

// The count words: pre-run and recording length, and the recording delay.
class CCmdCountDlg : public CCmdParamDlg {
 public:
  enum : int { IDD = 158, IDC_VORLAUF = 1000, IDC_AUFNAHME, IDC_DELAY };
  explicit CCmdCountDlg(QWidget* parent = nullptr);

  UINT m_nVorlauf = 0;
  UINT m_nAufnahme = 0;
  UINT m_nDelay = 0;

 protected:
  void Preset(const regmap::Registers& regs) override;
  std::optional<std::vector<DWORD>> Compose() override;
};
