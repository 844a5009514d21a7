#pragma once
#include "commands/CmdParamDlg.h"

// Edits the command dialog's SAP delay in place; it composes no command word.
class CCmdSAPdelayDlg : public CCmdParamDlg {
 public:
  enum : int { IDD = 160, IDC_SAP_DELAY = 1000 };
  explicit CCmdSAPdelayDlg(QWidget* parent = nullptr);

  WORD* m_pSapDelay = nullptr;
  WORD m_nSapDelay = 0;

 protected:
  void Preset(const regmap::Registers& regs) override;
  std::optional<std::vector<DWORD>> Compose() override;
};
