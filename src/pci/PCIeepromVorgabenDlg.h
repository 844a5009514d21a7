#pragma once
// Presets of the PCI EEPROM check (section "PCIEEPROM"); the four header values are shown
// and saved back as read.
#include "pci/PresetsDlg.h"

class CPCIeepromVorgabenDlg : public CPresetsDlg {
 public:
  enum : int { IDD = 133, IDC_SAVE = 1171 };
  explicit CPCIeepromVorgabenDlg(QWidget* parent = nullptr);
};
