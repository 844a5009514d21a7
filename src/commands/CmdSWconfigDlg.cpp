#include "commands/CmdSWconfigDlg.h"

CCmdSWconfigDlg::CCmdSWconfigDlg(QWidget* parent) : CCmdParamDlg(IDD, "Parameter SW Configuration", {}, parent) {
  SetControls({Check(IDC_ECHO, "Echo ausgeben", m_bEcho)});
}

void CCmdSWconfigDlg::Preset(const regmap::Registers&) { m_bEcho = FALSE; }

std::optional<std::vector<DWORD>> CCmdSWconfigDlg::Compose() { return std::vector<DWORD>{m_bEcho ? 1u : 0u}; }
