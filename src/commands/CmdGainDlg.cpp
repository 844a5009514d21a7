#include "commands/CmdGainDlg.h"

#include "commands/CommandWords.h"
#include "platform/UiHost.h"

CCmdGainDlg::CCmdGainDlg(QWidget* parent) : CCmdParamDlg(IDD, "Gain Parameter", {}, parent) {
  SetControls({Real(IDC_VERSTAERKUNG, "Verstärkung (dB)", m_fVerstaerkung)});
}

void CCmdGainDlg::Preset(const regmap::Registers&) { m_fVerstaerkung = 0.0f; }

std::optional<std::vector<DWORD>> CCmdGainDlg::Compose() {
  std::optional<DWORD> word = cmd::ComposeGain(m_fVerstaerkung);
  if (!word) {
    MessageBox(CString::Formatted("Bitte eine Verstärkung von 0 bis %.0f dB eingeben.", cmd::kMaxGainDb),
               GetWindowText(), MB_OK | MB_ICONWARNING);
    return std::nullopt;
  }
  return std::vector<DWORD>{*word};
}
