#include "diag/SelfTests.h"

#include "card/SelfTest.h"

namespace diag {

std::span<const SelfTestInfo> SelfTests() {
  using selftest::Mask;
  static constexpr SelfTestInfo tests[selftest::kTests] = {
      {"DSP->PCI-FIFO", "DSP->PCI-FIFO: ", Mask(0), "DSP->PCI-FIFO", true},
      {"PCI-FIFO->DSP", "PCI-FIFO->DSP: ", Mask(1), "PCI-FIFO->DSP", true},
      {"LCA + ADC", "LCA + ADC: ", Mask(2), "LCA+ADC", true},
      {"Aufnahme-FIFO", "Aufnahme-FIFO: ", Mask(3), "Aufnahme-FIFO", true},
      {"Daten-FIFO", "Datensammler-FIFO: ", Mask(4), "Daten-FIFO", true},
      {"Daten-FIFO->PCI-FIFO", "Datensammler-FIFO->PCI-FIFO: ", Mask(5), "Daten-FIFO->PCI-FIFO", true},
      {"Ext. DSP-RAM", "ext. DSP-RAM: ", Mask(6), "DSP-RAM", true},
      {"EEPROM + Version", "EEPROM + Version DSP/LCA: ", Mask(7), "EEPROM+Version", true},
      {"Delay Line", "Delay-Line: ", Mask(8), "DelayLine", true},
      {"DAC", "DAC: ", Mask(9), "DAC", false},
      {"SAP", "SAP: ", Mask(10), "SAP", true},
      {"DS_FLAG setzen", "DS_FLAG setzen: ", Mask(11), "DS_FLAGsetzen", true},
      {"DS_FLAG löschen", "DS_FLAG löschen: ", Mask(12), "DS_FLAGlöschen", true},
  };
  return tests;
}

}  // namespace diag
