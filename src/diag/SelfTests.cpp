#include "diag/SelfTests.h"

#include "card/SelfTest.h"

namespace diag {

std::span<const SelfTestInfo> SelfTests() {
  using selftest::Mask;
  static constexpr SelfTestInfo tests[selftest::kTests] = {
      {"DSP->PCI-FIFO", "DSP->PCI-FIFO: ", Mask(0), "DSP->PCI-FIFO"},
      {"PCI-FIFO->DSP", "PCI-FIFO->DSP: ", Mask(1), "PCI-FIFO->DSP"},
      {"LCA + ADC", "LCA + ADC: ", Mask(2), "LCA+ADC"},
      {"Aufnahme-FIFO", "Aufnahme-FIFO: ", Mask(3), "Aufnahme-FIFO"},
      {"Daten-FIFO", "Datensammler-FIFO: ", Mask(4), "Daten-FIFO"},
      {"Daten-FIFO->PCI-FIFO", "Datensammler-FIFO->PCI-FIFO: ", Mask(5), "Daten-FIFO->PCI-FIFO"},
      {"Ext. DSP-RAM", "ext. DSP-RAM: ", Mask(6), "DSP-RAM"},
      {"EEPROM + Version", "EEPROM + Version DSP/LCA: ", Mask(7), "EEPROM+Version"},
      {"Delay Line", "Delay-Line: ", Mask(8), "DelayLine"},
      {"DAC", "DAC: ", Mask(9), "DAC"},
      {"SAP", "SAP: ", Mask(10), "SAP"},
      {"DS_FLAG setzen", "DS_FLAG setzen: ", Mask(11), "DS_FLAGsetzen"},
      {"DS_FLAG löschen", "DS_FLAG löschen: ", Mask(12), "DS_FLAGlöschen"},
  };
  return tests;
}

}  // namespace diag
