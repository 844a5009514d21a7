#include "pci/PCIeepromVorgabenDlg.h"

#include "pci/PCIeepromRegisterDlg.h"

namespace {
// The same fields as the EEPROM view, on the same controls.
CPresetsDlg::Setup EepromPresetsSetup() {
  CPresetsDlg::Setup setup{CPCIeepromVorgabenDlg::IDD,
                           "PCI EEPROM Vorgaben",
                           pci::kEepromSection,
                           "PCI Local Configuration Vorgaben",
                           CPCIeepromVorgabenDlg::IDC_SAVE,
                           9,
                           {},
                           {}};
  size_t index = 0;
  for (const auto& c : CPCIeepromRegisterDlg::Controls()) {
    const pci::EepromField& f = pci::EepromFieldOf(c.field);
    setup.fields.push_back({c.id, f.key, f.label, index++ >= CPCIeepromRegisterDlg::kHeaderFields});
  }
  for (pci::EepromFieldId id : pci::EepromSaveOrder()) setup.saveOrder.push_back(pci::EepromFieldOf(id).key);
  return setup;
}
}  // namespace

CPCIeepromVorgabenDlg::CPCIeepromVorgabenDlg(QWidget* parent) : CPresetsDlg(EepromPresetsSetup(), parent) {}
