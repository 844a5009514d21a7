#include "commands/CmdAverageDlg.h"

CCmdAverageDlg::CCmdAverageDlg(QWidget* parent) : CCmdParamDlg(IDD, "Average Parameter", {}, parent) {
  SetControls({Number(IDC_ANZAHL, "Anzahl", m_nAnzahl)});
}

void CCmdAverageDlg::Preset(const regmap::Registers&) { m_nAnzahl = 0; }

std::optional<std::vector<DWORD>> CCmdAverageDlg::Compose() { return std::vector<DWORD>{m_nAnzahl}; }
