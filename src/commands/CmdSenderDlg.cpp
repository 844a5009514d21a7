#include "commands/CmdSenderDlg.h"

#include "commands/CommandWords.h"

CCmdSenderDlg::CCmdSenderDlg(QWidget* parent) : CCmdParamDlg(IDD, "Parameter Sender", cmd::kSenderPresets, parent) {
  SetControls(
      {Radios("Pulsbreite", m_pulseWidth), Radios("Energie", m_energy), Check(IDC_SPERRE, "Sperre", m_bSperre)});
}

void CCmdSenderDlg::Preset(const regmap::Registers& regs) {
  const cmd::SenderFields f = cmd::SenderPreset(regs);
  SelectRadio(m_pulseWidth, f.pulseWidth);
  SelectRadio(m_energy, f.energy);
  m_bSperre = f.sperre;
}

std::optional<std::vector<DWORD>> CCmdSenderDlg::Compose() {
  return std::vector<DWORD>{cmd::ComposeSender({SelectedRadio(m_pulseWidth), SelectedRadio(m_energy), m_bSperre != 0})};
}
