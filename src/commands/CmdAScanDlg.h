#pragma once
#include "commands/CmdParamDlg.h"

// The A-scan word: rectification and how many samples are summed into one.
class CCmdAScanDlg : public CCmdParamDlg {
 public:
  enum : int { IDD = 157, IDC_POSITIV = 1000, IDC_NEGATIV, IDC_VOLLWEG, IDC_HF, IDC_ZUSAMMENFASSUNG = 1010 };
  explicit CCmdAScanDlg(QWidget* parent = nullptr);

  int m_nPositiv = 1, m_nNegativ = 1, m_nVollweg = 1, m_nHF = 1;
  UINT m_nZusammenfassung = 0;
  const RadioField m_rectification = {{IDC_POSITIV, "positiv", &m_nPositiv},
                                      {IDC_NEGATIV, "negativ", &m_nNegativ},
                                      {IDC_VOLLWEG, "Vollweg", &m_nVollweg},
                                      {IDC_HF, "HF", &m_nHF}};

 protected:
  void Preset(const regmap::Registers& regs) override;
  std::optional<std::vector<DWORD>> Compose() override;
};
