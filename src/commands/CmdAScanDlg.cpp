#include "commands/CmdAScanDlg.h"

#include "commands/CommandWords.h"

CCmdAScanDlg::CCmdAScanDlg(QWidget* parent) : CCmdParamDlg(IDD, "Parameter A-Scan", {}, parent) {
  SetControls(
      {Radios("Gleichrichtung", m_rectification), Number(IDC_ZUSAMMENFASSUNG, "Zusammenfassung", m_nZusammenfassung)});
}

void CCmdAScanDlg::Preset(const regmap::Registers&) {
  SelectRadio(m_rectification, -1);
  m_nZusammenfassung = 0;
}

std::optional<std::vector<DWORD>> CCmdAScanDlg::Compose() {
  return std::vector<DWORD>{cmd::ComposeAScan({SelectedRadio(m_rectification), m_nZusammenfassung})};
}
