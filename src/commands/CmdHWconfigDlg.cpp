#include "commands/CmdHWconfigDlg.h"

#include "commands/CommandWords.h"

CCmdHWconfigDlg::CCmdHWconfigDlg(QWidget* parent)
    : CCmdParamDlg(IDD, "HW-Config Parameter", cmd::kHwConfigPresets, parent) {
  SetControls({Number(IDC_FILTER, "Filter", m_nFilter)});
}

void CCmdHWconfigDlg::Preset(const regmap::Registers& regs) { m_nFilter = cmd::FilterPreset(regs); }

std::optional<std::vector<DWORD>> CCmdHWconfigDlg::Compose() { return std::vector<DWORD>{m_nFilter}; }
