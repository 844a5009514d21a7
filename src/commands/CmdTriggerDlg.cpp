#include "commands/CmdTriggerDlg.h"

#include "commands/CommandWords.h"

CCmdTriggerDlg::CCmdTriggerDlg(QWidget* parent) : CCmdParamDlg(IDD, "Parameter Trigger", cmd::kTriggerPresets, parent) {
  SetControls({Radios("Mode", m_mode), Radios("Triggerausgang", m_output), Check(IDC_EXTERN, "extern", m_bExtern),
               Number(IDC_TRIGGERBLENDE, "Triggerblende", m_nTriggerblende),
               Number(IDC_MAX_SAP, "max. SAP", m_nMaxSap)});
}

void CCmdTriggerDlg::Preset(const regmap::Registers& regs) {
  const cmd::TriggerFields f = cmd::TriggerPreset(regs);
  SelectRadio(m_mode, f.mode);
  SelectRadio(m_output, f.output);
  m_bExtern = f.external;
  m_nTriggerblende = f.triggerblende;
  m_nMaxSap = f.maxSap;
}

std::optional<std::vector<DWORD>> CCmdTriggerDlg::Compose() {
  const auto w = cmd::ComposeTrigger(
      {SelectedRadio(m_mode), SelectedRadio(m_output), m_bExtern != 0, m_nTriggerblende, m_nMaxSap});
  return std::vector<DWORD>(w.begin(), w.end());
}
