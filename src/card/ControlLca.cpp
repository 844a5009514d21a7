#include "card/ControlLca.h"

#include <vector>

namespace lca {
namespace {
using regmap::Field;
using regmap::Kind;

Field Flag(const char* group, const char* caption, uint16_t reg, uint8_t bit, bool written) {
  return {group, caption, reg, bit, 1, Kind::Flag, written};
}
Field Number(const char* group, const char* caption, uint16_t reg, uint8_t first, uint8_t bits, bool written,
             uint8_t writeBits = 0) {
  return {group, caption, reg, first, bits, Kind::Number, written, {}, writeBits};
}
Field Choice(const char* group, const char* caption, uint16_t reg, uint8_t first, uint8_t bits,
             std::vector<regmap::ChoiceButton> buttons) {
  return {group, caption, reg, first, bits, Kind::Choice, true, std::move(buttons)};
}

std::vector<Field> Build() {
  constexpr bool R = false, RW = true;
  std::vector<Field> f = {
      {"", "LCA ID", kId, 0, 16, Kind::HexText, R},
      Flag("Command", "Messung", kCommand, 0, RW),
      Flag("Command", "Reset", kCommand, 1, RW),
      Flag("Command", "Start", kCommand, 2, RW),
      Flag("Command", "Reset Error", kCommand, 3, RW),
      Choice("Command", "Takt", kCommand, 4, 3,
             {{"80 MHz", 0, 0}, {"40 MHz", 1, 1}, {"20 MHz", 2, 2}, {"10 MHz", 3, 3}, {"160 MHz (virtuell)", 4, 7}}),
      Flag("Command", "ADC Enable", kCommand, 7, RW),
      Flag("Command", "Primary On", kCommand, 8, RW),
      Flag("Command", "Sender On", kCommand, 9, RW),
      Flag("Command", "Secondary On", kCommand, 10, RW),
      Flag("Command", "ECL On", kCommand, 11, RW),
      Number("Status", "Trigger Counter", kStatus, 0, 8, R),
      Flag("Status", "Error Trigger", kStatus, 8, R),
      Flag("Status", "Error Trigger Input", kStatus, 9, R),
      Flag("Status", "Aufnahme", kStatus, 12, R),
      Flag("Status", "Delay", kStatus, 13, R),
      Flag("Status", "Wait SAP", kStatus, 14, R),
      Flag("Status", "Wait Trigger", kStatus, 15, R),
      Number("Analog", "Senderdämpfung", kAnalog, 0, 2, RW),
      Number("Analog", "Eingangsdämpfung", kAnalog, 2, 2, RW),
      Flag("Analog", "S/E", kAnalog, 8, RW),
      Number("Analog", "Filter", kAnalog, 12, 3, RW),
      // The input mode is read and written at bits 5-7 so that what is written reads back.
      Choice("Analog", "Eingang", kAnalog, 5, 3,
             {{"Eingang offen", 0, 0}, {"-10dB", 1, 1}, {"+20dB", 2, 2}, {"Testsignal", 7, 7}}),
      Number("Record", "Vorlauf", kVorlauf, 0, 16, RW),
      Number("Record", "Delay", kDelayLow, 0, 24, RW, 32),
      Number("Record", "Time", kTimeLow, 0, 20, RW, 32),
      Flag("SAP Trigger", "ext.Trigger", kTrigger, 0, RW),
      Flag("SAP Trigger", "SAP direkt", kTrigger, 1, RW),
      Choice("SAP Trigger", "Messung", kTrigger, 2, 2,
             {{"Einzelmessung", 1, 1}, {"Blockmessung", 2, 2}, {"kontinuierliche Messung", 3, 3}}),
      Choice("SAP Trigger", "Triggerausgang", kTrigger, 4, 2,
             {{"Master Start", 0, 0}, {"Master Stop", 1, 1}, {"Einzel SAP", 2, 2}, {"Ready", 3, 3}}),
      Flag("SAP Trigger", "Einzeltrigger", kTrigger, 6, RW),
      Flag("SAP Trigger", "Average", kTrigger, 7, RW),
      Number("SAP Trigger", "Triggerblende", kTrigger, 8, 4, RW),
      Flag("SAP Trigger", "IFF", kTrigger, 15, RW),
      Number("Record", "max. SAP", kMaxSapLow, 0, 32, RW),
      Number("Record", "SAP-Delay", kSapDelay, 0, 8, RW, 16),
      Number("Tiefenausgleich", "Stützstellen", kDepthComp, 0, 8, RW),
      Flag("Tiefenausgleich", "Enable", kDepthComp, 14, RW),
      Number("Tiefenausgleich", "Delay", kDepthDelayLow, 0, 20, RW, 32),
      Number("Tiefenausgleich", "Period", kDepthPeriodLow, 0, 20, RW, 32),
      Flag("FIFO Control", "Reset Aufnahme", kFifoControl, 0, RW),
      Flag("FIFO Control", "Reset Sammler", kFifoControl, 1, RW),
      Flag("FIFO Control", "AF_WEN", kFifoControl, 12, RW),
      Flag("FIFO Control", "Testgenerator", kFifoControl, 13, RW),
      Flag("FIFO Control", "Disable AF_WEN", kFifoControl, 14, RW),
      {"FIFO Status", "DS Empty Flag", kFifoStatus, 0, 4, Kind::Flag, R},
      {"FIFO Status", "DS Full Flag", kFifoStatus, 4, 4, Kind::Flag, R},
      Flag("FIFO Status", "DS1 Write Error", kFifoStatus, 8, R),
      Flag("FIFO Status", "DS2 Write Error", kFifoStatus, 9, R),
      Flag("FIFO Status", "DS Read Error", kFifoStatus, 10, R),
      Flag("FIFO Status", "AF Empty Flag", kFifoStatus, 12, R),
      Flag("FIFO Status", "AF Full Flag", kFifoStatus, 13, R),
      Flag("FIFO Status", "AF Write Error", kFifoStatus, 14, R),
      Flag("FIFO Status", "AF Read Error", kFifoStatus, 15, R),
      {"FIFO Control", "AF Test", kAfTest, 0, 16, Kind::HexText, RW},
      Choice("Sender", "Energie", kSender, 0, 2,
             {{"Energie 1", 0, 0}, {"Energie 2", 1, 1}, {"Energie 3", 2, 2}, {"Energie 4", 3, 3}}),
      Choice("Sender", "Pulsbreite", kSender, 8, 3,
             {{"25 ns", 0, 0}, {"50 ns", 1, 1}, {"100 ns", 2, 2}, {"150 ns", 3, 3}, {"250 ns", 4, 4}, {"450 ns", 5, 5}}),
      Flag("Sender", "", kSender, 13, RW),
      Flag("Sender", "Clock/16", kSender, 14, RW),
      Flag("Sender", "Sperre", kSender, 15, RW),
      Number("Echostartblende", "Time", kEsbTime, 0, 16, RW),
      // "Level" goes into 0x42C unmasked, as on Windows: a value above 255 reaches the flags.
      Number("Echostartblende", "Level", kEsbLevel, 0, 8, RW, 16),
      Flag("Echostartblende", "always", kEsbLevel, 13, RW),
      Flag("Echostartblende", "relativ", kEsbLevel, 14, RW),
      Flag("Echostartblende", "Enable", kEsbLevel, 15, RW),
      Number("", "ESB Delay", kEsbDelay, 0, 16, R),
  };
  return f;
}
}  // namespace

std::span<const regmap::Field> ControlLcaFields() {
  static const std::vector<Field> fields = Build();
  return fields;
}

}  // namespace lca
