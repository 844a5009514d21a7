#include "commands/CmdShotDlg.h"

#include "commands/CommandWords.h"

CCmdShotDlg::CCmdShotDlg(QWidget* parent) : CCmdParamDlg(IDD, "Parameter Shot", cmd::kShotPresets, parent) {
  SetControls({Check(IDC_IFF, "IFF", m_bIFF), Check(IDC_TA, "TA", m_bTA), Check(IDC_8BIT, "8Bit", m_b8Bit),
               Check(IDC_AVERAGE, "Average", m_bAverage), Radios("Messung", m_measurement), Radios("Daten", m_scan),
               Radios("Takt", m_clock)});
}

void CCmdShotDlg::Preset(const regmap::Registers& regs) {
  const cmd::ShotFields f = cmd::ShotPreset(regs);
  m_bIFF = f.iff;
  m_bTA = f.ta;
  m_b8Bit = f.bit8;
  m_bAverage = f.average;
  SelectRadio(m_measurement, f.measurement);
  SelectRadio(m_scan, f.scan);
  SelectRadio(m_clock, f.clock);
}

std::optional<std::vector<DWORD>> CCmdShotDlg::Compose() {
  cmd::ShotFields f;
  f.measurement = SelectedRadio(m_measurement);
  f.scan = SelectedRadio(m_scan);
  f.clock = SelectedRadio(m_clock);
  f.iff = m_bIFF;
  f.ta = m_bTA;
  f.bit8 = m_b8Bit;
  f.average = m_bAverage;
  return std::vector<DWORD>{cmd::ComposeShot(f)};
}
