#pragma once
#include "commands/CmdParamDlg.h"

// The gain word in tenths of a dB from the whole dB entered.
class CCmdGainDlg : public CCmdParamDlg {
 public:
  enum : int { IDD = 153, IDC_VERSTAERKUNG = 1000 };
  explicit CCmdGainDlg(QWidget* parent = nullptr);

  float m_fVerstaerkung = 0.0f;

 protected:
  void Preset(const regmap::Registers& regs) override;
  std::optional<std::vector<DWORD>> Compose() override;
};
