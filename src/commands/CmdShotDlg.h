#pragma once
#include "commands/CmdParamDlg.h"

// The shot word: data kind, measurement, sampling clock and the mode flags.
class CCmdShotDlg : public CCmdParamDlg {
 public:
  enum : int {
    IDD = 150,
    IDC_IFF = 1000,
    IDC_TA,
    IDC_8BIT,
    IDC_AVERAGE,
    IDC_KEINE_MESSUNG = 1010,
    IDC_EINZELMESSUNG,
    IDC_AUTOMATISCH,
    IDC_ASCAN = 1020,
    IDC_HF,
    IDC_CLOCK_1 = 1030,
    IDC_CLOCK_2,
    IDC_CLOCK_4,
    IDC_CLOCK_8,
    IDC_VIRTUELL,
  };
  explicit CCmdShotDlg(QWidget* parent = nullptr);

  BOOL m_bIFF = FALSE, m_bTA = FALSE, m_b8Bit = FALSE, m_bAverage = FALSE;
  int m_nKeineMessung = 1, m_nEinzelmessung = 1, m_nAutomatisch = 1;
  int m_nAScan = 1, m_nHF = 1;
  int m_nClock1 = 1, m_nClock2 = 1, m_nClock4 = 1, m_nClock8 = 1, m_nVirtuell = 1;
  const RadioField m_measurement = {{IDC_KEINE_MESSUNG, "keine Messung", &m_nKeineMessung},
                                    {IDC_EINZELMESSUNG, "Einzelmessung", &m_nEinzelmessung},
                                    {IDC_AUTOMATISCH, "automatisch", &m_nAutomatisch}};
  const RadioField m_scan = {{IDC_ASCAN, "A-Scan", &m_nAScan}, {IDC_HF, "HF", &m_nHF}};
  const RadioField m_clock = {{IDC_CLOCK_1, "1/1 Clock", &m_nClock1},
                              {IDC_CLOCK_2, "1/2 Clock", &m_nClock2},
                              {IDC_CLOCK_4, "1/4 Clock", &m_nClock4},
                              {IDC_CLOCK_8, "1/8 Clock", &m_nClock8},
                              {IDC_VIRTUELL, "virtuell", &m_nVirtuell}};

 protected:
  void Preset(const regmap::Registers& regs) override;
  std::optional<std::vector<DWORD>> Compose() override;
};
