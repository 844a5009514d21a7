#pragma once
#include "commands/CmdParamDlg.h"

// The number of shots averaged.
class CCmdAverageDlg : public CCmdParamDlg {
 public:
  enum : int { IDD = 155, IDC_ANZAHL = 1000 };
  explicit CCmdAverageDlg(QWidget* parent = nullptr);

  UINT m_nAnzahl = 0;

 protected:
  void Preset(const regmap::Registers& regs) override;
  std::optional<std::vector<DWORD>> Compose() override;
};
