#pragma once
#include "commands/CmdParamDlg.h"

// The filter number of the hardware configuration.
class CCmdHWconfigDlg : public CCmdParamDlg {
 public:
  enum : int { IDD = 154, IDC_FILTER = 1000 };
  explicit CCmdHWconfigDlg(QWidget* parent = nullptr);

  UINT m_nFilter = 0;

 protected:
  void Preset(const regmap::Registers& regs) override;
  std::optional<std::vector<DWORD>> Compose() override;
};
