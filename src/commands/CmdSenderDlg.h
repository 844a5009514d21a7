#pragma once
#include "commands/CmdParamDlg.h"

// The sender word: pulse width, energy and the lock.
class CCmdSenderDlg : public CCmdParamDlg {
 public:
  enum : int {
    IDD = 151,
    IDC_450NS = 1000,
    IDC_250NS,
    IDC_150NS,
    IDC_100NS,
    IDC_50NS,
    IDC_25NS,
    IDC_ENERGIE1 = 1010,
    IDC_ENERGIE2,
    IDC_ENERGIE3,
    IDC_ENERGIE4,
    IDC_SPERRE = 1020,
  };
  explicit CCmdSenderDlg(QWidget* parent = nullptr);

  BOOL m_bSperre = FALSE;
  int m_n450 = 1, m_n250 = 1, m_n150 = 1, m_n100 = 1, m_n50 = 1, m_n25 = 1;
  int m_nEnergie1 = 1, m_nEnergie2 = 1, m_nEnergie3 = 1, m_nEnergie4 = 1;
  const RadioField m_pulseWidth = {{IDC_450NS, "450 ns", &m_n450}, {IDC_250NS, "250 ns", &m_n250},
                                   {IDC_150NS, "150 ns", &m_n150}, {IDC_100NS, "100 ns", &m_n100},
                                   {IDC_50NS, "50 ns", &m_n50},    {IDC_25NS, "25 ns", &m_n25}};
  const RadioField m_energy = {{IDC_ENERGIE1, "Energie 1", &m_nEnergie1},
                               {IDC_ENERGIE2, "Energie 2", &m_nEnergie2},
                               {IDC_ENERGIE3, "Energie 3", &m_nEnergie3},
                               {IDC_ENERGIE4, "Energie 4", &m_nEnergie4}};

 protected:
  void Preset(const regmap::Registers& regs) override;
  std::optional<std::vector<DWORD>> Compose() override;
};
