#include "card/ControlLca.h"

#include <vector>

namespace lca {
namespace {
using regmap::Field;
using regmap::Kind;
using regmap::ChoiceField;
using regmap::FlagField;
using regmap::NumberField;

std::vector<Field> Build() {
  constexpr bool R = false, RW = true;
  std::vector<Field> f = {
      {"", "LCA ID", kId, 0, 16, Kind::HexText, R},
      FlagField("Command", "Messung", kCommand, 0, RW),
      FlagField("Command", "Reset", kCommand, 1, RW),
      FlagField("Command", "Start", kCommand, 2, RW),
      FlagField("Command", "Reset Error", kCommand, 3, RW),
      ChoiceField("Command", "Takt", kCommand, 4, 3,
                  {{"80 MHz", 0, 0}, {"40 MHz", 1, 1}, {"20 MHz", 2, 2}, {"10 MHz", 3, 3},
                   {"160 MHz (virtuell)", 4, 7}}),
      FlagField("Command", "ADC Enable", kCommand, 7, RW),
      FlagField("Command", "Primary On", kCommand, 8, RW),
      FlagField("Command", "Sender On", kCommand, 9, RW),
      FlagField("Command", "Secondary On", kCommand, 10, RW),
      FlagField("Command", "ECL On", kCommand, 11, RW),
      NumberField("Status", "Trigger Counter", kStatus, 0, 8, R),
      FlagField("Status", "Error Trigger", kStatus, 8, R),
      FlagField("Status", "Error Trigger Input", kStatus, 9, R),
      FlagField("Status", "Aufnahme", kStatus, 12, R),
      FlagField("Status", "Delay", kStatus, 13, R),
      FlagField("Status", "Wait SAP", kStatus, 14, R),
      FlagField("Status", "Wait Trigger", kStatus, 15, R),
      NumberField("Analog", "Senderdämpfung", kAnalog, 0, 2, RW),
      NumberField("Analog", "Eingangsdämpfung", kAnalog, 2, 2, RW),
      FlagField("Analog", "S/E", kAnalog, 8, RW),
      NumberField("Analog", "Filter", kAnalog, 12, 3, RW),
      // The input mode is read and written at bits 5-7 so that what is written reads back.
      ChoiceField("Analog", "Eingang", kAnalog, 5, 3,
                  {{"Eingang offen", 0, 0}, {"-10dB", 1, 1}, {"+20dB", 2, 2}, {"Testsignal", 7, 7}}),
      NumberField("Record", "Vorlauf", kVorlauf, 0, 16, RW),
      NumberField("Record", "Delay", kDelayLow, 0, 24, RW, 32),
      NumberField("Record", "Time", kTimeLow, 0, 20, RW, 32),
      FlagField("SAP Trigger", "ext.Trigger", kTrigger, 0, RW),
      FlagField("SAP Trigger", "SAP direkt", kTrigger, 1, RW),
      ChoiceField("SAP Trigger", "Messung", kTrigger, 2, 2,
                  {{"Einzelmessung", 1, 1}, {"Blockmessung", 2, 2}, {"kontinuierliche Messung", 3, 3}}),
      ChoiceField("SAP Trigger", "Triggerausgang", kTrigger, 4, 2,
                  {{"Master Start", 0, 0}, {"Master Stop", 1, 1}, {"Einzel SAP", 2, 2}, {"Ready", 3, 3}}),
      FlagField("SAP Trigger", "Einzeltrigger", kTrigger, 6, RW),
      FlagField("SAP Trigger", "Average", kTrigger, 7, RW),
      NumberField("SAP Trigger", "Triggerblende", kTrigger, 8, 4, RW),
      FlagField("SAP Trigger", "IFF", kTrigger, 15, RW),
      NumberField("Record", "max. SAP", kMaxSapLow, 0, 32, RW),
      NumberField("Record", "SAP-Delay", kSapDelay, 0, 8, RW, 16),
      NumberField("Tiefenausgleich", "Stützstellen", kDepthComp, 0, 8, RW),
      FlagField("Tiefenausgleich", "Enable", kDepthComp, 14, RW),
      NumberField("Tiefenausgleich", "Delay", kDepthDelayLow, 0, 20, RW, 32),
      NumberField("Tiefenausgleich", "Period", kDepthPeriodLow, 0, 20, RW, 32),
      FlagField("FIFO Control", "Reset Aufnahme", kFifoControl, 0, RW),
      FlagField("FIFO Control", "Reset Sammler", kFifoControl, 1, RW),
      FlagField("FIFO Control", "AF_WEN", kFifoControl, 12, RW),
      FlagField("FIFO Control", "Testgenerator", kFifoControl, 13, RW),
      FlagField("FIFO Control", "Disable AF_WEN", kFifoControl, 14, RW),
      {"FIFO Status", "DS Empty Flag", kFifoStatus, 0, 4, Kind::Flag, R},
      {"FIFO Status", "DS Full Flag", kFifoStatus, 4, 4, Kind::Flag, R},
      FlagField("FIFO Status", "DS1 Write Error", kFifoStatus, 8, R),
      FlagField("FIFO Status", "DS2 Write Error", kFifoStatus, 9, R),
      FlagField("FIFO Status", "DS Read Error", kFifoStatus, 10, R),
      FlagField("FIFO Status", "AF Empty Flag", kFifoStatus, 12, R),
      FlagField("FIFO Status", "AF Full Flag", kFifoStatus, 13, R),
      FlagField("FIFO Status", "AF Write Error", kFifoStatus, 14, R),
      FlagField("FIFO Status", "AF Read Error", kFifoStatus, 15, R),
      {"FIFO Control", "AF Test", kAfTest, 0, 16, Kind::HexText, RW},
      ChoiceField("Sender", "Energie", kSender, 0, 2,
                  {{"Energie 1", 0, 0}, {"Energie 2", 1, 1}, {"Energie 3", 2, 2}, {"Energie 4", 3, 3}}),
      ChoiceField("Sender", "Pulsbreite", kSender, 8, 3,
                  {{"25 ns", 0, 0}, {"50 ns", 1, 1}, {"100 ns", 2, 2}, {"150 ns", 3, 3}, {"250 ns", 4, 4},
                   {"450 ns", 5, 5}}),
      // Without caption on Windows.
      FlagField("Sender", "Bit 13", kSender, 13, RW),
      FlagField("Sender", "Clock/16", kSender, 14, RW),
      FlagField("Sender", "Sperre", kSender, 15, RW),
      NumberField("Echostartblende", "Time", kEsbTime, 0, 16, RW),
      // "Level" goes into 0x42C unmasked, as on Windows: a value above 255 reaches the flags.
      NumberField("Echostartblende", "Level", kEsbLevel, 0, 8, RW, 16),
      FlagField("Echostartblende", "always", kEsbLevel, 13, RW),
      FlagField("Echostartblende", "relativ", kEsbLevel, 14, RW),
      FlagField("Echostartblende", "Enable", kEsbLevel, 15, RW),
      NumberField("", "ESB Delay", kEsbDelay, 0, 16, R),
  };
  return f;
}
}  // namespace

std::span<const regmap::Field> ControlLcaFields() {
  static const std::vector<Field> fields = Build();
  return fields;
}

std::span<const FieldId> ControlLcaErrorFlags() {
  static constexpr FieldId flags[] = {fErrorTrigger,  fErrorTriggerInput, fDs1WriteError, fDs2WriteError,
                                      fDsReadError,   fAfWriteError,      fAfReadError};
  return flags;
}

}  // namespace lca
