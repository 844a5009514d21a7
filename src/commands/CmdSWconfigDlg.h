#pragma once
#include "commands/CmdParamDlg.h"

// Whether the DSP reports echoes.
class CCmdSWconfigDlg : public CCmdParamDlg {
 public:
  enum : int { IDD = 156, IDC_ECHO = 1000 };
  explicit CCmdSWconfigDlg(QWidget* parent = nullptr);

  BOOL m_bEcho = FALSE;

 protected:
  void Preset(const regmap::Registers& regs) override;
  std::optional<std::vector<DWORD>> Compose() override;
};
