#include "commands/CmdInputDlg.h"

#include "commands/CommandWords.h"

CCmdInputDlg::CCmdInputDlg(QWidget* parent) : CCmdParamDlg(IDD, "Parameter Input", cmd::kInputPresets, parent) {
  SetControls({Number(IDC_SENDERDAEMPFUNG, "Senderdämpfung", m_nSenderdaempfung),
               Number(IDC_EINGANGSDAEMPFUNG, "Eingangsdämpfung", m_nEingangsdaempfung), Check(IDC_SE, "S/E", m_bSE)});
}

void CCmdInputDlg::Preset(const regmap::Registers& regs) {
  const cmd::InputFields f = cmd::InputPreset(regs);
  m_nSenderdaempfung = f.senderDaempfung;
  m_nEingangsdaempfung = f.eingangsDaempfung;
  m_bSE = f.se;
}

std::optional<std::vector<DWORD>> CCmdInputDlg::Compose() {
  return std::vector<DWORD>{cmd::ComposeInput({m_nSenderdaempfung, m_nEingangsdaempfung, m_bSE != 0})};
}
