#include "commands/CmdCountDlg.h"

#include "commands/CommandWords.h"

CCmdCountDlg::CCmdCountDlg(QWidget* parent) : CCmdParamDlg(IDD, "Parameter Count", cmd::kCountPresets, parent) {
  SetControls({Number(IDC_VORLAUF, "Vorlauf", m_nVorlauf), Number(IDC_AUFNAHME, "Aufnahme", m_nAufnahme),
               Number(IDC_DELAY, "Delay", m_nDelay)});
}

void CCmdCountDlg::Preset(const regmap::Registers& regs) {
  const cmd::CountFields f = cmd::CountPreset(regs);
  m_nVorlauf = f.vorlauf;
  m_nAufnahme = f.aufnahme;
  m_nDelay = f.delay;
}

std::optional<std::vector<DWORD>> CCmdCountDlg::Compose() {
  const auto w = cmd::ComposeCount({m_nVorlauf, m_nAufnahme, m_nDelay});
  return std::vector<DWORD>(w.begin(), w.end());
}
